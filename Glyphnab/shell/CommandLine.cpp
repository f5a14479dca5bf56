#include "Glyphnab/shell/CommandLine.h"

#include "Glyphnab/shell/AppBus.h"
#include "Glyphnab/shell/AppIntents.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/ProcessSetup.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/OwnerConfig.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/pasteboard/Pasteboard.h"
#include "text/ImageInput.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>
#include <cstdio>
#include <expected>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

namespace Glyphnab {

namespace CommandLine {

namespace {

bool isHelp(const QString& argument) {
    return argument == u"help" || argument == u"--help" || argument == u"-h";
}

bool isHelpOption(const QString& argument) { return argument == u"--help" || argument == u"-h"; }

// A word such as "reed": no path, no file name, nothing on disk.
bool looksLikeCommand(const QString& argument) {
    if (argument.isEmpty() || argument.startsWith(u'-') || argument.contains(u'/') || argument.contains(u'.') ||
        argument.contains(u':'))
        return false;
    return !QFileInfo::exists(argument);
}

// The files after a command: options end at "--"; "-" alone is standard input, once.
std::variant<QStringList, Misuse> files(const QStringList& arguments) {
    QStringList result;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.startsWith(u'-') && argument != standardInput)
            return Misuse{QStringLiteral("unknown option %1").arg(argument)};
        if (argument == standardInput && !optionsEnded && result.contains(standardInput))
            return Misuse{QStringLiteral("standard input can be read only once")};
        result.append(argument);
    }
    return result;
}

}  // namespace

Parsed parse(const QStringList& arguments) {
    if (arguments.isEmpty())
        return AppArguments{};
    const QString& first = arguments.front();
    const QStringList rest = arguments.mid(1);
    if (isHelp(first))
        return Command{Command::Action::help, {}};
    // Help on a command is the same help, before anything else is looked at.
    const qsizetype optionsEnd = rest.indexOf(QStringLiteral("--"));
    const QStringList options = optionsEnd < 0 ? rest : rest.first(optionsEnd);
    if ((first == u"grab" || first == u"read" || first == u"code") && std::ranges::any_of(options, isHelpOption))
        return Command{Command::Action::help, {}};
    if (first == u"grab") {
        if (rest == QStringList{QStringLiteral("--other")})
            return Command{Command::Action::grab, {}, true};
        if (!rest.isEmpty())
            return Misuse{QStringLiteral("grab takes no arguments but --other")};
        return Command{Command::Action::grab, {}};
    }
    if (first == u"read" || first == u"code") {
        auto named = files(rest);
        if (auto* misuse = std::get_if<Misuse>(&named))
            return *misuse;
        const QStringList found = std::get<QStringList>(named);
        if (found.isEmpty())
            return Misuse{QStringLiteral("%1 needs a file").arg(first)};
        if (first == u"code" && found.size() > 1)
            return Misuse{QStringLiteral("code reads one file")};
        return Command{first == u"read" ? Command::Action::read : Command::Action::code, found};
    }
    if (looksLikeCommand(first))
        return Misuse{QStringLiteral("unknown command %1").arg(first)};
    return AppArguments{};
}

std::expected<QByteArray, QString> readInput(std::FILE* stream, qsizetype cap) {
    QByteArray data;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, static_cast<std::size_t>(chunk.size()), stream);
        if (got > 0) {
            if (data.size() + static_cast<qsizetype>(got) > cap)
                return std::unexpected(QStringLiteral("is larger than %1 MB").arg(cap >> 20));
            data.append(chunk.constData(), static_cast<qsizetype>(got));
        }
        if (got < static_cast<std::size_t>(chunk.size())) {
            if (std::ferror(stream))
                return std::unexpected(QStringLiteral("could not be read"));
            return data;
        }
    }
}

QString usageText() {
    return QStringLiteral(
               "Usage: glyphnab grab            %1, in the running app\n"
               "       glyphnab grab --other    the same, with the other line breaks setting\n"
               "       glyphnab read FILE...    %2 (pictures and PDFs; - reads standard input)\n"
               "       glyphnab code FILE       %3\n"
               "       glyphnab [FILE...]       start the app, or have the running one read the files\n")
        .arg(GrabAreaIntent::title(), ReadTextInFileIntent::title(), ReadCodeInFileIntent::title());
}

}  // namespace CommandLine

namespace {

using CommandLine::Command;

void write(std::FILE* stream, const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int printed(const QString& text) {
    write(stdout, text);
    return CommandLine::success;
}

int failed(const QString& message) {
    write(stderr, message);
    return CommandLine::failure;
}

// As a shell reports a command ended by Ctrl-C.
constexpr int interruptedExit = 130;

// Qt's own chatter would mix with the text a script reads; its fatal errors still show.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        write(stderr, message);
}

// Asking for the session bus without one may start a bus daemon for the display: only
// a bus that is there is asked.
bool sessionBusPresent() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

// The model of a process without the tray: it reads files and nothing else.
struct HeadlessApp {
    HeadlessApp()
        : context(ZantrelKit::OwnerConfig().value(QStringLiteral("CFBundleIdentifier")).value_or(AppBusNames::service),
                  ZantrelKit::AccentPair::glyphnab, ZantrelKit::OwnerConfig(), QCoreApplication::arguments()),
          board(std::make_shared<Platform::MemoryPasteboard>()),
          model(context, board, pictures(), system(board), GlyphnabModel::liveReader(), GlyphnabModel::liveWarmer()) {
        setSharedModel(&model);
    }
    ~HeadlessApp() { setSharedModel(nullptr); }
    HeadlessApp(const HeadlessApp&) = delete;
    HeadlessApp& operator=(const HeadlessApp&) = delete;

    static PictureSource pictures() {
        return PictureSource{
            [] { return false; },
            [](QColor, QString) -> QCoro::Task<std::optional<QRectF>> { co_return std::nullopt; },
            [](QRectF) -> QCoro::Task<QImage> {
                throw std::runtime_error("no screen here");
                co_return QImage();
            },
            [] {}};
    }
    static SystemCalls system(std::shared_ptr<Platform::MemoryPasteboard> board) {
        ZantrelUI::MacCalls calls(
            false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {}, [](const QUrl&) {},
            [](const QList<QUrl>&) {}, [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
            [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); }, std::move(board));
        return SystemCalls{std::move(calls), [] {}, [] {}, [] {}};
    }

    ZantrelUI::AppContext context;
    std::shared_ptr<Platform::MemoryPasteboard> board;
    GlyphnabModel model;
};

// How a file is named in messages: as the user wrote it.
QString shownName(const QString& file) {
    return file == CommandLine::standardInput ? QStringLiteral("standard input") : file;
}

// What this process can tell about a file before anyone reads it: the running app may
// see another folder, and a file that is not there is named as such, not as a wrong type.
std::optional<ZantrelText::ImageInput::Problem> checkFile(const QString& file) {
    using ZantrelText::ImageInput::Problem;
    const QFileInfo info(file);
    if (!info.exists())
        return Problem::missing;
    if (!info.isFile())
        return Problem::notAFile;
    if (!info.isReadable())
        return Problem::unreadable;
    return std::nullopt;
}

// A picture that stops before its end is still read; the user is told it was cut short.
bool cutShort(const QString& file, const std::optional<QByteArray>& input) {
    if (file == CommandLine::standardInput)
        return input && ZantrelText::ImageInput::endsEarly(*input);
    QFile picture(file);
    if (!picture.open(QIODevice::ReadOnly) || picture.size() > ZantrelText::ImageInput::maxFileBytes)
        return false;
    return ZantrelText::ImageInput::endsEarly(picture.readAll());
}

// The text of one file, or what went wrong with it.
using FileAnswer = std::expected<QString, QString>;

QString failureText(const IntentFailure& failure) {
    using ZantrelText::ImageInput::Problem;
    if (failure.problem != Problem::none)
        return ZantrelText::ImageInput::describe(failure.problem);
    return failure.message;
}

QCoro::Task<FileAnswer> readHere(Command::Action action, IntentFile file) {
    // The time a file may take, so that no input holds a script up for long.
    std::stop_source budget;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&budget] { budget.request_stop(); });
    timer.start(CommandLine::fileTimeBudget);
    try {
        if (action == Command::Action::code) {
            const ReadCodeInFileIntent intent{std::move(file)};
            auto reading = intent.perform(budget.get_token());
            co_return co_await reading;
        }
        auto reading = readTextInFiles({std::move(file)}, budget.get_token());
        co_return co_await reading;
    } catch (const IntentFailure& failure) {
        if (budget.stop_requested())
            co_return std::unexpected(ZantrelText::ImageInput::describe(ZantrelText::ImageInput::Problem::tooLong));
        co_return std::unexpected(failureText(failure));
    } catch (const std::exception& error) {
        co_return std::unexpected(QString::fromUtf8(error.what()));
    }
}

IntentFile intentFile(const QString& file, const std::optional<QByteArray>& input) {
    if (file != CommandLine::standardInput)
        return IntentFile::at(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    const QByteArray data = input.value_or(QByteArray());
    return IntentFile::bytes(data, {}, QMimeDatabase().mimeTypeForData(data).name());
}

// The running instance reads paths: standard input goes to it as a temporary copy.
QCoro::Task<AppBusClient::Answer> forward(QDBusConnection bus, Command::Action action, QString file,
                                          std::optional<QByteArray> input) {
    std::optional<TemporaryCopy> copy;
    QString path = file;
    if (file == CommandLine::standardInput) {
        const QByteArray data = input.value_or(QByteArray());
        if (data.isEmpty())
            co_return std::unexpected(AppBusClient::Failure{
                AppBusClient::Failure::Kind::failed,
                ZantrelText::ImageInput::describe(ZantrelText::ImageInput::Problem::notPictureOrPdf)});
        copy.emplace(data, QString(), QMimeDatabase().mimeTypeForData(data).name());
        path = copy->path();
    }
    if (action == Command::Action::code) {
        auto answer = AppBusClient::code(std::move(bus), path);
        co_return co_await answer;
    }
    auto answer = AppBusClient::read(std::move(bus), {path});
    co_return co_await answer;
}

// The app names the file it was given; here the file is named as the user wrote it.
QString withoutFileName(QString message, const QString& file) {
    const QString prefix = QFileInfo(file).fileName() + QStringLiteral(": ");
    if (file != CommandLine::standardInput && message.startsWith(prefix))
        message.remove(0, prefix.size());
    return message;
}

struct Report {
    bool printedText = false;
    bool failed = false;

    void text(const QString& body) {
        // Several files: a blank line between their texts.
        if (printedText)
            std::fputc('\n', stdout);
        write(stdout, body);
        printedText = true;
    }
    void problem(const QString& file, const QString& message) {
        write(stderr, QStringLiteral("glyphnab: %1: %2").arg(shownName(file), message));
        failed = true;
    }
};

QCoro::Task<int> run(Command command) {
    std::optional<QByteArray> input;
    if (command.files.contains(CommandLine::standardInput)) {
        std::expected<QByteArray, QString> read = CommandLine::readInput(stdin);
        if (!read)
            co_return failed(QStringLiteral("glyphnab: standard input: %1").arg(read.error()));
        input = std::move(*read);
    }
    try {
        std::optional<QDBusConnection> bus;
        if (sessionBusPresent()) {
            QDBusConnection session = QDBusConnection::sessionBus();
            if (AppBusClient::instanceRunning(session))
                bus = session;
        }
        if (command.action == Command::Action::grab) {
            if (bus) {
                auto grabbing = AppBusClient::grab(*bus, command.other);
                const AppBusClient::Answer answer = co_await grabbing;
                if (answer)
                    co_return printed(*answer);
                if (answer.error().kind != AppBusClient::Failure::Kind::noInstance)
                    co_return failed(QStringLiteral("glyphnab: ") + answer.error().message);
            }
            co_return failed(QStringLiteral("glyphnab: ") + notReadyFailure().message);
        }

        Report report;
        std::unique_ptr<HeadlessApp> here;
        for (const QString& file : command.files) {
            if (file != CommandLine::standardInput) {
                if (const auto problem = checkFile(file)) {
                    report.problem(file, ZantrelText::ImageInput::describe(*problem));
                    continue;
                }
            }
            std::optional<FileAnswer> answer;
            if (bus) {
                auto forwarded = forward(*bus, command.action, file, input);
                const AppBusClient::Answer got = co_await forwarded;
                if (got)
                    answer = *got;
                else if (got.error().kind != AppBusClient::Failure::Kind::noInstance)
                    answer = std::unexpected(withoutFileName(got.error().message, file));
                else
                    bus.reset();  // an instance that quit meanwhile leaves the work to this process
            }
            if (!answer) {
                if (!here)
                    here = std::make_unique<HeadlessApp>();
                auto reading = readHere(command.action, intentFile(file, input));
                answer = co_await reading;
            }
            if (*answer) {
                report.text(**answer);
                if (cutShort(file, input))
                    report.problem(file, ZantrelText::ImageInput::describe(ZantrelText::ImageInput::Problem::cutShort));
            } else {
                report.problem(file, answer->error());
            }
        }
        co_return report.failed ? CommandLine::failure : CommandLine::success;
    } catch (const std::exception& error) {
        co_return failed(QStringLiteral("glyphnab: ") + QString::fromUtf8(error.what()));
    }
}

}  // namespace

std::optional<int> runCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
    if (std::holds_alternative<CommandLine::AppArguments>(parsed))
        return std::nullopt;
    if (const auto* misuse = std::get_if<CommandLine::Misuse>(&parsed)) {
        write(stderr, QStringLiteral("glyphnab: %1\n\n%2").arg(misuse->problem, CommandLine::usageText()));
        return CommandLine::usage;
    }
    const Command command = std::get<Command>(parsed);
    if (command.action == Command::Action::help) {
        std::fputs(qPrintable(CommandLine::usageText()), stdout);
        return CommandLine::success;
    }
    // Before standard input is read: the restart reads it anew.
    if (command.action != Command::Action::grab)
        ensureSingleThreadedOpenMP(argv);
    blockTerminationSignals();

    qInstallMessageHandler(quietMessages);
    // Pictures such as SVGs draw text, which needs a GUI application's fonts; the
    // offscreen platform gives them without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int applicationArgc = argc;
    QGuiApplication application(applicationArgc, argv);
    // An interrupted command leaves no copy of standard input behind.
    onTerminationSignals([] {
        TemporaryCopy::removeAll();
        std::_Exit(interruptedExit);
    });
    auto task = run(command);
    return QCoro::waitFor(std::move(task));
}

}  // namespace Glyphnab
