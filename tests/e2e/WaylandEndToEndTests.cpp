// The app on a headless Wayland desktop (sway) with the desktop portal of wlroots: the
// grab command pictures the screens through the portal's Screenshot and covers the output
// with the frozen picture; without a portal the app says what is missing.

#include "tests/support/WaylandSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using TestSupport::WaylandSession;

const QString app = QStringLiteral(GLYPHNAB_APP_PATH);
const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);

class WaylandEndToEnd : public testing::Test {
protected:
    void start(WaylandSession& session) {
        if (!session.isRunning())
            GTEST_SKIP() << session.error().toStdString();
        ASSERT_TRUE(state_.isValid());
        QSettings defaults(state_.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
        defaults.setValue(QStringLiteral("preferences"), QByteArray(R"({"onboarded":true})"));
        defaults.sync();
        session.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), QStringLiteral("Text to grab"),
                               QStringLiteral("Glyphnab reads Wayland"), QStringLiteral("28"),
                               QStringLiteral("800x200")});
        app_ = &session.start(app, {QStringLiteral("--state-dir"), state_.path()});
        ASSERT_TRUE(waitForName(session)) << app_->readAllStandardError().toStdString();
    }

    static bool waitForName(const WaylandSession& session) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            const auto owned = session.run(QStringLiteral("busctl"),
                                           {QStringLiteral("--user"), QStringLiteral("status"),
                                            QStringLiteral("org.glyphnab.Glyphnab")},
                                           std::chrono::seconds(5));
            if (owned.finished && owned.exitCode == 0)
                return true;
            QThread::msleep(200);
        }
        return false;
    }

    // Starts `glyphnab grab` once the app's overlay is up for it; the app owns its name a
    // moment before its model is ready, and says so.
    QProcess* startGrab(WaylandSession& session) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            QProcess& grab = session.start(app, {QStringLiteral("grab")});
            const bool covered =
                waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) >= 1 ||
                                     grab.state() == QProcess::NotRunning; },
                        20000);
            if (covered && grab.state() == QProcess::Running)
                return &grab;
            QThread::msleep(200);
        }
        return nullptr;
    }

    static bool waitFor(const std::function<bool()>& condition, int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            if (condition())
                return true;
            QThread::msleep(100);
        }
        return condition();
    }

    QTemporaryDir state_;
    QProcess* app_ = nullptr;
};

TEST_F(WaylandEndToEnd, TheGrabCommandCoversTheOutputWithThePortalsPictureAndEndsWithTheCaller) {
    WaylandSession session;
    start(session);
    if (HasFatalFailure() || IsSkipped())
        return;
    // The command waits for the pick; leaving the bus ends the pick with it.
    QProcess* grab = startGrab(session);
    ASSERT_NE(grab, nullptr) << app_->readAllStandardError().toStdString();
    grab->kill();
    grab->waitForFinished(3000);
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 0; }, 10000));
    // No screenshot stays behind where the portal left it.
    const QStringList pictures = QDir(session.environment().value(QStringLiteral("HOME")))
                                     .entryList({QStringLiteral("*.png")}, QDir::Files);
    EXPECT_TRUE(pictures.isEmpty()) << pictures.join(u' ').toStdString();
}

TEST_F(WaylandEndToEnd, EachOutputGetsItsOwnPanel) {
    WaylandSession session;
    if (session.isRunning()) {
        ASSERT_TRUE(session.addOutput(1280, 1024, 768));
    }
    start(session);
    if (HasFatalFailure() || IsSkipped())
        return;
    QProcess* grab = startGrab(session);
    ASSERT_NE(grab, nullptr) << app_->readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 2; }, 20000))
        << app_->readAllStandardError().toStdString();
    grab->kill();
    grab->waitForFinished(3000);
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 0; }, 10000));
}

#ifdef GLYPHNAB_WL_POINTER_PATH
TEST_F(WaylandEndToEnd, TheGrabCommandAndADragPutTheTextOnTheClipboard) {
    WaylandSession session;
    start(session);
    if (HasFatalFailure() || IsSkipped())
        return;
    QProcess* started = startGrab(session);
    ASSERT_NE(started, nullptr) << app_->readAllStandardError().toStdString();
    QProcess& grab = *started;
    const auto dragged = session.run(QStringLiteral(GLYPHNAB_WL_POINTER_PATH),
                                     {QStringLiteral("1280"), QStringLiteral("800"), QStringLiteral("5"),
                                      QStringLiteral("5"), QStringLiteral("700"), QStringLiteral("90")});
    ASSERT_EQ(dragged.exitCode, 0) << dragged.err.toStdString();
    ASSERT_TRUE(grab.waitForFinished(60000)) << app_->readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(grab.readAllStandardOutput()).trimmed(), QStringLiteral("Glyphnab reads Wayland"))
        << grab.readAllStandardError().toStdString();
    const auto copied = session.clipboardText();
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->trimmed(), QStringLiteral("Glyphnab reads Wayland"));
    // The overlay is gone and the done notice shows, floating: a tiled one would take half
    // the workspace.
    EXPECT_EQ(session.fullScreenWindowsOf(app_->processId()), 0);
    EXPECT_TRUE(waitFor([&] { return session.windowsOf(app_->processId(), true) == 1; }, 5000));
}
#endif

TEST_F(WaylandEndToEnd, WithoutAPortalNoOverlayOpensAndTheCommandFailsWithAReason) {
    WaylandSession session(false);
    start(session);
    if (HasFatalFailure() || IsSkipped())
        return;
    // The app owns its name a moment before its model is up.
    TestSupport::CommandResult result;
    waitFor(
        [&] {
            result = session.run(app, {QStringLiteral("grab")}, std::chrono::seconds(20));
            return !result.err.contains(QStringLiteral("isn't ready yet"));
        },
        15000);
    EXPECT_EQ(session.fullScreenWindowsOf(app_->processId()), 0);
    EXPECT_TRUE(result.finished);
    EXPECT_NE(result.exitCode, 0) << result.out.toStdString();
    // What is missing is named; no permission is blamed.
    EXPECT_TRUE(result.err.contains(QStringLiteral("Screenshot backend"))) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains(QStringLiteral("Screen Recording"))) << result.err.toStdString();
}

}  // namespace
