#include "Glyphnab/AppMain.h"

#include "Glyphnab/AppDelegate.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace Glyphnab {

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

int runApp(QApplication& app) {
    // A tray app: windows come and go, the app stays until its Quit.
    QApplication::setQuitOnLastWindowClosed(AppDelegate::shouldTerminateAfterLastWindowClosed());
    const QStringList arguments = QCoreApplication::arguments();
    AppDelegate delegate(DelegateParts::live(), arguments);
    // Launching has finished once the event loop runs; files handed to the program come after.
    QTimer::singleShot(0, &delegate, [&delegate, files = launchFiles(arguments)] {
        delegate.finishLaunching();
        if (!files.isEmpty())
            delegate.openURLs(files);
    });
    return app.exec();
}

}  // namespace Glyphnab
