#include "platform/desktop/SettingsApp.h"

#include <QProcess>
#include <QStandardPaths>

namespace Platform::SettingsApp {
namespace {

Launch gnome(const Page& page) {
    Launch launch{QStringLiteral("gnome-control-center"), {}};
    if (!page.gnomePanel.isEmpty())
        launch.arguments << page.gnomePanel;
    return launch;
}

Launch kde(const Page& page) {
    Launch launch{QStringLiteral("systemsettings"), {}};
    if (!page.kdeModule.isEmpty())
        launch.arguments << page.kdeModule;
    return launch;
}

}  // namespace

std::vector<Launch> launches(const Page& page, const QString& currentDesktop) {
    const QStringList desktops = currentDesktop.split(u':', Qt::SkipEmptyParts);
    const bool kdeFirst = desktops.contains(u"KDE", Qt::CaseInsensitive);
    if (kdeFirst)
        return {kde(page), gnome(page)};
    return {gnome(page), kde(page)};
}

bool startFirst(const std::vector<Launch>& candidates) {
    for (const Launch& launch : candidates) {
        const QString path = QStandardPaths::findExecutable(launch.program);
        if (path.isEmpty())
            continue;
        if (QProcess::startDetached(path, launch.arguments))
            return true;
    }
    return false;
}

}  // namespace Platform::SettingsApp
