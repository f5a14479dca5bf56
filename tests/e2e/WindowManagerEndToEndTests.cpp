// The app under real window managers that do not composite (openbox, and xfwm4 with its
// compositing off): the keyboard comes back to the app's own window after a pick, the
// notice shows no black box around its card, and every finished drag ends in a copy or a
// notice. With GLYPHNAB_TEST_SHOTS naming a folder, the screens are kept there as PNGs.

#include "tests/e2e/AppDriver.h"

#include "Glyphnab/notice/NoticeView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <utility>

#include <gtest/gtest.h>

namespace {

using TestSupport::WindowGeometry;

const QString grabKeys = QStringLiteral("ctrl+shift+super+t");
const QString settingsTitle = QStringLiteral("Glyphnab Settings");

struct WindowManager {
    const char* name;
    const char* program;
    QStringList arguments;
};

void PrintTo(const WindowManager& manager, std::ostream* out) { *out << manager.name; }

const WindowManager openbox{"Openbox", "openbox", {QStringLiteral("--sm-disable")}};
const WindowManager xfwm4{"Xfwm4", "xfwm4", {QStringLiteral("--compositor=off"), QStringLiteral("--sm-client-disable")}};

bool nearBlack(QRgb pixel) { return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40; }

class WindowManagerEndToEnd : public TestSupport::AppDriver, public testing::WithParamInterface<WindowManager> {
protected:
    void SetUp() override {
        AppDriver::SetUp();
        if (IsSkipped())
            return;
        const QString program = QString::fromLatin1(GetParam().program);
        if (QStandardPaths::findExecutable(program).isEmpty())
            GTEST_SKIP() << program.toStdString() << " is not installed (scripts/setup installs it)";
        session_.start(program, GetParam().arguments);
        ASSERT_TRUE(until([&] { return hasWindowManager(); }, 20000)) << program.toStdString() << " did not start";
    }

    bool hasWindowManager() const {
        const auto check = session_.run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")},
                                        std::chrono::seconds(10));
        return check.finished && check.out.contains(QStringLiteral("window id"));
    }

    // Polls `condition` until it holds or `milliseconds` pass.
    static bool until(const std::function<bool()>& condition, int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            if (condition())
                return true;
            QThread::msleep(100);
        }
        return condition();
    }

    // The X window id xdotool prints, as a number (it prints decimal, xprop hex).
    static qulonglong idOf(const QString& window) { return window.trimmed().toULongLong(nullptr, 0); }
    bool focusIs(const QString& window) const { return idOf(focusedWindow()) == idOf(window); }

    void keep(const QImage& shot, const QString& name) const {
        const QString folder = qEnvironmentVariable("GLYPHNAB_TEST_SHOTS");
        if (!folder.isEmpty() && !shot.isNull() && QDir().mkpath(folder))
            shot.save(QDir(folder).filePath(name + QStringLiteral("-") + QString::fromLatin1(GetParam().name).toLower() +
                                            QStringLiteral(".png")));
    }

    // A window's client area where the screen shows it (xdotool counts a frame's offset twice).
    WindowGeometry clientArea(const QString& id) const {
        const auto info = session_.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
        const auto number = [&](const QString& label) {
            return info.out.section(label, 1).section(u'\n', 0, 0).trimmed().toInt();
        };
        return {number(QStringLiteral("Absolute upper-left X:")), number(QStringLiteral("Absolute upper-left Y:")),
                number(QStringLiteral("Width:")), number(QStringLiteral("Height:"))};
    }

    // The middle of the chosen tab in a picture of Settings: the accent-filled chip in the
    // right half of its top band (the app's icon sits at the left, a focus ring is thin).
    static std::optional<QPoint> chosenTab(const QImage& window) {
        const auto accent = [&](int x, int y) {
            const QColor pixel = window.pixelColor(x, y);
            return pixel.hsvSaturation() > 150 && pixel.value() > 120;
        };
        QRect chip;
        for (int y = 2; y < std::min(window.height(), 70) - 2; ++y)
            for (int x = window.width() / 2; x < window.width() - 2; ++x) {
                bool solid = true;
                for (int dy = -2; dy <= 2 && solid; ++dy)
                    for (int dx = -2; dx <= 2 && solid; ++dx)
                        solid = accent(x + dx, y + dy);
                if (solid)
                    chip |= QRect(x, y, 1, 1);
            }
        if (chip.width() < 20)
            return std::nullopt;
        return chip.center();
    }

    // The window's pixels once two looks a moment apart agree.
    QImage settledShot(const WindowGeometry& area) const {
        QImage last = shot(area);
        QImage now;
        until([&] {
            QThread::msleep(300);
            now = shot(area);
            return std::exchange(last, now) == now;
        }, 20000);
        return now;
    }

    // The notice's frame among the windows of `pid`: the one wider than its card.
    std::optional<QRect> noticeOf(qint64 pid) const {
        for (const WindowGeometry& window : visibleWindowsOf(pid))
            if (window.width > Glyphnab::NoticeView::cardWidth && window.y < 80)
                return QRect(window.x, window.y, window.width, window.height);
        return std::nullopt;
    }
};

TEST_P(WindowManagerEndToEnd, TheKeyboardComesBackToSettingsAfterACancelAndAfterAGrab) {
    showText(QStringLiteral("Focus comes back"));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    ASSERT_TRUE(session_.run(app, {}, std::chrono::seconds(20)).finished);
    const std::optional<QString> settings = session_.waitForWindow(settingsTitle, std::chrono::seconds(20));
    ASSERT_TRUE(settings);
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), *settings});
    ASSERT_TRUE(until([&] { return focusIs(*settings); }, 20000));

    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(overlayTitle, 20000));
    EXPECT_TRUE(until([&] { return focusIs(*settings); }, 20000)) << "focus on " << focusedWindow().toStdString();

    // The shortcut held as a hand holds it, and a drag over the window itself.
    ASSERT_TRUE(until([&] {
        holdKeys(grabKeys, 200);
        return session_.waitForWindow(overlayTitle, std::chrono::seconds(5)).has_value();
    }, 60000));
    const WindowGeometry window = clientArea(*settings);
    drag(window.x + 20, window.y + 60, window.x + window.width - 20, window.y + 200);
    ASSERT_TRUE(waitForWindowGone(overlayTitle, 20000));
    EXPECT_TRUE(until([&] { return focusIs(*settings); }, 20000)) << "focus on " << focusedWindow().toStdString();
    // The copy's notice may lie over the window: the window is looked at once it is gone.
    ASSERT_TRUE(clipboardChangedFrom(std::nullopt));
    ASSERT_TRUE(until([&] { return !noticeOf(process.processId()); }, 30000));

    // What the user does next: a click back into the window (as quick as a tap), then its
    // own keys. Tab moves the focus ring, Right on the tab bar (clicked) opens the next tab,
    // a window of another height, and Ctrl+W closes it.
    click(window.x + 6, window.y + window.height / 2);
    const QImage before = settledShot(window);
    ASSERT_FALSE(before.isNull());
    xdotool({QStringLiteral("key"), QStringLiteral("Tab")});
    EXPECT_TRUE(until([&] { return shot(window) != before; }, 20000)) << "Tab moved no focus ring";
    keep(session_.screenshot(), QStringLiteral("settings-after-grab"));
    const std::optional<QPoint> chosen = chosenTab(shot(window));
    ASSERT_TRUE(chosen);
    click(window.x + chosen->x(), window.y + chosen->y());
    xdotool({QStringLiteral("key"), QStringLiteral("Right")});
    EXPECT_TRUE(until([&] { return clientArea(*settings).height != window.height; }, 20000))
        << "Right opened no other tab";
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+w")});
    EXPECT_TRUE(waitForWindowGone(settingsTitle, 20000));
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_P(WindowManagerEndToEnd, EveryHeldGrabOfALineEndsWithItsTextOnTheClipboard) {
    const QString line = QStringLiteral("Every grab ends in a copy");
    const QString text = showText(line);
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const WindowGeometry area = clientArea(text);
    for (int grab = 0; grab < 5; ++grab) {
        SCOPED_TRACE(grab);
        // Another program's text on the clipboard first, so that each copy is seen.
        const QString mark = QStringLiteral("mark %1").arg(grab);
        QProcess& owner = session_.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                                                   QStringLiteral("-quiet")});
        owner.write(mark.toUtf8());
        owner.waitForBytesWritten(20000);
        owner.closeWriteChannel();
        ASSERT_TRUE(until([&] { return session_.clipboardText() == mark; }, 20000));
        ASSERT_TRUE(until([&] {
            holdKeys(grabKeys, 200);
            return session_.waitForWindow(overlayTitle, std::chrono::seconds(5)).has_value();
        }, 60000)) << process.readAllStandardError().toStdString();
        drag(area.x + 5, area.y + 5, area.x + 600, area.y + 80);
        EXPECT_EQ(clipboardChangedFrom(mark, 60000), line);
        ASSERT_TRUE(waitForWindowGone(overlayTitle, 20000));
    }
}

TEST_P(WindowManagerEndToEnd, TheNoticeShowsItsCardAndWhatLiesAroundIt) {
    showText(QStringLiteral("Under the notice"), 22, QStringLiteral("1000x300"));
    const WindowGeometry whole{0, 0, 1280, 800};
    const QImage before = session_.screenshot();
    const QImage beforePixels = shot(whole);
    ASSERT_FALSE(before.isNull());
    ASSERT_FALSE(beforePixels.isNull());
    QProcess& probe = session_.start(QStringLiteral(GLYPHNAB_NOTICE_PROBE_PATH),
                                     {QStringLiteral("done"), QStringLiteral("Copied under a window manager")});
    ASSERT_TRUE(until([&] { return probe.readAllStandardOutput().contains("shown") || noticeOf(probe.processId()); },
                      20000));
    std::optional<QRect> frame;
    ASSERT_TRUE(until([&] { return (frame = noticeOf(probe.processId())).has_value(); }, 20000));

    // Outside the card (its margin, and the corners its rounding leaves) the screen shows
    // what it showed before; the card itself is drawn. Both as xwd rebuilds the screen
    // window by window and as the framebuffer holds it.
    const int m = Glyphnab::NoticeView::margin;
    const QRect card = frame->adjusted(m, m, -m, -m);
    struct Seen {
        int darkened = 0;
        int cardChanged = 0;
    };
    const auto lookAt = [&](const QImage& then, const QImage& now) {
        Seen seen;
        for (int y = frame->top(); y <= frame->bottom(); ++y)
            for (int x = frame->left(); x <= frame->right(); ++x) {
                const bool corner = card.contains(x, y) && std::min(x - card.left(), card.right() - x) < 2 &&
                                    std::min(y - card.top(), card.bottom() - y) < 2;
                if (card.contains(x, y) && !corner)
                    seen.cardChanged += now.pixel(x, y) != then.pixel(x, y) ? 1 : 0;
                else
                    seen.darkened += nearBlack(now.pixel(x, y)) && !nearBlack(then.pixel(x, y)) ? 1 : 0;
            }
        return seen;
    };
    const auto drawn = [&](const Seen& seen) { return seen.cardChanged > card.width() * card.height() / 2; };
    Seen rebuilt;
    Seen framebuffer;
    QImage screen;
    QImage pixels;
    // Drawn a moment after it is mapped on a busy machine: looked at until the card shows.
    EXPECT_TRUE(until([&] {
        screen = session_.screenshot();
        pixels = shot(whole);
        if (screen.isNull() || pixels.isNull())
            return false;
        rebuilt = lookAt(before, screen);
        framebuffer = lookAt(beforePixels, pixels);
        return drawn(rebuilt) && drawn(framebuffer);
    }, 30000));
    keep(screen, QStringLiteral("notice-xwd"));
    keep(pixels, QStringLiteral("notice-framebuffer"));
    EXPECT_EQ(rebuilt.darkened, 0);
    EXPECT_EQ(framebuffer.darkened, 0);
}

INSTANTIATE_TEST_SUITE_P(WithoutACompositor, WindowManagerEndToEnd, testing::Values(openbox, xfwm4),
                         [](const testing::TestParamInfo<WindowManager>& info) { return info.param.name; });

}  // namespace
