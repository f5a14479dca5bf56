// The real area selector, hot keys and capture under Xvfb, driven by xdotool through a
// probe program that prints what they did.

#include "tests/support/XvfbSession.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using TestSupport::XvfbSession;

namespace {

const QString probe = QStringLiteral(GLYPHNAB_X11_PROBE_PATH);
const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);

// Lines a program printed, read as they come.
class Lines {
public:
    explicit Lines(QProcess& process) : process_(process) {}

    // Waits for a line starting with `prefix`; the whole line, or empty on timeout.
    QString waitFor(const QString& prefix, int milliseconds = 30000) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            for (qsizetype i = 0; i < seen_.size(); ++i) {
                if (seen_[i].startsWith(prefix))
                    return seen_.takeAt(i);
            }
            if (!process_.waitForReadyRead(100) && process_.state() == QProcess::NotRunning)
                break;
            while (process_.canReadLine())
                seen_ << QString::fromUtf8(process_.readLine()).trimmed();
        }
        while (process_.canReadLine())
            seen_ << QString::fromUtf8(process_.readLine()).trimmed();
        for (qsizetype i = 0; i < seen_.size(); ++i) {
            if (seen_[i].startsWith(prefix))
                return seen_.takeAt(i);
        }
        return {};
    }
    QStringList all() const { return seen_; }

private:
    QProcess& process_;
    QStringList seen_;
};

class X11DesktopEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        if (!session_.isRunning())
            GTEST_SKIP() << session_.error().toStdString();
    }
    void xdotool(const QStringList& arguments) {
        const auto result = session_.xdotool(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    }
    // Press at one point, move in steps, release at another.
    void drag(int x0, int y0, int x1, int y1) {
        xdotool({QStringLiteral("mousemove"), QString::number(x0), QString::number(y0)});
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        xdotool({QStringLiteral("mousemove"), QString::number((x0 + x1) / 2), QString::number((y0 + y1) / 2)});
        xdotool({QStringLiteral("mousemove"), QString::number(x1), QString::number(y1)});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    }

    XvfbSession session_{1280, 800};
};

TEST_F(X11DesktopEndToEnd, ADragGivesItsRectangleInGlobalPoints) {
    QProcess& process = session_.start(probe, {QStringLiteral("pick")});
    Lines lines(process);
    ASSERT_FALSE(lines.waitFor(QStringLiteral("ready")).isEmpty()) << process.readAllStandardError().toStdString();
    drag(100, 100, 300, 250);
    // 800 points high: the drag's bottom at y 250 is 550 above the screen's bottom edge.
    EXPECT_EQ(lines.waitFor(QStringLiteral("picked")), u"picked 100 550 200 150")
        << lines.all().join(u'|').toStdString();
}

TEST_F(X11DesktopEndToEnd, EscapeARightClickAndATinyDragGiveNothing) {
    {
        QProcess& process = session_.start(probe, {QStringLiteral("pick")});
        Lines lines(process);
        ASSERT_FALSE(lines.waitFor(QStringLiteral("ready")).isEmpty());
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        EXPECT_EQ(lines.waitFor(QStringLiteral("nothing")), u"nothing");
    }
    {
        QProcess& process = session_.start(probe, {QStringLiteral("pick")});
        Lines lines(process);
        ASSERT_FALSE(lines.waitFor(QStringLiteral("ready")).isEmpty());
        xdotool({QStringLiteral("mousemove"), QStringLiteral("400"), QStringLiteral("400")});
        xdotool({QStringLiteral("click"), QStringLiteral("3")});
        EXPECT_EQ(lines.waitFor(QStringLiteral("nothing")), u"nothing");
    }
    {
        QProcess& process = session_.start(probe, {QStringLiteral("pick")});
        Lines lines(process);
        ASSERT_FALSE(lines.waitFor(QStringLiteral("ready")).isEmpty());
        drag(500, 500, 503, 503);
        EXPECT_EQ(lines.waitFor(QStringLiteral("nothing")), u"nothing");
    }
}

TEST_F(X11DesktopEndToEnd, ASecondPickWhileOneRunsGivesNothing) {
    QProcess& process = session_.start(probe, {QStringLiteral("pick-twice")});
    Lines lines(process);
    EXPECT_EQ(lines.waitFor(QStringLiteral("second")), u"second: nothing");
    ASSERT_FALSE(lines.waitFor(QStringLiteral("ready")).isEmpty());
    drag(100, 100, 300, 250);
    EXPECT_EQ(lines.waitFor(QStringLiteral("picked")), u"picked 100 550 200 150");
}

TEST_F(X11DesktopEndToEnd, AHotKeyFiresOncePerPress) {
    QProcess& process = session_.start(probe, {QStringLiteral("hotkey")});
    Lines lines(process);
    ASSERT_EQ(lines.waitFor(QStringLiteral("registered")), u"registered 1");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+super+t")});
    EXPECT_EQ(lines.waitFor(QStringLiteral("fired")), u"fired grab");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+t")});
    // Once, and not for other keys: nothing more within a second (a busy machine can only
    // hide a fault here, never make one).
    EXPECT_TRUE(lines.waitFor(QStringLiteral("fired"), 1000).isEmpty());
}

TEST_F(X11DesktopEndToEnd, ASwitchOfVirtualDesktopIsSeenAndOtherRootPropertiesAreNot) {
    QProcess& process = session_.start(probe, {QStringLiteral("desktop-watch")});
    Lines lines(process);
    ASSERT_EQ(lines.waitFor(QStringLiteral("watching")), u"watching");
    const auto other = session_.run(probe, {QStringLiteral("set-root"), QStringLiteral("_GLYPHNAB_OTHER"), QStringLiteral("1")});
    ASSERT_EQ(other.exitCode, 0);
    EXPECT_TRUE(lines.waitFor(QStringLiteral("desktop"), 400).isEmpty());
    // The server queues the event for the watcher, however late its event loop starts.
    const auto desktop =
        session_.run(probe, {QStringLiteral("set-root"), QStringLiteral("_NET_CURRENT_DESKTOP"), QStringLiteral("1")});
    ASSERT_EQ(desktop.exitCode, 0);
    EXPECT_EQ(lines.waitFor(QStringLiteral("desktop")), u"desktop changed") << lines.all().join(u'|').toStdString();
}

TEST_F(X11DesktopEndToEnd, AProgramWithHotKeysQuitsCleanly) {
    // The hot keys outlive the application object; they must not touch its closed connection.
    const auto result = session_.run(probe, {QStringLiteral("hotkey"), QStringLiteral("200")});
    EXPECT_TRUE(result.finished) << result.err.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.startsWith(u"registered 1"));
}

TEST_F(X11DesktopEndToEnd, AShortcutHeldByAnotherClientIsRefusedWhileItStillFiresThere) {
    QProcess& holder = session_.start(probe, {QStringLiteral("hotkey")});
    Lines held(holder);
    ASSERT_EQ(held.waitFor(QStringLiteral("registered")), u"registered 1");
    QProcess& late = session_.start(probe, {QStringLiteral("hotkey")});
    Lines refused(late);
    EXPECT_EQ(refused.waitFor(QStringLiteral("refused")), u"refused grab");
    EXPECT_EQ(refused.waitFor(QStringLiteral("registered")), u"registered 0");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+super+t")});
    EXPECT_EQ(held.waitFor(QStringLiteral("fired")), u"fired grab");
    EXPECT_TRUE(refused.waitFor(QStringLiteral("fired"), 300).isEmpty());
}

TEST_F(X11DesktopEndToEnd, CaptureReturnsThePixelsOfAWindowOfKnownColour) {
    QProcess& window =
        session_.start(helper, {QStringLiteral("window"), QStringLiteral("#3366cc"), QStringLiteral("Known colour")});
    ASSERT_TRUE(TestSupport::waitForLine(window, QStringLiteral("painted")));
    // Desktop (50, 50, 100, 100) on an 800-point-high screen.
    const auto result = session_.run(probe, {QStringLiteral("capture"), QStringLiteral("50"), QStringLiteral("650"),
                                             QStringLiteral("100"), QStringLiteral("100")});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString() << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(u"size 100 100\n")) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(u"first #3366cc\n")) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(u"last #3366cc\n")) << result.out.toStdString();
    // Past the screen's edge the capture is cut to what is on screen.
    const auto edge = session_.run(probe, {QStringLiteral("capture"), QStringLiteral("1250"), QStringLiteral("-20"),
                                           QStringLiteral("100"), QStringLiteral("50")});
    EXPECT_EQ(edge.exitCode, 0) << edge.out.toStdString();
    EXPECT_TRUE(edge.out.contains(u"size 30 30\n")) << edge.out.toStdString();
}

}  // namespace
