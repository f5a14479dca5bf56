// The whole app under Xvfb: started onboarded from a state folder of its own, driven by
// its global shortcuts and the mouse through xdotool, its clipboard read back with xclip.

#include "tests/e2e/AppDriver.h"
#include "tests/support/BadInputs.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace {

const QString grabKeys = QStringLiteral("ctrl+shift+super+t");
const QString otherKeys = QStringLiteral("ctrl+shift+super+j");

class AppEndToEnd : public TestSupport::AppDriver {};

TEST_F(AppEndToEnd, ShortcutAndDragCopyTheTextShowTheNoticeAndLeaveTheFocus) {
    const QString window = showText(QStringLiteral("Glyphnab copies visible text"));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    const QString focusBefore = focusedWindow();
    QProcess& process = startApp();

    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    // The notice hides by itself a few seconds after it shows.
    QProcess& maps = watchMaps();
    drag(5, 5, 600, 80);
    const std::optional<QString> copied = clipboardChangedFrom(std::nullopt);
    ASSERT_TRUE(copied.has_value()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(copied->trimmed(), QStringLiteral("Glyphnab copies visible text"));

    // The notice: a panel near the top of the screen, centred.
    EXPECT_TRUE(waitForMapped(maps, [](const TestSupport::WindowGeometry& panel) {
        return panel.y < 60 && std::abs(panel.x + panel.width / 2 - 640) < 4;
    }));
    EXPECT_EQ(focusedWindow(), focusBefore);
}

// The selector takes the keyboard while the keys are still down, so their release goes to
// it rather than to the root window; the next press must not pass for auto-repeat.
class HeldShortcut : public TestSupport::AppDriver, public testing::WithParamInterface<bool> {};

TEST_P(HeldShortcut, EveryHeldPressOfTheShortcutOpensTheSelector) {
    if (GetParam()) {
        // With a compositor the selector is see-through; without one it freezes the screen first.
        QProcess& compositor = session_.start(QStringLiteral("xcompmgr"));
        ASSERT_TRUE(compositor.waitForStarted(30000));
    }
    showText(QStringLiteral("Held like a hand holds it"));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(overlayTitle));

    auto fourHeldGrabs = [&](const std::optional<QString>& focus) {
        int opened = 0;
        for (int i = 0; i < 4; ++i) {
            if (focus)
                xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *focus});
            holdKeys(grabKeys);
            if (session_.waitForWindow(overlayTitle)) {
                ++opened;
                xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
                EXPECT_TRUE(waitForWindowGone(overlayTitle));
            }
        }
        return opened;
    };
    EXPECT_EQ(fourHeldGrabs(std::nullopt), 4);

    // The same with one of the app's own windows focused.
    ASSERT_TRUE(session_.run(app, {}, std::chrono::seconds(60)).finished);
    const std::optional<QString> settings = session_.waitForWindow(QStringLiteral("Glyphnab Settings"));
    ASSERT_TRUE(settings);
    EXPECT_EQ(fourHeldGrabs(settings), 4);
    EXPECT_EQ(process.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(AppEndToEnd, HeldShortcut, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithACompositor" : "WithoutACompositor";
                         });

TEST_F(AppEndToEnd, TheOtherShortcutJoinsAParagraphsLines) {
    showText(QStringLiteral("The quick brown fox jumps\nover the lazy dog today"));
    QProcess& process = startApp();
    ASSERT_TRUE(pressUntilOverlay(otherKeys)) << process.readAllStandardError().toStdString();
    drag(5, 5, 600, 120);
    const std::optional<QString> copied = clipboardChangedFrom(std::nullopt);
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->trimmed(), QStringLiteral("The quick brown fox jumps over the lazy dog today"));
}

TEST_F(AppEndToEnd, EscapeLeavesTheClipboardAsItWas) {
    showText(QStringLiteral("Nothing of this is copied"));
    QProcess& owner = session_.start(helper, {QStringLiteral("clip"), QStringLiteral("kept as it was")});
    ASSERT_TRUE(owner.waitForReadyRead(30000));
    QProcess& process = startApp();
    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(overlayTitle));
    EXPECT_EQ(session_.clipboardText(), QStringLiteral("kept as it was"));
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_F(AppEndToEnd, GrabCommandDrivesTheRunningInstance) {
    showText(QStringLiteral("Asked for from the command line"));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    QProcess& command = session_.start(app, {QStringLiteral("grab")});
    ASSERT_TRUE(session_.waitForWindow(overlayTitle))
        << command.readAllStandardError().toStdString();
    drag(5, 5, 650, 80);
    ASSERT_TRUE(command.waitForFinished(60000));
    EXPECT_EQ(command.exitCode(), 0) << command.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(command.readAllStandardOutput()).trimmed(),
              QStringLiteral("Asked for from the command line"));
}

// With the clipboard route the command does what the shortcut does: it reads the
// clipboard and ends with a message, without a selector waiting out its minute.
TEST_F(AppEndToEnd, GrabCommandUnderTheClipboardRouteEndsWithItsResult) {
    writePreferences(R"({"onboarded":true,"route":"clipboard"})");
    QProcess& owner = session_.start(helper, {QStringLiteral("clip"), QStringLiteral("words, no picture")});
    ASSERT_TRUE(owner.waitForReadyRead(30000));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const auto command = session_.run(app, {QStringLiteral("grab")}, std::chrono::seconds(60));
    ASSERT_TRUE(command.finished) << "the command hangs";
    EXPECT_NE(command.exitCode, 0);
    EXPECT_TRUE(command.err.contains(QStringLiteral("No picture on the clipboard"))) << command.err.toStdString();
    EXPECT_FALSE(session_.waitForWindow(overlayTitle, std::chrono::milliseconds(300)));
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_F(AppEndToEnd, AFileGivenToASecondStartIsReadByTheRunningOne) {
    const QString pdf = state_.filePath(QStringLiteral("letter.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        QFont font = painter.font();
        font.setPointSize(14);
        painter.setFont(font);
        painter.drawText(QPointF(200, 600), QStringLiteral("Portable document text"));
    }
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const auto second = session_.run(app, {pdf}, std::chrono::seconds(60));
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    const std::optional<QString> copied = clipboardChangedFrom(std::nullopt);
    ASSERT_TRUE(copied.has_value()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(copied->trimmed(), QStringLiteral("Portable document text"));
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_F(AppEndToEnd, ASecondStartWithoutFilesOpensSettingsInTheRunningOneAndEnds) {
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const auto second = session_.run(app, {}, std::chrono::seconds(60));
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    const std::optional<QString> settings = session_.waitForWindow(QStringLiteral("Glyphnab Settings"));
    ASSERT_TRUE(settings);
    // Ctrl+W closes it; without its last window the app keeps running.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *settings});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+w")});
    EXPECT_TRUE(waitForWindowGone(QStringLiteral("Glyphnab Settings")));
    EXPECT_FALSE(process.waitForFinished(1000));  // it keeps running
}

TEST_F(AppEndToEnd, AFirstLaunchOpensTheFirstRunWindow) {
    QFile::remove(state_.filePath(QStringLiteral("defaults")));  // never onboarded
    QProcess& process = startApp();
    EXPECT_TRUE(session_.waitForWindow(QStringLiteral("Glyphnab"))) << process.readAllStandardError().toStdString();
}

}  // namespace

TEST_F(AppEndToEnd, APictureBuiltToStallTheDecoderLeavesTheAppAnswering) {
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const QString address = session_.environment().value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("bomb-caller"));
    ASSERT_TRUE(bus.isConnected());
    const auto timedCall = [&bus](const QString& interface, const QString& method, const QVariantList& arguments) {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.glyphnab.Glyphnab"),
                                                           QStringLiteral("/org/glyphnab/Glyphnab"), interface, method);
        call.setArguments(arguments);
        QElapsedTimer clock;
        clock.start();
        const QDBusMessage reply = bus.call(call, QDBus::Block, 60'000);
        return std::pair{reply, clock.elapsed()};
    };
    const QString glyphnab = QStringLiteral("org.glyphnab.Glyphnab");
    // Drawn until the picture's time budget ends it.
    const auto [copied, copyTook] = timedCall(
        glyphnab, QStringLiteral("CopyText"),
        {QStringList(), BadInputs::svgWithDashedPaths(20'000), QStringLiteral("image/svg+xml")});
    EXPECT_EQ(copied.type(), QDBusMessage::ReplyMessage) << copied.errorMessage().toStdString();
    EXPECT_LT(copyTook, 1000);
    // Every call while it is drawn is answered at once: another copy is refused as busy.
    const QByteArray picture = BadInputs::encoded(BadInputs::textPicture(QStringLiteral("Hello")), "PNG");
    int busyAnswers = 0;
    QElapsedTimer whole;
    whole.start();
    // Past the picture's budget the reading has ended, however busy the machine.
    while (whole.elapsed() < 120'000) {
        const auto [answered, answerTook] =
            timedCall(QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"), {});
        EXPECT_EQ(answered.type(), QDBusMessage::ReplyMessage);
        EXPECT_LT(answerTook, 1000);
        const auto [again, againTook] =
            timedCall(glyphnab, QStringLiteral("CopyText"), {QStringList(), picture, QStringLiteral("image/png")});
        EXPECT_LT(againTook, 1000);
        if (again.type() != QDBusMessage::ErrorMessage || !again.errorMessage().contains(u"still reading"))
            break;
        ++busyAnswers;
        QThread::msleep(250);
    }
    EXPECT_GT(busyAnswers, 0);
    EXPECT_LT(whole.elapsed(), 120'000);
    // And it still ends when asked to.
    process.terminate();
    EXPECT_TRUE(process.waitForFinished(20'000));
    QDBusConnection::disconnectFromBus(QStringLiteral("bomb-caller"));
}

TEST_F(AppEndToEnd, TwoStartsAtOnceLeaveOneAppAndTheOtherHandsItsRequestOver) {
    // The later start can find the name taken before the first has its object on the bus.
    for (int attempt = 0; attempt < 10; ++attempt) {
        QProcess& first = startApp();
        QProcess& second = startApp();
        ASSERT_TRUE(TestSupport::waitUntil(
            [&] { return first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning; },
            std::chrono::seconds(30)))
            << attempt;
        QProcess& ended = first.state() == QProcess::NotRunning ? first : second;
        QProcess& running = &ended == &first ? second : first;
        EXPECT_EQ(ended.exitStatus(), QProcess::NormalExit) << attempt;
        EXPECT_EQ(ended.exitCode(), 0) << attempt << ": " << ended.readAllStandardError().toStdString();
        EXPECT_EQ(running.state(), QProcess::Running) << attempt;
        running.terminate();
        EXPECT_TRUE(running.waitForFinished(20'000));
    }
}
