// The end-to-end fixture itself: a display, a bus, a window on screen, a clipboard that
// xclip reads, and the app starting and stopping under them.

#include "tests/support/XvfbSession.h"


#include <gtest/gtest.h>

#include <csignal>

using TestSupport::XvfbSession;

namespace {

const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);
const QString app = QStringLiteral(GLYPHNAB_APP_PATH);

TEST(DesktopFixture, WindowOfKnownColourIsOnScreen) {
    XvfbSession session;
    ASSERT_TRUE(session.isRunning()) << session.error().toStdString();
    QProcess& window =
        session.start(helper, {QStringLiteral("window"), QStringLiteral("#3366cc"), QStringLiteral("Known colour")});
    ASSERT_TRUE(TestSupport::waitForLine(window, QStringLiteral("painted")));
    const auto pixel = session.run(helper, {QStringLiteral("pixel"), QStringLiteral("200"), QStringLiteral("150")});
    EXPECT_EQ(pixel.exitCode, 0) << pixel.err.toStdString();
    EXPECT_EQ(pixel.out.trimmed(), QStringLiteral("#3366cc"));
}

TEST(DesktopFixture, TextOnThePasteboardIsReadBackByXclip) {
    XvfbSession session;
    ASSERT_TRUE(session.isRunning()) << session.error().toStdString();
    const QString text = QStringLiteral("Grüße — line one\nline two");
    QProcess& owner = session.start(helper, {QStringLiteral("clip"), text});
    ASSERT_TRUE(owner.waitForReadyRead(30000));
    EXPECT_EQ(session.clipboardText(), text);
}

TEST(DesktopFixture, AppReportsItsVersion) {
    XvfbSession session;
    ASSERT_TRUE(session.isRunning()) << session.error().toStdString();
    const auto result = session.run(app, {QStringLiteral("--version")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("Glyphnab "))) << result.out.toStdString();
}

TEST(DesktopFixture, AppRunsUntilTerminatedAndExitsCleanly) {
    XvfbSession session;
    ASSERT_TRUE(session.isRunning()) << session.error().toStdString();
    QProcess& process = session.start(app);
    ASSERT_EQ(process.state(), QProcess::Running);
    EXPECT_FALSE(process.waitForFinished(1500));  // still running on its own
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

}  // namespace
