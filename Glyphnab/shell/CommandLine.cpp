#include "Glyphnab/shell/CommandLine.h"

#include "Glyphnab/shell/AppBus.h"
#include "Glyphnab/shell/ArgumentNames.h"
#include "Glyphnab/shell/AppIntents.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/ProcessSetup.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/OwnerConfig.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/pasteboard/Pasteboard.h"
#include "text/ImageInput.h"
#include "text/PdfWorker.h"

#include <QCoreApplication>
#include <QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>
#include <QGuiApplication>
#include <QTimer>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <expected>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
               "       glyphnab [FILE...]       start the app, or have the running one read the files\n"
               "       glyphnab --read-file     start the app, or use the running one, and choose files to read\n")
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
    return file == CommandLine::standardInput ? QStringLiteral("standard input") : ArgumentNames::shown(file);
}

// What this process can tell about a file before anyone reads it: the running app may
// see another folder, and a file that is not there is named as such, not as a wrong type.
std::optional<ZantrelText::ImageInput::Problem> checkFile(const QString& file) {
    using ZantrelText::ImageInput::Problem;
    if (ArgumentNames::hasForeignBytes(file)) {
        struct stat info {};
        if (::stat(ArgumentNames::toNative(file).constData(), &info) != 0)
            return errno == EACCES ? Problem::unreadable : Problem::missing;
        if (!S_ISREG(info.st_mode))
            return Problem::notAFile;
        return std::nullopt;
    }
    const QFileInfo info(file);
    if (!info.exists())
        return Problem::missing;
    if (!info.isFile())
        return Problem::notAFile;
    if (!info.isReadable())
        return Problem::unreadable;
    return std::nullopt;
}

// A name that is not UTF-8 cannot be opened through Qt: such a file is read here, by its
// bytes, and handed on like standard input.
std::expected<QByteArray, ZantrelText::ImageInput::Problem> readByNativeName(const QString& file) {
    using ZantrelText::ImageInput::Problem;
    const int fd = ::open(ArgumentNames::toNative(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::unexpected(errno == EACCES ? Problem::unreadable : Problem::missing);
    QFile opened;
    if (!opened.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::unexpected(Problem::unreadable);
    }
    if (opened.size() > ZantrelText::ImageInput::maxFileBytes)
        return std::unexpected(Problem::tooLarge);
    return opened.read(ZantrelText::ImageInput::maxFileBytes);
}

// What kind of thing the input is read as: by its name, or for bytes without one (standard
// input), by what they begin with.
bool readAsPdf(const QString& file, const std::optional<QByteArray>& held) {
    if (file == CommandLine::standardInput)
        return held && QMimeDatabase().mimeTypeForData(*held).inherits(QStringLiteral("application/pdf"));
    return QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension).inherits(QStringLiteral("application/pdf"));
}

// A PDF's pages past the limit are left unread; the user is told how many it has.
std::optional<int> pdfPagesLeftOut(const QString& file, const std::optional<QByteArray>& held) {
    if (!readAsPdf(file, held))
        return std::nullopt;
    namespace PdfWorker = ZantrelText::PdfWorker;
    const PdfWorker::Source source =
        held ? PdfWorker::Source{{}, *held} : PdfWorker::Source{QFileInfo(file).absoluteFilePath(), {}};
    const PdfWorker::Result counted = PdfWorker::read(source, {}, true);
    if (counted.ending != PdfWorker::Ending::read || !counted.pageCount ||
        *counted.pageCount <= ZantrelText::ImageInput::pageLimit)
        return std::nullopt;
    return counted.pageCount;
}

// A picture that stops before its end is still read; the user is told it was cut short.
// Only pictures: a PDF is whole when its text was read, whatever bytes come before it.
bool cutShort(const QString& file, const std::optional<QByteArray>& held) {
    if (readAsPdf(file, held))
        return false;
    if (held)
        return ZantrelText::ImageInput::endsEarly(*held);
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

// A name the copy can carry: its extension tells the reading the file's type.
QString copyName(const QString& file) {
    QString name = QFileInfo(file).fileName();
    for (QChar& c : name)
        if (c.isSurrogate() || c.category() == QChar::Other_Control)
            c = u'_';
    return name;
}

IntentFile intentFile(const QString& file, const std::optional<QByteArray>& held) {
    if (!held)
        return IntentFile::at(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    if (file != CommandLine::standardInput)
        return IntentFile::bytes(*held, copyName(file));
    return IntentFile::bytes(*held, {}, QMimeDatabase().mimeTypeForData(*held).name());
}

// The running instance reads paths: standard input goes to it as a temporary copy.
QCoro::Task<AppBusClient::Answer> forward(QDBusConnection bus, Command::Action action, QString file,
                                          std::optional<QByteArray> held) {
    std::optional<TemporaryCopy> copy;
    QString path = file;
    if (held) {
        if (held->isEmpty())
            co_return std::unexpected(AppBusClient::Failure{
                AppBusClient::Failure::Kind::failed,
                ZantrelText::ImageInput::describe(ZantrelText::ImageInput::Problem::notPictureOrPdf)});
        if (file == CommandLine::standardInput)
            copy.emplace(*held, QString(), QMimeDatabase().mimeTypeForData(*held).name());
        else
            copy.emplace(*held, copyName(file));
        path = copy->path();
    }
    if (action == Command::Action::code) {
        auto answer = AppBusClient::code(std::move(bus), path);
        co_return co_await answer;
    }
    auto answer = AppBusClient::read(std::move(bus), {path});
    co_return co_await answer;
}

// The app names the file it was given, by its own name or by its copy's; here the file is
// named as the user wrote it, escaped, and only once.
QString withoutFileName(QString message, const QString& file) {
    if (file == CommandLine::standardInput)
        return message;
    for (const QString& name : {QFileInfo(file).fileName(), copyName(file)}) {
        const QString prefix = name + QStringLiteral(": ");
        if (message.startsWith(prefix))
            return message.remove(0, prefix.size());
    }
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
        // The message may come from the running app and carry a name of its own.
        write(stderr, QStringLiteral("glyphnab: %1: %2").arg(shownName(file), ArgumentNames::shown(message)));
        failed = true;
    }
};

QCoro::Task<int> run(Command command) {
    std::optional<QByteArray> input;
    if (command.files.contains(CommandLine::standardInput)) {
        // On a thread of its own: a pipe that never ends leaves the event loop free to
        // take Ctrl-C and SIGTERM.
        auto reading = QtConcurrent::run([] { return CommandLine::readInput(stdin); });
        std::expected<QByteArray, QString> read = co_await reading;
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
        // A hung instance would hold every call up to its timeout: a grab needs it, a
        // reading does not.
        if (bus) {
            auto probing = AppBusClient::answers(*bus);
            if (!co_await probing) {
                if (command.action == Command::Action::grab)
                    co_return failed(QStringLiteral("glyphnab: the running app does not answer"));
                bus.reset();
            }
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
            // The bytes of an input this process holds: standard input, or a file whose
            // name only this process can open.
            std::optional<QByteArray> held;
            if (file == CommandLine::standardInput) {
                held = input;
            } else {
                if (const auto problem = checkFile(file)) {
                    report.problem(file, ZantrelText::ImageInput::describe(*problem));
                    continue;
                }
                if (ArgumentNames::hasForeignBytes(file)) {
                    auto bytes = readByNativeName(file);
                    if (!bytes) {
                        report.problem(file, ZantrelText::ImageInput::describe(bytes.error()));
                        continue;
                    }
                    held = std::move(*bytes);
                }
            }
            std::optional<FileAnswer> answer;
            if (bus) {
                auto forwarded = forward(*bus, command.action, file, held);
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
                auto reading = readHere(command.action, intentFile(file, held));
                answer = co_await reading;
            }
            if (*answer) {
                report.text(**answer);
                if (cutShort(file, held))
                    report.problem(file, ZantrelText::ImageInput::describe(ZantrelText::ImageInput::Problem::cutShort));
                if (const std::optional<int> pages = pdfPagesLeftOut(file, held))
                    report.problem(file, QStringLiteral("read the first %1 of %2 pages")
                                             .arg(ZantrelText::ImageInput::pageLimit)
                                             .arg(*pages));
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
        arguments.append(ArgumentNames::fromNative(QByteArray(argv[i])));
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
