#include "Glyphnab/shell/CommandLine.h"

#include "Glyphnab/shell/AppBus.h"
#include "Glyphnab/shell/AppIntents.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/ProcessSetup.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/OwnerConfig.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/AppContext.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <cstdio>
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

QByteArray readStandardInput() {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {};
    return input.readAll();
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

// Standard input as a file of its own sniffed type; the rest as given.
QList<IntentFile> intentFiles(const QStringList& files, const std::optional<QByteArray>& input) {
    QList<IntentFile> result;
    for (const QString& file : files) {
        if (file == CommandLine::standardInput) {
            const QByteArray data = input.value_or(QByteArray());
            result.append(IntentFile::bytes(data, {}, QMimeDatabase().mimeTypeForData(data).name()));
        } else {
            result.append(IntentFile::at(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath())));
        }
    }
    return result;
}

QCoro::Task<QString> runHere(Command command, std::optional<QByteArray> input) {
    HeadlessApp app;
    QList<IntentFile> files = intentFiles(command.files, input);
    if (command.action == Command::Action::code) {
        const ReadCodeInFileIntent intent{files.front()};
        auto reading = intent.perform();
        co_return co_await reading;
    }
    auto reading = readTextInFiles(std::move(files));
    co_return co_await reading;
}

// The running instance reads paths: standard input goes to it as a temporary copy.
QCoro::Task<AppBusClient::Answer> forward(QDBusConnection bus, Command command, std::optional<QByteArray> input) {
    if (command.action == Command::Action::grab) {
        auto answer = AppBusClient::grab(std::move(bus), command.other);
        co_return co_await answer;
    }
    std::vector<TemporaryCopy> copies;
    QStringList paths;
    for (const QString& file : command.files) {
        if (file != CommandLine::standardInput) {
            paths.append(file);
            continue;
        }
        const QByteArray data = input.value_or(QByteArray());
        if (data.isEmpty())
            co_return std::unexpected(
                AppBusClient::Failure{AppBusClient::Failure::Kind::failed, GlyphnabCore::Words::errorFileDetail()});
        copies.emplace_back(data, QString(), QMimeDatabase().mimeTypeForData(data).name());
        paths.append(copies.back().path());
    }
    if (command.action == Command::Action::code) {
        auto answer = AppBusClient::code(std::move(bus), paths.front());
        co_return co_await answer;
    }
    auto answer = AppBusClient::read(std::move(bus), paths);
    co_return co_await answer;
}

QCoro::Task<int> run(Command command) {
    try {
        std::optional<QByteArray> input;
        if (command.files.contains(CommandLine::standardInput))
            input = readStandardInput();
        if (sessionBusPresent()) {
            QDBusConnection bus = QDBusConnection::sessionBus();
            if (AppBusClient::instanceRunning(bus)) {
                auto forwarded = forward(bus, command, input);
                const AppBusClient::Answer answer = co_await forwarded;
                if (answer)
                    co_return printed(*answer);
                // An instance that quit meanwhile leaves the work to this process.
                if (answer.error().kind != AppBusClient::Failure::Kind::noInstance)
                    co_return failed(answer.error().message);
            }
        }
        if (command.action == Command::Action::grab)
            co_return failed(notReadyFailure().message);
        auto reading = runHere(command, input);
        const QString text = co_await reading;
        co_return printed(text);
    } catch (const IntentFailure& failure) {
        co_return failed(failure.message);
    } catch (const std::exception& error) {
        co_return failed(QString::fromUtf8(error.what()));
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
    int applicationArgc = argc;
    QCoreApplication application(applicationArgc, argv);
    // An interrupted command leaves no copy of standard input behind.
    onTerminationSignals([] {
        TemporaryCopy::removeAll();
        std::_Exit(interruptedExit);
    });
    auto task = run(command);
    return QCoro::waitFor(std::move(task));
}

}  // namespace Glyphnab
