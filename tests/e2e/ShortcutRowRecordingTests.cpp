// A shortcut row records the registered grab shortcut under Xvfb: the keys reach the
// field, not the hot-key handler, and the hot keys come back once recording ends.

#include "tests/support/XvfbSession.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using TestSupport::XvfbSession;

const QString rowProbe = QStringLiteral(GLYPHNAB_ROW_PROBE_PATH);
const QString x11Probe = QStringLiteral(GLYPHNAB_X11_PROBE_PATH);

// Collects the probe's lines into `seen` until `line` has been printed `times` times, for
// up to `milliseconds`.
bool sawLine(QProcess& process, QStringList& seen, const QString& line, int milliseconds = 30000, int times = 1) {
    QElapsedTimer timer;
    timer.start();
    while (true) {
        while (process.canReadLine())
            seen << QString::fromUtf8(process.readLine()).trimmed();
        if (seen.count(line) >= times)
            return true;
        if (timer.elapsed() > milliseconds)
            return false;
        if (!process.waitForReadyRead(100) && process.state() == QProcess::NotRunning) {
            while (process.canReadLine())
                seen << QString::fromUtf8(process.readLine()).trimmed();
            return seen.count(line) >= times;
        }
    }
}

TEST(ShortcutRowRecording, TheRegisteredGrabShortcutIsRecordedAndDoesNotFire) {
    XvfbSession session(1024, 768);
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    QProcess& probe = session.start(rowProbe);
    QStringList seen;
    ASSERT_TRUE(sawLine(probe, seen, QStringLiteral("registered 1"))) << seen.join(u'|').toStdString();
    const std::optional<QString> window = session.waitForWindow(QStringLiteral("Row probe"));
    ASSERT_TRUE(window.has_value());
    // Mapped is not yet viewable: the focus request may be refused for a moment.
    TestSupport::CommandResult focus;
    QElapsedTimer focusing;
    focusing.start();
    while (focusing.elapsed() < 30000) {
        focus = session.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *window});
        if (focus.exitCode == 0)
            break;
        QThread::msleep(100);
    }
    ASSERT_EQ(focus.exitCode, 0) << focus.err.toStdString();
    ASSERT_TRUE(sawLine(probe, seen, QStringLiteral("recording"))) << seen.join(u'|').toStdString();
    ASSERT_TRUE(sawLine(probe, seen, QStringLiteral("registered 0")));  // held while recording
    const auto keys = session.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+super+t")});
    ASSERT_EQ(keys.exitCode, 0) << keys.err.toStdString();

    // Key code 17 (T) with Control, Shift and Command (Super): 1 + 4 + 8.
    EXPECT_TRUE(sawLine(probe, seen, QStringLiteral("stored 17 13"))) << seen.join(u'|').toStdString();
    EXPECT_TRUE(sawLine(probe, seen, QStringLiteral("registered 1"), 30000, 2));  // the hold ended
    // Nothing fires within a second (a busy machine can only hide a fault here).
    sawLine(probe, seen, QStringLiteral("fired grab"), 1000);
    EXPECT_FALSE(seen.contains(QStringLiteral("fired grab"))) << seen.join(u'|').toStdString();

    // Recording is over: the same keys now fire the hot key.
    const auto again = session.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+super+t")});
    ASSERT_EQ(again.exitCode, 0);
    EXPECT_TRUE(sawLine(probe, seen, QStringLiteral("fired grab"))) << seen.join(u'|').toStdString();
}

TEST(ShortcutRowRecording, TheWindowManagersKeysAreRecordedNotActedOn) {
    XvfbSession session(1024, 768);
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    // Another client holds Ctrl+Alt+D on the root window, as a window manager does.
    QProcess& wm = session.start(x11Probe, {QStringLiteral("wm-key"), QStringLiteral("120000")});
    QStringList wmSeen;
    ASSERT_TRUE(sawLine(wm, wmSeen, QStringLiteral("registered 1"))) << wmSeen.join(u'|').toStdString();
    const auto before = session.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+d")});
    ASSERT_EQ(before.exitCode, 0);
    ASSERT_TRUE(sawLine(wm, wmSeen, QStringLiteral("fired wm"))) << "the held keys reach their holder";

    QProcess& probe = session.start(rowProbe);
    QStringList seen;
    const std::optional<QString> window = session.waitForWindow(QStringLiteral("Row probe"));
    ASSERT_TRUE(window.has_value());
    QElapsedTimer focusing;
    focusing.start();
    while (focusing.elapsed() < 30000 &&
           session.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *window}).exitCode != 0)
        QThread::msleep(100);
    // The field has the keyboard once it says so: the grab is answered before.
    ASSERT_TRUE(sawLine(probe, seen, QStringLiteral("recording"))) << seen.join(u'|').toStdString();
    const auto keys = session.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+d")});
    ASSERT_EQ(keys.exitCode, 0) << keys.err.toStdString();
    // Key code 2 (D) with Control and Option (Alt): 1 + 2.
    EXPECT_TRUE(sawLine(probe, seen, QStringLiteral("stored 2 3"))) << seen.join(u'|').toStdString();
    sawLine(wm, wmSeen, QStringLiteral("fired wm"), 1000, 2);
    EXPECT_EQ(wmSeen.count(QStringLiteral("fired wm")), 1) << "the window manager acted on the keys";

    // Recording is over: the keyboard is free and the holder gets its keys again.
    ASSERT_TRUE(sawLine(probe, seen, QStringLiteral("registered 1"), 30000, 2)) << seen.join(u'|').toStdString();
    const auto again = session.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+d")});
    ASSERT_EQ(again.exitCode, 0);
    EXPECT_TRUE(sawLine(wm, wmSeen, QStringLiteral("fired wm"), 8000, 2)) << wmSeen.join(u'|').toStdString();
}

}  // namespace
