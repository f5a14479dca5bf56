// The whole app under Xvfb: started onboarded from a state folder of its own, driven by
// its global shortcuts and the mouse through xdotool, its clipboard read back with xclip.

#include "tests/e2e/AppDriver.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
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
    drag(5, 5, 600, 80);
    const std::optional<QString> copied = clipboardChangedFrom(std::nullopt);
    ASSERT_TRUE(copied.has_value()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(copied->trimmed(), QStringLiteral("Glyphnab copies visible text"));

    // The notice: a panel of the app near the top of the screen, centred.
    bool noticeShown = false;
    QElapsedTimer timer;
    timer.start();
    while (!noticeShown && timer.elapsed() < 3000) {
        for (const TestSupport::WindowGeometry& panel : visibleWindowsOf(process.processId()))
            if (panel.y < 60 && std::abs(panel.x + panel.width / 2 - 640) < 4)
                noticeShown = true;
        QThread::msleep(100);
    }
    EXPECT_TRUE(noticeShown);
    EXPECT_EQ(focusedWindow(), focusBefore);
}

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
    ASSERT_TRUE(owner.waitForReadyRead(10000));
    QProcess& process = startApp();
    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    QElapsedTimer timer;
    timer.start();
    while (session_.waitForWindow(overlayTitle, std::chrono::milliseconds(100)) && timer.elapsed() < 5000)
        QThread::msleep(100);
    QThread::msleep(500);
    EXPECT_EQ(session_.clipboardText(), QStringLiteral("kept as it was"));
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_F(AppEndToEnd, GrabCommandDrivesTheRunningInstance) {
    showText(QStringLiteral("Asked for from the command line"));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    QProcess& command = session_.start(app, {QStringLiteral("grab")});
    ASSERT_TRUE(session_.waitForWindow(overlayTitle, std::chrono::seconds(15)))
        << command.readAllStandardError().toStdString();
    drag(5, 5, 650, 80);
    ASSERT_TRUE(command.waitForFinished(30000));
    EXPECT_EQ(command.exitCode(), 0) << command.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(command.readAllStandardOutput()).trimmed(),
              QStringLiteral("Asked for from the command line"));
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
    const auto second = session_.run(app, {pdf}, std::chrono::seconds(20));
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
    const auto second = session_.run(app, {}, std::chrono::seconds(20));
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    const std::optional<QString> settings = session_.waitForWindow(QStringLiteral("Glyphnab Settings"));
    ASSERT_TRUE(settings);
    // Ctrl+W closes it; without its last window the app keeps running.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *settings});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+w")});
    EXPECT_TRUE(waitForWindowGone(QStringLiteral("Glyphnab Settings")));
    QThread::msleep(300);
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_F(AppEndToEnd, AFirstLaunchOpensTheFirstRunWindow) {
    QFile::remove(state_.filePath(QStringLiteral("defaults")));  // never onboarded
    QProcess& process = startApp();
    EXPECT_TRUE(session_.waitForWindow(QStringLiteral("Glyphnab"))) << process.readAllStandardError().toStdString();
}

}  // namespace
