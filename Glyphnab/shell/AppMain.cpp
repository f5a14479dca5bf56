#include "Glyphnab/shell/AppMain.h"

#include "Glyphnab/shell/AppBus.h"
#include "Glyphnab/shell/AppDelegate.h"
#include "Glyphnab/shell/AppIcon.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/log/Log.h"
#include "text/BoundedChild.h"

#include <QApplication>
#include <QCoroTask>
#include <QCoroTimer>
#include <QFileInfo>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>

namespace Glyphnab {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("app"));
    return logger;
}

// A second start hands its files, its wish to choose files, or a reopen, to the instance
// that runs.
int forwardToRunningInstance(const QDBusConnection& bus, const QList<QUrl>& files, bool chooseFiles) {
    // An instance started a moment before holds the name before its object is on the bus:
    // the request waits for it rather than failing.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(20);
    AppBusClient::Answer answer;
    for (;;) {
        answer = QCoro::waitFor(!files.isEmpty() ? AppBusClient::openFiles(bus, files)
                                : chooseFiles    ? AppBusClient::chooseFiles(bus)
                                                 : AppBusClient::reopen(bus));
        if (answer || answer.error().kind != AppBusClient::Failure::Kind::noInstance ||
            !AppBusClient::instanceRunning(bus) || Clock::now() > giveUp)
            break;
        QCoro::waitFor(QCoro::sleepFor(std::chrono::milliseconds(100)));
    }
    if (answer)
        return 0;
    std::fprintf(stderr, "glyphnab: %s\n", qPrintable(answer.error().message));
    return 1;
}

}  // namespace

QList<QUrl> launchFiles(const QStringList& arguments) {
    QList<QUrl> files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--state-dir") {
            ++i;
            continue;
        }
        if (argument.startsWith(u'-'))
            continue;
        const QUrl url(argument);
        files.append(url.isLocalFile() ? url : QUrl::fromLocalFile(QFileInfo(argument).absoluteFilePath()));
    }
    return files;
}

bool asksToChooseFiles(const QStringList& arguments) { return arguments.mid(1).contains(chooseFilesOption); }

int runApp(QApplication& app) {
    // A tray app: windows come and go, the app stays until its Quit.
    QApplication::setQuitOnLastWindowClosed(AppDelegate::shouldTerminateAfterLastWindowClosed());
    ZantrelUI::KeyboardLayout::installSuperKeyName(app);
    const QStringList arguments = QCoreApplication::arguments();
    const QList<QUrl> files = launchFiles(arguments);
    const bool chooseFiles = asksToChooseFiles(arguments);

    // One instance per session: the bus name decides, before anything else is made.
    AppDelegate* running = nullptr;
    std::unique_ptr<AppBus> bus;
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        AppBusTarget target = AppBusTarget::withIntents();
        target.copyText = [&running](const Platform::Pasteboard& board) {
            return running && running->services().copyText(board);
        };
        target.openFiles = [&running](QList<QUrl> urls) {
            if (running)
                running->openURLs(urls);
        };
        target.reopen = [&running] {
            if (running)
                running->shouldHandleReopen();
        };
        target.chooseFiles = [&running] {
            if (running)
                running->chooseFiles();
        };
        bus = std::make_unique<AppBus>(std::move(target), session);
        if (!bus->claimName())
            return forwardToRunningInstance(session, files, chooseFiles);
    } else {
        log().error(u"no session bus: a second start will not find this one");
    }

    DelegateParts parts = DelegateParts::live();
    parts.publish = [&bus](AppDelegate&) {
        if (bus && !bus->exportObject())
            log().error(u"the bus interface could not be exported");
    };
    parts.releaseName = [&bus] {
        if (bus)
            bus->releaseName();
    };
    parts.reclaimName = [&bus] {
        if (bus && !bus->claimName())
            log().error(u"the bus name could not be taken back after a failed relaunch");
    };
    AppDelegate delegate(std::move(parts), arguments);
    running = &delegate;
    // Taskbars match the windows to the desktop entry, and show its icon.
    QGuiApplication::setDesktopFileName(delegate.context().bundleId());
    QApplication::setWindowIcon(appIcon(delegate.context().bundleId()));
    // Launching has finished once the event loop runs; files handed to the program come after.
    QTimer::singleShot(0, &delegate, [&delegate, files, chooseFiles] {
        delegate.finishLaunching();
        if (!files.isEmpty())
            delegate.openURLs(files);
        else if (chooseFiles)
            delegate.chooseFiles();
    });
    // A quitting app does not wait for a picture or PDF to reach its budget.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { ZantrelText::BoundedChild::setClosing(true); });
    const int code = app.exec();
    running = nullptr;
    return code;
}

}  // namespace Glyphnab
