#include "ZantrelUI/context/LoginItem.h"

#include "ZantrelKit/RunModes.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/desktop/Autostart.h"
#include "platform/desktop/SettingsApp.h"
#include "platform/log/Log.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace ZantrelUI::LoginItem {
namespace {

void stopUnderTestHost(const QString& operation) {
    if (ZantrelKit::TestHost::isActive())
        Platform::fatal(operation + QStringLiteral(" under the test host: a test reached the live system calls"));
}

// An AppImage runs from a temporary mount: its own file is what must start.
QString programPath() {
    const QString image = qEnvironmentVariable("APPIMAGE");
    return image.isEmpty() ? QCoreApplication::applicationFilePath() : image;
}

}  // namespace

QString entryName() {
    // The product's name ("Glyphnab"), not the program file's ("glyphnab").
    if (const AppContext* context = AppContext::current(); context && !context->product().name.isEmpty())
        return context->product().name;
    const QString display = QGuiApplication::applicationDisplayName();
    return display.isEmpty() ? QCoreApplication::applicationName() : display;
}

Status status(const QString& folder, const QString& bundleId) {
    return Platform::Autostart::isEnabled(folder, bundleId) ? Status::on : Status::off;
}

Status status(const QString& bundleId) {
    return status(Platform::Autostart::userFolder(), bundleId);
}

void setOpenAtLogin(bool on, const QString& folder, const QString& bundleId, const QString& name,
                    const QString& program) {
    // The desktop entry's icon carries the bundle identifier as its name.
    const auto result = on ? Platform::Autostart::enable(folder, bundleId, {name, program, {}, bundleId})
                           : Platform::Autostart::disable(folder, bundleId);
    if (!result)
        throw Failure(result.error().toStdString());
}

void setOpenAtLogin(bool on, const QString& bundleId) {
    stopUnderTestHost(on ? QStringLiteral("open at login on") : QStringLiteral("open at login off"));
    setOpenAtLogin(on, Platform::Autostart::userFolder(), bundleId, entryName(), programPath());
}

void openSettings() {
    stopUnderTestHost(QStringLiteral("Login Items"));
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    std::vector<Platform::SettingsApp::Launch> launches;
    if (desktop.contains(u"KDE", Qt::CaseInsensitive))
        launches.push_back({QStringLiteral("systemsettings"), {QStringLiteral("kcm_autostart")}});
    launches.push_back({QStringLiteral("gnome-tweaks"), {}});
    if (Platform::SettingsApp::startFirst(launches))
        return;
    const QString folder = Platform::Autostart::userFolder();
    QDir().mkpath(folder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        Platform::Logger(QStringLiteral("links")).error(u"nothing opened for %{public}s", folder);
}

bool isHelperEnabled(const QString& id) {
    return Platform::Autostart::isEnabled(Platform::Autostart::userFolder(), id);
}

void setHelper(const QString& id, bool on) {
    stopUnderTestHost(on ? QStringLiteral("a helper's login item on") : QStringLiteral("a helper's login item off"));
    const QString folder = Platform::Autostart::userFolder();
    if (!on) {
        if (const auto result = Platform::Autostart::disable(folder, id); !result)
            throw Failure(result.error().toStdString());
        return;
    }
    const QString installed =
        QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id + QStringLiteral(".desktop"));
    if (installed.isEmpty())
        throw Failure(QStringLiteral("no login item named %1 is installed").arg(id).toStdString());
    QFile source(installed);
    if (!source.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("cannot read %1").arg(installed).toStdString());
    QDir().mkpath(folder);
    QSaveFile target(Platform::Autostart::entryPath(folder, id));
    if (!target.open(QIODevice::WriteOnly) || target.write(source.readAll()) < 0 || !target.commit())
        throw Failure(QStringLiteral("cannot write %1: %2").arg(target.fileName(), target.errorString()).toStdString());
}

}  // namespace ZantrelUI::LoginItem
