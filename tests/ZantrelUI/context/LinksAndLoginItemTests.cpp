// Settings addresses, the support mail, the autostart entry and the permission probes.

#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/Links.h"
#include "ZantrelUI/context/LoginItem.h"
#include "ZantrelUI/desktop/PermissionProbe.h"
#include "platform/desktop/Autostart.h"

#include <QFile>
#include <QTemporaryDir>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <vector>

namespace {

using ZantrelKit::OwnerConfig;
using ZantrelKit::Permission;
namespace Links = ZantrelUI::Links;
namespace Probe = ZantrelUI::PermissionProbe;

OwnerConfig config(const QVariantMap& info) {
    return OwnerConfig(info);
}

TEST(Links, SettingsAddressesAreExact) {
    EXPECT_EQ(Links::screenRecordingPane().toString(),
              u"x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture");
    EXPECT_EQ(Links::inputMonitoringPane().toString(),
              u"x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent");
    EXPECT_EQ(Links::notificationsPane(QStringLiteral("org.glyphnab.Glyphnab")).toString(),
              u"x-apple.systempreferences:com.apple.Notifications-Settings.extension?id=org.glyphnab.Glyphnab");
}

TEST(Links, SupportMailNeedsAConfiguredAddress) {
    const auto mail = Links::supportMail(config({{QStringLiteral("ZNSupportEmail"), QStringLiteral("help@example.org")},
                                                 {QStringLiteral("CFBundleDisplayName"), QStringLiteral("Glyphnab")}}));
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->toString(QUrl::FullyEncoded), u"mailto:help@example.org?subject=Glyphnab%20support");
    EXPECT_FALSE(Links::supportMail(config({{QStringLiteral("ZNSupportEmail"), QString()}})));
    EXPECT_FALSE(Links::supportMail(config({{QStringLiteral("ZNSupportEmail"), QStringLiteral("PLACEHOLDER@x")}})));
    EXPECT_FALSE(Links::supportMail(config({})));
}

TEST(Links, SettingsAddressesMapToDesktopPages) {
    EXPECT_EQ(Links::settingsPage(Links::accessibilityPane())->gnomePanel, u"universal-access");
    EXPECT_EQ(Links::settingsPage(Links::screenRecordingPane())->gnomePanel, u"privacy");
    EXPECT_EQ(Links::settingsPage(Links::notificationsPane(QStringLiteral("a.b")))->kdeModule, u"kcm_notifications");
    EXPECT_FALSE(Links::settingsPage(QUrl(QStringLiteral("https://example.org"))));
    Links::open(std::nullopt);  // nothing to open: no stop under the test host
}

TEST(LinksDeathTest, OpeningUnderTheTestHostStops) {
    EXPECT_DEATH(Links::open(Links::screenRecordingPane()),
                 "open x-apple.systempreferences:com.apple.preference.security\\?Privacy_ScreenCapture under the "
                 "test host: a test reached the live system calls");
}

TEST(LoginItem, OnAndOffInAConfigFolder) {
    QTemporaryDir config;
    const QString folder = config.path() + QStringLiteral("/autostart");
    const QString id = QStringLiteral("org.glyphnab.Glyphnab");
    using ZantrelUI::LoginItem::Status;
    EXPECT_EQ(ZantrelUI::LoginItem::status(folder, id), Status::off);
    ZantrelUI::LoginItem::setOpenAtLogin(true, folder, id, QStringLiteral("Glyphnab"), QStringLiteral("/usr/bin/glyphnab"));
    EXPECT_EQ(ZantrelUI::LoginItem::status(folder, id), Status::on);
    QFile entry(Platform::Autostart::entryPath(folder, id));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    // The session's list of startup programs shows the app's own name and icon.
    EXPECT_TRUE(text.contains(u"\nName=Glyphnab\n"));
    EXPECT_TRUE(text.contains(u"\nIcon=org.glyphnab.Glyphnab\n"));
    ZantrelUI::LoginItem::setOpenAtLogin(false, folder, id, {}, {});
    EXPECT_EQ(ZantrelUI::LoginItem::status(folder, id), Status::off);
    EXPECT_THROW(ZantrelUI::LoginItem::setOpenAtLogin(true, folder, id, QStringLiteral("Glyphnab"), QString()),
                 ZantrelUI::LoginItem::Failure);
}

TEST(LoginItem, TheEntryIsNamedAfterTheProductNotTheProgramFile) {
    const ZantrelUI::AppContext context(
        QStringLiteral("org.glyphnab.entrynametest"), ZantrelKit::AccentPair::glyphnab,
        ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}), {});
    EXPECT_EQ(ZantrelUI::LoginItem::entryName(), QStringLiteral("Glyphnab"));
}

TEST(LoginItemDeathTest, ChangesUnderTheTestHostStop) {
    EXPECT_DEATH(ZantrelUI::LoginItem::setOpenAtLogin(true, QStringLiteral("a.b")),
                 "open at login on under the test host: a test reached the live system calls");
    EXPECT_DEATH(ZantrelUI::LoginItem::setOpenAtLogin(false, QStringLiteral("a.b")), "open at login off under");
    EXPECT_DEATH(ZantrelUI::LoginItem::setHelper(QStringLiteral("a.b.helper"), false),
                 "a helper's login item off under the test host");
}

struct RecordingCalls {
    bool isLive = false;
    std::vector<QUrl>* opened;
    void open(const QUrl& url) const { opened->push_back(url); }
};

TEST(PermissionProbe, ProbesAndPagesGoByIdRequestsByWholeValue) {
    EXPECT_TRUE(Probe::isGranted(Permission::accessibility()));
    EXPECT_TRUE(Probe::isGrantedOnMain(Permission::accessibility()));
    EXPECT_FALSE(Probe::isGranted(Permission::screenRecording()));  // no X11 display in this test
    EXPECT_TRUE(Probe::isGranted(Permission::fullDiskAccess()));  // Linux gates no files of its own
    const Permission other{QStringLiteral("camera"), {QStringLiteral("System Settings")}};
    EXPECT_FALSE(Probe::isGranted(other));
    EXPECT_EQ(Probe::settingsURL(other), Links::privacyPane());
    const Permission oddPane{QStringLiteral("screenRecording"), {QStringLiteral("Elsewhere")}};
    EXPECT_EQ(Probe::settingsURL(oddPane), Links::screenRecordingPane());

    std::vector<QUrl> opened;
    Probe::requestAndOpen(oddPane, RecordingCalls{false, &opened});
    Probe::requestAndOpen(Permission::fullDiskAccess(), RecordingCalls{false, &opened});
    EXPECT_EQ(opened, (std::vector<QUrl>{Links::screenRecordingPane(), Links::fullDiskAccessPane()}));
}

}  // namespace
