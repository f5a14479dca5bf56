// The desktop portal's client against a portal of the test's own (FakePortal) on a private
// bus: screenshots read and removed, refusals and silence, and the global shortcuts bound
// once per session with the triggers the desktop reports.

#include "platform/hotkeys/PortalHotKeyService.h"
#include "platform/portal/PortalRequest.h"
#include "platform/portal/PortalScreenshot.h"
#include "platform/screen/PortalScreenService.h"
#include "platform/screen/ScreenService.h"
#include "tests/Glyphnab/PrivateBus.h"
#include "tests/platform/FakePortal.h"
#include "tests/support/TestSupport.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class PortalTest : public testing::Test {
protected:
    void SetUp() override {
        if (!daemon_.isRunning())
            GTEST_SKIP() << "no dbus-daemon";
        portal_ = std::make_unique<FakePortal>(daemon_.connect(QStringLiteral("fake-portal")));
        ASSERT_TRUE(portal_->isServing());
        portal_->pictureFolder = folder_.path();
        client_ = std::make_unique<QDBusConnection>(daemon_.connect(QStringLiteral("portal-client")));
        ASSERT_TRUE(client_->isConnected());
    }
    void TearDown() override {
        client_.reset();
        portal_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("portal-client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }

    PrivateBus::Daemon daemon_;
    QTemporaryDir folder_;
    std::unique_ptr<FakePortal> portal_;
    std::unique_ptr<QDBusConnection> client_;
};

TEST_F(PortalTest, AScreenshotIsTakenWithoutThePickerReadAndItsFileRemoved) {
    QImage shown(120, 60, QImage::Format_RGB32);
    shown.fill(QColor(10, 200, 30));
    portal_->picture = shown;
    const auto picture = QCoro::waitFor(Platform::Portal::screenshot(*client_, QString(), 5s));
    ASSERT_TRUE(picture.has_value()) << picture.error().message.toStdString();
    EXPECT_EQ(picture->size(), QSize(120, 60));
    EXPECT_EQ(QColor(picture->pixel(5, 5)), QColor(10, 200, 30));
    EXPECT_FALSE(portal_->seen().screenshotOptions.value(QStringLiteral("interactive")).toBool());
    // No screenshot stays behind.
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());
}

TEST_F(PortalTest, EachFailureOfTheScreenshotIsNamed) {
    using Kind = Platform::Portal::ScreenshotFailure::Kind;
    portal_->code = 1;
    const auto refused = QCoro::waitFor(Platform::Portal::screenshot(*client_, QString(), 5s));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().kind, Kind::refused);
    EXPECT_TRUE(refused.error().message.contains(QStringLiteral("refused"))) << refused.error().message.toStdString();

    portal_->code = 0;  // an answer that names no picture
    const auto empty = QCoro::waitFor(Platform::Portal::screenshot(*client_, QString(), 5s));
    ASSERT_FALSE(empty.has_value());
    EXPECT_EQ(empty.error().kind, Kind::unsaved);
    EXPECT_TRUE(empty.error().message.contains(QStringLiteral("could not save"))) << empty.error().message.toStdString();
}

TEST_F(PortalTest, APromptLeftOpenPastTheLimitStaysOpenAndOnlyAStopClosesIt) {
    using Kind = Platform::Portal::ScreenshotFailure::Kind;
    QImage shown(8, 8, QImage::Format_RGB32);
    shown.fill(Qt::red);
    portal_->picture = shown;
    portal_->answers = false;
    const auto silent = QCoro::waitFor(Platform::Portal::screenshot(*client_, QString(), 300ms));
    ASSERT_FALSE(silent.has_value());
    EXPECT_EQ(silent.error().kind, Kind::unanswered);
    EXPECT_TRUE(silent.error().message.contains(QStringLiteral("did not answer"))) << silent.error().message.toStdString();
    // The user may still answer the desktop's prompt: closing would throw that away. The
    // picture of such a late answer is removed unread.
    EXPECT_TRUE(portal_->seen().closed.isEmpty());
    portal_->answerLate();
    EXPECT_TRUE(TestSupport::waitUntil([&] { return QDir(folder_.path()).isEmpty(); }));

    // The user cancels while the desktop waits for an answer.
    std::stop_source stop;
    auto waiting = Platform::Portal::screenshot(*client_, QString(), 60s, stop.get_token());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return portal_->seen().calls.count(QStringLiteral("Screenshot")) == 2; }));
    stop.request_stop();
    const auto cancelled = QCoro::waitFor(std::move(waiting));
    ASSERT_FALSE(cancelled.has_value());
    EXPECT_EQ(cancelled.error().kind, Kind::cancelled);
    EXPECT_TRUE(TestSupport::waitUntil([&] { return portal_->seen().closed.size() == 1; }));
}

TEST_F(PortalTest, TheUsersPicturesFolderIsMadeBeforeAsking) {
    // KDE's portal refuses to take a screenshot it has no folder to save in.
    QTemporaryDir config;
    const QString pictures = config.filePath(QStringLiteral("Bilder"));
    QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write(QStringLiteral("XDG_PICTURES_DIR=\"%1\"\n").arg(pictures).toUtf8());
    dirs.close();
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QImage shown(8, 8, QImage::Format_RGB32);
    shown.fill(Qt::blue);
    portal_->picture = shown;
    portal_->pictureFolder = pictures;
    portal_->needsFolder = true;
    const auto picture = QCoro::waitFor(Platform::Portal::screenshot(*client_, QString(), 5s));
    qputenv("XDG_CONFIG_HOME", before);
    ASSERT_TRUE(picture.has_value()) << picture.error().message.toStdString();
    EXPECT_TRUE(QDir(pictures).exists());
}

TEST_F(PortalTest, ThePickedAreaIsCutFromThePictureTheUserSawAndOnlyFromThat) {
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    QImage shown(desktop.size() * 2, QImage::Format_RGB32);  // a desktop at twice the points
    shown.fill(Qt::white);
    shown.setPixelColor(20, 40, QColor(255, 0, 0));
    portal_->picture = shown;
    Platform::PortalScreenService service(*client_);
    ASSERT_TRUE(QCoro::waitFor(service.freeze()).has_value());
    EXPECT_EQ(service.frozen(QRectF(desktop)).devicePixelRatio(), 2.0);

    // The screen changes after the picture; the capture reads what the user picked over.
    portal_->picture.fill(Qt::black);
    const auto area = QCoro::waitFor(service.capture(QRectF(desktop.left() + 10, desktop.top() + 20, 5, 5)));
    ASSERT_TRUE(area.has_value()) << area.error().message.toStdString();
    EXPECT_EQ(area->size(), QSize(10, 10));
    EXPECT_EQ(area->pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(portal_->seen().calls.count(QStringLiteral("Screenshot")), 1);

    // Used once: the next capture takes the screen as it is now; so does one after a cancelled pick.
    const auto later = QCoro::waitFor(service.capture(QRectF(desktop.left() + 10, desktop.top() + 20, 5, 5)));
    ASSERT_TRUE(later.has_value());
    EXPECT_EQ(later->pixelColor(0, 0), QColor(Qt::black));
    ASSERT_TRUE(QCoro::waitFor(service.freeze()).has_value());
    service.dropFrozen();
    EXPECT_TRUE(service.frozen(QRectF(desktop)).isNull());
    const auto fresh = QCoro::waitFor(service.capture(QRectF(desktop.left(), desktop.top(), 5, 5)));
    ASSERT_TRUE(fresh.has_value());
    EXPECT_EQ(portal_->seen().calls.count(QStringLiteral("Screenshot")), 4);
    // An area off every screen is a failure, not an empty picture.
    EXPECT_FALSE(QCoro::waitFor(service.capture(QRectF(desktop.right() + 100, 0, 5, 5))).has_value());
}

TEST_F(PortalTest, APortalSlowToAnswerIsThereAndOneOffTheBusIsMissing) {
    // The fake answers from the event loop, which this blocking probe holds up: the portal
    // of a busy desktop.
    Platform::PortalScreenService service(*client_);
    EXPECT_TRUE(service.readable());
    EXPECT_TRUE(service.missing().isEmpty());
    EXPECT_FALSE(Platform::Portal::offers(*client_, QString::fromLatin1(Platform::Portal::screenshotInterface)));

    portal_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    EXPECT_EQ(Platform::Portal::offer(*client_, QString::fromLatin1(Platform::Portal::screenshotInterface), 30s),
              Platform::Portal::Offer::absent);
}

TEST(PortalPicture, OnlyLocalFilesAreReadAndEveryOneIsRemoved) {
    EXPECT_FALSE(Platform::Portal::takePicture(QUrl(QStringLiteral("https://example.org/a.png"))).has_value());
    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("broken.png"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_FALSE(Platform::Portal::takePicture(QUrl::fromLocalFile(broken)).has_value());
    EXPECT_FALSE(QFile::exists(broken));
}

TEST(PortalRequestPath, FollowsTheCallersBusNameAndTheToken) {
    EXPECT_EQ(Platform::Portal::requestPath(QStringLiteral(":1.42"), QStringLiteral("glyphnab_7")),
              QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/glyphnab_7"));
    const QString token = Platform::Portal::newToken();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Za-z0-9_]+$")).match(token).hasMatch());
}

TEST(PictureArea, CutsAtTheDesktopsOwnScaleFractionalOnesIncluded) {
    using Platform::pictureArea;
    // One output at 1.5: the picture has half again as many pixels as points.
    EXPECT_EQ(pictureArea(QRectF(100, 50, 200, 100), QRectF(0, 0, 1280, 800), QSize(1920, 1200)),
              QRect(150, 75, 300, 150));
    // Two outputs side by side, the desktop starting left of zero.
    EXPECT_EQ(pictureArea(QRectF(-100, 0, 200, 10), QRectF(-1280, 0, 2560, 800), QSize(2560, 800)),
              QRect(1180, 0, 200, 10));
    // Neighbouring areas share their seam at 1.25.
    const QRect left = pictureArea(QRectF(0, 0, 101, 10), QRectF(0, 0, 1000, 100), QSize(1250, 125));
    const QRect right = pictureArea(QRectF(101, 0, 99, 10), QRectF(0, 0, 1000, 100), QSize(1250, 125));
    EXPECT_EQ(left.right() + 1, right.left());
    // Cut to the picture; nothing when off it.
    EXPECT_EQ(pictureArea(QRectF(1200, 700, 200, 200), QRectF(0, 0, 1280, 800), QSize(1280, 800)),
              QRect(1200, 700, 80, 100));
    EXPECT_TRUE(pictureArea(QRectF(2000, 0, 10, 10), QRectF(0, 0, 1280, 800), QSize(1280, 800)).isEmpty());
    EXPECT_TRUE(pictureArea(QRectF(0, 0, 10, 10), QRectF(), QSize(1280, 800)).isEmpty());
}

TEST_F(PortalTest, ShortcutsAreBoundOnceWithTheirNamesAndFireByName) {
    portal_->triggers = {{QStringLiteral("grab"), QStringLiteral("Ctrl+Shift+Super+T")}};
    Platform::PortalHotKeyService service(*client_);
    std::vector<std::uint32_t> pressed;
    int changes = 0;
    service.installHandler([&](std::uint32_t id) { pressed.push_back(id); });
    service.installChangeHandler([&] { ++changes; });
    service.nameKey(1, "grab");
    service.nameKey(2, "grabOther");
    EXPECT_EQ(service.registerKey(17, 0x1000 | 0x200 | 0x100, 1), Platform::HotKeyStatus::registered);
    EXPECT_EQ(service.registerKey(38, 0x800, 2), Platform::HotKeyStatus::registered);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return service.state() == Platform::PortalHotKeyService::State::bound; }));
    EXPECT_EQ(changes, 1);

    const auto bound = portal_->seen().bound;
    ASSERT_EQ(bound.size(), 2);
    EXPECT_EQ(bound[0].id, QStringLiteral("grab"));
    EXPECT_EQ(bound[0].options.value(QStringLiteral("preferred_trigger")).toString(),
              QStringLiteral("CTRL+SHIFT+LOGO+t"));
    EXPECT_EQ(bound[1].id, QStringLiteral("grabOther"));
    EXPECT_EQ(bound[1].options.value(QStringLiteral("preferred_trigger")).toString(), QStringLiteral("ALT+j"));
    EXPECT_EQ(service.trigger(1), "Ctrl+Shift+Super+T");
    EXPECT_EQ(service.trigger(2), "");

    portal_->activate(QStringLiteral("grabOther"));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return pressed.size() == 1; }));
    EXPECT_EQ(pressed.front(), 2u);

    // A hold takes the keys away and gives them back without binding again: the portal
    // binds a session once.
    service.unregisterKey(2);
    portal_->activate(QStringLiteral("grabOther"));
    portal_->activate(QStringLiteral("grab"));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return pressed.size() == 2; }));
    EXPECT_EQ(pressed.back(), 1u);
    EXPECT_EQ(service.registerKey(38, 0x800, 2), Platform::HotKeyStatus::registered);
    TestSupport::waitUntil([] { return false; }, 100ms);
    EXPECT_EQ(portal_->seen().calls.count(QStringLiteral("BindShortcuts")), 1);

    // The user changes the keys in the desktop's settings.
    portal_->changeTriggers({{QStringLiteral("grab"), QStringLiteral("Super+G")},
                             {QStringLiteral("grabOther"), QStringLiteral("Super+H")}});
    ASSERT_TRUE(TestSupport::waitUntil([&] { return changes == 2; }));
    EXPECT_EQ(service.trigger(2), "Super+H");
}

TEST_F(PortalTest, ShortcutsTheDesktopDidNotBindAreUnavailableNotTaken) {
    // A refusal; a success that lists no shortcut; one that lists them without keys.
    const std::function<void(FakePortal&)> answers[] = {
        [](FakePortal& portal) { portal.code = 2; },
        [](FakePortal& portal) { portal.reportsShortcuts = false; },
        [](FakePortal& portal) { portal.triggers.clear(); },
    };
    for (const auto& answer : answers) {
        answer(*portal_);
        Platform::PortalHotKeyService service(*client_);
        int changes = 0;
        service.installChangeHandler([&] { ++changes; });
        service.nameKey(1, "grab");
        service.registerKey(17, 0x1000, 1);
        EXPECT_EQ(service.desk(), Platform::HotKeyDesk::portal);  // until the desktop answers
        ASSERT_TRUE(TestSupport::waitUntil([&] { return changes == 1; }));
        EXPECT_EQ(service.state(), Platform::PortalHotKeyService::State::failed);
        // No global keys for the app here: the desktop's own keyboard settings run a command.
        EXPECT_EQ(service.desk(), Platform::HotKeyDesk::none);
        EXPECT_EQ(service.registerKey(17, 0x1000, 1), Platform::HotKeyStatus::unavailable);
        // A number that was never named cannot be bound either.
        EXPECT_EQ(service.registerKey(38, 0x1000, 9), Platform::HotKeyStatus::unavailable);
        portal_->code = 0;
        portal_->reportsShortcuts = true;
    }
}

TEST(PortalTrigger, NamesTheKeyAndItsModifiersInThePortalsForm) {
    EXPECT_EQ(Platform::preferredTrigger(17, 0x1000 | 0x200 | 0x100), QStringLiteral("CTRL+SHIFT+LOGO+t"));
    EXPECT_EQ(Platform::preferredTrigger(18, 0x1000), QStringLiteral("CTRL+1"));
    // A key without a plain symbol leaves the choice to the desktop.
    EXPECT_EQ(Platform::preferredTrigger(122, 0x1000), QString());
}

}  // namespace
