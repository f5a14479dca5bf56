// The selector's Wayland desk over a screen service of the test's own: the frozen picture
// each panel draws over, and the covers that keep a window of the app focused until the
// text is on the clipboard.

#include "ZantrelUI/desktop/WaylandAreaSelectorDesk.h"
#include "platform/async/Clock.h"
#include "platform/screen/ScreenService.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class PictureService final : public Platform::ScreenService {
public:
    bool pictured = true;
    int freezes = 0;
    int drops = 0;

    Platform::Session session() const override { return Platform::Session::wayland; }
    bool readable() const override { return true; }
    QString missing() const override { return {}; }
    QCoro::Task<std::expected<QImage, Platform::CaptureFailure>> capture(QRectF) override {
        co_return std::unexpected(Platform::CaptureFailure{QStringLiteral("not here")});
    }
    QCoro::Task<std::expected<void, Platform::CaptureFailure>> freeze(std::stop_token) override {
        ++freezes;
        if (!pictured)
            co_return std::unexpected(
                Platform::CaptureFailure{QStringLiteral("refused"), Platform::CaptureFailure::Cause::refused});
        co_return {};
    }
    void dropFrozen() override { ++drops; }
    QImage frozen(const QRectF& screen) const override {
        QImage part((screen.size() * 1.5).toSize(), QImage::Format_RGB32);
        part.fill(QColor(20, 40, 60));
        part.setDevicePixelRatio(1.5);
        return part;
    }
};

class WaylandDeskTest : public testing::Test {
protected:
    WaylandDeskTest() : scoped_(clock_) {}

    int visibleCovers() const {
        int count = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle() == u"Area selector")
                ++count;
        return count;
    }

    Platform::ManualClock clock_{false};
    Platform::ScopedClock scoped_;
    PictureService service_;
    ZantrelUI::WaylandAreaSelectorDesk desk_{service_};
};

TEST_F(WaylandDeskTest, ThePickWaitsForThePictureAndDrawsOverIt) {
    EXPECT_TRUE(QCoro::waitFor(desk_.prepare({})).has_value());
    service_.pictured = false;
    const auto failed = QCoro::waitFor(desk_.prepare({}));
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().cause, Platform::CaptureFailure::Cause::refused);
    EXPECT_EQ(service_.freezes, 2);
    EXPECT_FALSE(desk_.translucent());
    const QRectF screen = desk_.screens().front();
    EXPECT_EQ(desk_.freeze(screen).devicePixelRatio(), 1.5);
    // No other app's window can be named on Wayland.
    EXPECT_FALSE(desk_.frontWindow().has_value());
    // A cancelled pick leaves no old picture to stand for the screen later.
    desk_.pickCancelled();
    EXPECT_EQ(service_.drops, 1);
}

TEST_F(WaylandDeskTest, CoversStayUntilTheClipboardChangesOrTheLimit) {
    desk_.coverUntilDelivered();
    EXPECT_TRUE(desk_.isCovering());
    EXPECT_EQ(visibleCovers(), static_cast<int>(desk_.screens().size()));
    QGuiApplication::clipboard()->setText(QStringLiteral("the grabbed text"));
    EXPECT_TRUE(TestSupport::waitUntil([&] { return !desk_.isCovering(); }));
    EXPECT_TRUE(TestSupport::waitUntil([&] { return visibleCovers() == 0; }));

    // Nothing delivered (a failed capture, an empty reading): the limit takes them away.
    desk_.coverUntilDelivered();
    clock_.advance(ZantrelUI::WaylandAreaSelectorDesk::coverLimit - 1ms);
    QCoreApplication::processEvents();
    EXPECT_TRUE(desk_.isCovering());
    clock_.advance(1ms);
    EXPECT_TRUE(TestSupport::waitUntil([&] { return !desk_.isCovering(); }));

    // A new round starts from nothing; an old limit does not end it.
    desk_.coverUntilDelivered();
    desk_.uncover();
    desk_.coverUntilDelivered();
    clock_.advance(ZantrelUI::WaylandAreaSelectorDesk::coverLimit / 2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(desk_.isCovering());
    desk_.uncover();
    EXPECT_FALSE(desk_.isCovering());
}

}  // namespace
