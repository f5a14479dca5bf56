// The app on a headless Wayland desktop (sway) with the desktop portal of wlroots: the
// grab command pictures the screens through the portal's Screenshot and covers the output
// with the frozen picture; without a portal the app says what is missing.

#include "tests/support/SessionProcesses.h"
#include "tests/support/WaylandSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using TestSupport::WaylandSession;

// The windows sway maps from now on, as its event stream tells them: a short-lived window
// is seen however late the test looks.
class MappedWindows {
public:
    explicit MappedWindows(WaylandSession& session)
        : events_(session.start(QStringLiteral("swaymsg"), {QStringLiteral("-m"), QStringLiteral("-t"),
                                                             QStringLiteral("subscribe"), QStringLiteral("[\"window\"]")})) {}

    // Shows small windows until sway reports one: swaymsg prints no answer to the
    // subscription itself.
    bool waitUntilListening(WaylandSession& session, const QString& helper) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
            QProcess& probe = session.start(helper, {QStringLiteral("window"), QStringLiteral("#000000"),
                                                     QStringLiteral("Listening"), QString(), QStringLiteral("0"),
                                                     QStringLiteral("40x40")});
            const bool seen = waitForObject(
                [&](const QJsonObject& event) {
                    return event.value(QStringLiteral("change")).toString() == u"new" &&
                           event.value(QStringLiteral("container")).toObject().value(QStringLiteral("pid")).toInteger() ==
                               probe.processId();
                },
                10000);
            TestSupport::stopProcess(probe);
            if (seen)
                return true;
        }
        return false;
    }

    // Waits for a window of the process mapped after one of its windows went (the notice
    // after the overlay).
    bool waitForWindowAfterOneWent(qint64 pid) {
        bool went = false;
        return waitForObject(
            [&](const QJsonObject& event) {
                if (event.value(QStringLiteral("container")).toObject().value(QStringLiteral("pid")).toInteger() != pid)
                    return false;
                const QString change = event.value(QStringLiteral("change")).toString();
                went = went || change == u"close";
                return went && change == u"new";
            },
            30000);
    }

    QString seen() const { return QString::fromUtf8(all_ + events_.readAllStandardError()); }

private:
    // swaymsg prints each answer and event as a JSON object over one or several lines.
    std::optional<QJsonObject> nextObject() {
        int depth = 0;
        bool quoted = false;
        bool escaped = false;
        for (qsizetype i = 0; i < pending_.size(); ++i) {
            const char c = pending_[i];
            if (escaped) {
                escaped = false;
            } else if (quoted) {
                escaped = c == '\\';
                quoted = c != '"';
            } else if (c == '"') {
                quoted = true;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                const QJsonObject object = QJsonDocument::fromJson(pending_.left(i + 1)).object();
                pending_.remove(0, i + 1);
                return object;
            }
        }
        return std::nullopt;
    }

    bool waitForObject(const std::function<bool(const QJsonObject&)>& wanted, int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            const QByteArray read = events_.readAllStandardOutput();
            pending_ += read;
            all_ += read;
            while (const std::optional<QJsonObject> object = nextObject())
                if (wanted(*object))
                    return true;
            if (!events_.waitForReadyRead(500) && events_.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    QProcess& events_;
    QByteArray pending_;
    QByteArray all_;
};

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
        QProcess& text = session.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"),
                                                QStringLiteral("Text to grab"), QStringLiteral("Glyphnab reads Wayland"),
                                                QStringLiteral("28"), QStringLiteral("800x200")});
        // On screen before the portal pictures it: on a busy machine the app can be up first.
        ASSERT_TRUE(TestSupport::waitForLine(text, QStringLiteral("painted"), std::chrono::seconds(60)));
        app_ = &session.start(app, {QStringLiteral("--state-dir"), state_.path()});
        ASSERT_TRUE(waitForName(session)) << app_->readAllStandardError().toStdString();
    }

    static bool waitForName(const WaylandSession& session) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
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
        while (timer.elapsed() < 60000) {
            QProcess& grab = session.start(app, {QStringLiteral("grab")});
            const bool covered =
                waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) >= 1 ||
                                     grab.state() == QProcess::NotRunning; },
                        30000);
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
    grab->waitForFinished(30000);
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 0; }, 30000));
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
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 2; }, 30000))
        << app_->readAllStandardError().toStdString();
    grab->kill();
    grab->waitForFinished(30000);
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 0; }, 30000));
}

#ifdef GLYPHNAB_WL_POINTER_PATH
TEST_F(WaylandEndToEnd, TheGrabCommandAndADragPutTheTextOnTheClipboard) {
    WaylandSession session;
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    // The done notice hides by itself a few seconds on: followed from sway's events, it is
    // seen however late the test looks.
    MappedWindows mapped(session);
    ASSERT_TRUE(mapped.waitUntilListening(session, helper)) << mapped.seen().toStdString();
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
    ASSERT_TRUE(grab.waitForFinished(90000)) << app_->readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(grab.readAllStandardOutput()).trimmed(), QStringLiteral("Glyphnab reads Wayland"))
        << grab.readAllStandardError().toStdString();
    const auto copied = session.clipboardText();
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->trimmed(), QStringLiteral("Glyphnab reads Wayland"));
    // The overlay is gone and the done notice showed, floating: a tiled one would take half
    // the workspace.
    EXPECT_TRUE(waitFor([&] { return session.fullScreenWindowsOf(app_->processId()) == 0; }, 30000));
    EXPECT_TRUE(waitFor([&] { return session.windowsOf(app_->processId(), true) == 1; }, 30000));
    EXPECT_TRUE(mapped.waitForWindowAfterOneWent(app_->processId())) << mapped.seen().toStdString();
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
            result = session.run(app, {QStringLiteral("grab")}, std::chrono::seconds(30));
            return !result.err.contains(QStringLiteral("isn't ready yet"));
        },
        60000);
    EXPECT_EQ(session.fullScreenWindowsOf(app_->processId()), 0);
    EXPECT_TRUE(result.finished);
    EXPECT_NE(result.exitCode, 0) << result.out.toStdString();
    // What is missing is named; no permission is blamed.
    EXPECT_TRUE(result.err.contains(QStringLiteral("Screenshot backend"))) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains(QStringLiteral("Screen Recording"))) << result.err.toStdString();
}

}  // namespace
