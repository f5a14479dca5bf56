#include "ZantrelUI/context/Links.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelKit/RunModes.h"
#include "platform/log/Log.h"

#include <QDesktopServices>
#include <QUrlQuery>

namespace ZantrelUI::Links {
namespace {

const QString settingsScheme = QStringLiteral("x-apple.systempreferences");
const QString securityPane = QStringLiteral("x-apple.systempreferences:com.apple.preference.security");
const QString notificationsPrefix =
    QStringLiteral("x-apple.systempreferences:com.apple.Notifications-Settings.extension?id=");

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("links"));
    return logger;
}

QUrl pane(const char* anchor) {
    return QUrl(securityPane + u'?' + QLatin1StringView(anchor));
}

}  // namespace

const QUrl& accessibilityPane() {
    static const QUrl url = pane("Privacy_Accessibility");
    return url;
}
const QUrl& screenRecordingPane() {
    static const QUrl url = pane("Privacy_ScreenCapture");
    return url;
}
const QUrl& microphonePane() {
    static const QUrl url = pane("Privacy_Microphone");
    return url;
}
const QUrl& cameraPane() {
    static const QUrl url = pane("Privacy_Camera");
    return url;
}
const QUrl& inputMonitoringPane() {
    static const QUrl url = pane("Privacy_ListenEvent");
    return url;
}
const QUrl& fullDiskAccessPane() {
    static const QUrl url = pane("Privacy_AllFiles");
    return url;
}

QUrl notificationsPane(const QString& bundleId) {
    return QUrl(notificationsPrefix + bundleId);
}

QUrl privacyPane() {
    return QUrl(securityPane);
}

std::optional<QUrl> supportMail(const ZantrelKit::OwnerConfig& config) {
    const auto address = config.value(QStringLiteral("ZNSupportEmail"));
    if (!address)
        return std::nullopt;
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(*address);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"),
                       ZantrelKit::Copy::Settings::supportSubject(ZantrelKit::Product(config).name));
    url.setQuery(query);
    return url;
}

std::optional<Platform::SettingsApp::Page> settingsPage(const QUrl& url) {
    if (url.scheme() != settingsScheme)
        return std::nullopt;
    const QString text = url.toString();
    if (text.startsWith(notificationsPrefix))
        return Platform::SettingsApp::Page{QStringLiteral("notifications"), QStringLiteral("kcm_notifications")};
    if (url == accessibilityPane())
        return Platform::SettingsApp::Page{QStringLiteral("universal-access"), QStringLiteral("kcm_access")};
    if (url == microphonePane())
        return Platform::SettingsApp::Page{QStringLiteral("microphone"), {}};
    if (url == cameraPane())
        return Platform::SettingsApp::Page{QStringLiteral("camera"), {}};
    // Screen recording, input monitoring, all files and the privacy page itself: the
    // desktop's privacy settings, or its settings start page where it has none.
    return Platform::SettingsApp::Page{QStringLiteral("privacy"), {}};
}

bool openOnDesktop(const QUrl& url) {
    bool opened = false;
    if (const auto page = settingsPage(url))
        opened = Platform::SettingsApp::startFirst(
            Platform::SettingsApp::launches(*page, qEnvironmentVariable("XDG_CURRENT_DESKTOP")));
    else
        opened = QDesktopServices::openUrl(url);
    if (!opened)
        log().error(u"nothing opened for %{public}s", url.toString());
    return opened;
}

void open(const std::optional<QUrl>& url) {
    if (!url)
        return;
    if (ZantrelKit::TestHost::isActive())
        Platform::fatal(QStringLiteral("open %1 under the test host: a test reached the live system calls")
                            .arg(url->toString()));
    openOnDesktop(*url);
}

}  // namespace ZantrelUI::Links
