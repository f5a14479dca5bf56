// Where a rectangle is captured, and capture without an X11 display.

#include "capture/ScreenGrab.h"
#include "platform/screen/ScreenService.h"

#include "tests/support/TestSupport.h"

#include <QCoroTask>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

namespace ScreenGrab = ZantrelCapture::ScreenGrab;

QCoro::Task<> attempt(std::optional<std::string>& failure, bool& pictured) {
    try {
        const QImage picture = co_await ScreenGrab::capture(QRectF(0, 0, 10, 10));
        pictured = true;
    } catch (const ScreenGrab::CaptureError& error) {
        failure = error.what();
    }
}

TEST(ScreenGrab, RectanglesFlipAboutThePrimaryScreen) {
    const QRectF primary(0, 0, 1440, 900);
    EXPECT_EQ(ScreenGrab::desktopArea(QRectF(100, 600, 200, 100), primary), QRectF(100, 200, 200, 100));
    // A screen below the primary one: negative global y, desktop y past the primary's height.
    const QRectF below = ScreenGrab::desktopArea(QRectF(100, -300, 200, 100), primary);
    EXPECT_GT(below.y(), 900);
    EXPECT_EQ(below, QRectF(100, 1100, 200, 100));
    // No screen: the rectangle's own top is the height.
    EXPECT_EQ(ScreenGrab::desktopArea(QRectF(10, 20, 30, 40), std::nullopt), QRectF(10, 0, 30, 40));
    // A primary screen away from the desktop origin moves the area with it.
    EXPECT_EQ(ScreenGrab::desktopArea(QRectF(0, 0, 10, 10), QRectF(1920, 100, 1280, 800)),
              QRectF(1920, 890, 10, 10));
}

TEST(ScreenGrab, WithoutAnX11DisplayCaptureFailsWithAReason) {
    // The test programs run on the offscreen platform: there is no screen to read.
    EXPECT_FALSE(ScreenGrab::askForGrant());
    std::optional<std::string> failure;
    bool pictured = false;
    auto task = attempt(failure, pictured);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return failure.has_value() || pictured; }));
    EXPECT_FALSE(pictured);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("X11"), std::string::npos) << *failure;
    EXPECT_NO_THROW(ScreenGrab::requireGrantInScriptedRun());  // not a scripted run
}

// A session's screen that records what it is asked for.
class RecordingScreen final : public Platform::ScreenService {
public:
    RecordingScreen(Platform::Session session, QString missing, std::vector<QRectF>& asked)
        : session_(session), missing_(std::move(missing)), asked_(asked) {}
    Platform::Session session() const override { return session_; }
    bool readable() const override { return missing_.isEmpty(); }
    QString missing() const override { return missing_; }
    QCoro::Task<std::expected<QImage, Platform::CaptureFailure>> capture(QRectF desktop) override {
        asked_.push_back(desktop);
        QImage picture(desktop.size().toSize() * 2, QImage::Format_RGB32);
        picture.fill(Qt::white);
        co_return picture;
    }

private:
    Platform::Session session_;
    QString missing_;
    std::vector<QRectF>& asked_;
};

TEST(ScreenGrab, TheSessionsServiceReadsTheAreaOrSaysWhatIsMissing) {
    std::vector<QRectF> asked;
    Platform::setScreenService(std::make_unique<RecordingScreen>(
        Platform::Session::wayland, QStringLiteral("This Wayland desktop offers apps no screenshot service"), asked));
    EXPECT_FALSE(ScreenGrab::askForGrant());
    std::optional<std::string> failure;
    bool pictured = false;
    auto refused = attempt(failure, pictured);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return failure.has_value() || pictured; }));
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("screenshot service"), std::string::npos) << *failure;
    EXPECT_TRUE(asked.empty());  // nothing is asked of a service that is not there

    Platform::setScreenService(std::make_unique<RecordingScreen>(Platform::Session::wayland, QString(), asked));
    EXPECT_TRUE(ScreenGrab::askForGrant());
    failure.reset();
    auto taken = attempt(failure, pictured);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return failure.has_value() || pictured; }));
    EXPECT_TRUE(pictured);
    // The area reaches the service in desktop coordinates: flipped about the primary screen.
    ASSERT_EQ(asked.size(), 1u);
    const QRectF primary = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(asked.front(), QRectF(0, primary.height() - 10, 10, 10));
    Platform::setScreenService(nullptr);
}

}  // namespace
