// The whole app under Xvfb: started onboarded from a state folder of its own, driven by
// its global shortcuts and the mouse through xdotool, its clipboard read back with xclip.

#include "tests/support/XvfbSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using TestSupport::XvfbSession;

namespace {

const QString app = QStringLiteral(GLYPHNAB_APP_PATH);
const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);
const QString grabKeys = QStringLiteral("ctrl+shift+super+t");
const QString otherKeys = QStringLiteral("ctrl+shift+super+j");
const QString overlayTitle = QStringLiteral("Area selector");

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

class AppEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        if (!session_.isRunning())
            GTEST_SKIP() << session_.error().toStdString();
        ASSERT_TRUE(state_.isValid());
        // A user who finished onboarding: no window at launch.
        QSettings defaults(state_.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
        defaults.setValue(QStringLiteral("preferences"), QByteArray(R"({"onboarded":true})"));
        defaults.sync();
        ASSERT_EQ(defaults.status(), QSettings::NoError);
    }

    QProcess& startApp() {
        QProcess& process = session_.start(app, {QStringLiteral("--state-dir"), state_.path()});
        EXPECT_EQ(process.state(), QProcess::Running);
        return process;
    }

    // A window of black text on white at the top left; its window id.
    QString showText(const QString& text, int pixels = 22, const QString& size = QStringLiteral("700x200")) {
        const QString title = QStringLiteral("Text to grab");
        session_.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), title, text,
                                QString::number(pixels), size});
        const std::optional<QString> id = session_.waitForWindow(title);
        EXPECT_TRUE(id.has_value());
        QThread::msleep(300);  // first paint
        return id.value_or(QString());
    }

    void xdotool(const QStringList& arguments) const {
        const auto result = session_.xdotool(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    }

    // Presses the shortcut until the overlay is up: the app registers its keys a moment
    // after it starts.
    bool pressUntilOverlay(const QString& keys) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            session_.xdotool({QStringLiteral("key"), keys});
            if (session_.waitForWindow(overlayTitle, std::chrono::milliseconds(700)))
                return true;
        }
        return false;
    }

    void drag(int x0, int y0, int x1, int y1) const {
        xdotool({QStringLiteral("mousemove"), QString::number(x0), QString::number(y0)});
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        xdotool({QStringLiteral("mousemove"), QString::number((x0 + x1) / 2), QString::number((y0 + y1) / 2)});
        xdotool({QStringLiteral("mousemove"), QString::number(x1), QString::number(y1)});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    }

    // The clipboard once it differs from `before`, or nothing within the time.
    std::optional<QString> clipboardChangedFrom(const std::optional<QString>& before, int milliseconds = 15000) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            const std::optional<QString> now = session_.clipboardText();
            if (now && now != before)
                return now;
            QThread::msleep(100);
        }
        return std::nullopt;
    }

    QList<Geometry> visibleWindowsOf(qint64 pid) const {
        QList<Geometry> windows;
        const auto ids = session_.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--pid"), QString::number(pid)});
        for (const QString& id : ids.out.split(u'\n', Qt::SkipEmptyParts)) {
            const auto shell =
                session_.xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id.trimmed()});
            Geometry geometry;
            for (const QString& line : shell.out.split(u'\n', Qt::SkipEmptyParts)) {
                const QString value = line.section(u'=', 1);
                if (line.startsWith(u"X="))
                    geometry.x = value.toInt();
                else if (line.startsWith(u"Y="))
                    geometry.y = value.toInt();
                else if (line.startsWith(u"WIDTH="))
                    geometry.width = value.toInt();
                else if (line.startsWith(u"HEIGHT="))
                    geometry.height = value.toInt();
            }
            windows.append(geometry);
        }
        return windows;
    }

    // Whether the app took its name on the session bus in time.
    bool waitForBusName() const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            const auto owned = session_.run(
                QStringLiteral("dbus-send"),
                {QStringLiteral("--session"), QStringLiteral("--print-reply"), QStringLiteral("--dest=org.freedesktop.DBus"),
                 QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus.NameHasOwner"),
                 QStringLiteral("string:org.glyphnab.Glyphnab")});
            if (owned.out.contains(u"boolean true"))
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    QString focusedWindow() const {
        return session_.xdotool({QStringLiteral("getwindowfocus")}).out.trimmed();
    }

    XvfbSession session_{1280, 800};
    QTemporaryDir state_;
};

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
        for (const Geometry& panel : visibleWindowsOf(process.processId()))
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

}  // namespace
