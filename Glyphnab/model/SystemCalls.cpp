#include "Glyphnab/model/SystemCalls.h"

#include "capture/ScreenGrab.h"
#include "platform/log/Log.h"

#include <QApplication>
#include <QProcess>

namespace Glyphnab {

Relaunch Relaunch::live(std::function<void()> release, std::function<void()> reclaim) {
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return Relaunch{
        QCoreApplication::applicationFilePath(),
        options(arguments),
        std::move(release),
        [](const QString& program, const QStringList& args) { return QProcess::startDetached(program, args); },
        std::move(reclaim),
        [] { QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection); },
    };
}

QStringList Relaunch::options(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--state-dir") {
            kept << argument;
            if (i + 1 < arguments.size())
                kept << arguments[++i];
            continue;
        }
        if (argument.startsWith(u'-'))
            kept << argument;
    }
    return kept;
}

bool Relaunch::run() const {
    if (release)
        release();
    if (start && start(program, arguments)) {
        if (quit)
            quit();
        return true;
    }
    // Quitting now would leave the user with no app at all.
    Platform::Logger(QStringLiteral("grab")).error(u"relaunch failed: could not start %{public}s", program);
    if (reclaim)
        reclaim();
    return false;
}

SystemCalls SystemCalls::live(Relaunch relaunch) {
    return SystemCalls{
        ZantrelUI::MacCalls::live(),
        [] {
            ZantrelUI::LiveCalls::refuseUnderTestHost(QStringLiteral("Screen Recording request"));
            ZantrelCapture::ScreenGrab::askForGrant();
        },
        [relaunch = std::move(relaunch)] {
            ZantrelUI::LiveCalls::refuseUnderTestHost(QStringLiteral("Relaunch"));
            relaunch.run();
        },
        [] {
            ZantrelUI::LiveCalls::refuseUnderTestHost(QStringLiteral("Beep"));
            QApplication::beep();
        },
    };
}

}  // namespace Glyphnab
