#pragma once

// A fixture that runs the whole app under Xvfb from a state folder of its own and drives
// it as a user would: global shortcuts, the mouse and keys through xdotool, the clipboard
// read back with xclip, the screen photographed by the desktop helper.

#include "tests/support/XvfbSession.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace TestSupport {

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

class AppDriver : public testing::Test {
protected:
    AppDriver() = default;
    // The app on a desktop of several monitors, the first the primary.
    explicit AppDriver(const QList<QRect>& monitors) : session_(monitors) {}

    static inline const QString app = QStringLiteral(GLYPHNAB_APP_PATH);
    static inline const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);
    static inline const QString overlayTitle = QStringLiteral("Area selector");

    void SetUp() override {
        if (!session_.isRunning())
            GTEST_SKIP() << session_.error().toStdString();
        ASSERT_TRUE(state_.isValid());
        // A user who finished onboarding: no window at launch.
        writePreferences(R"({"onboarded":true})");
    }

    void writePreferences(const QByteArray& json) const {
        QSettings defaults(state_.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
        defaults.setValue(QStringLiteral("preferences"), json);
        defaults.sync();
        ASSERT_EQ(defaults.status(), QSettings::NoError);
    }

    // The preferences JSON the app stored last.
    QByteArray storedPreferences() const {
        const QSettings defaults(state_.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
        return defaults.value(QStringLiteral("preferences")).toByteArray();
    }

    QProcess& startApp() {
        QProcess& process = session_.start(app, {QStringLiteral("--state-dir"), state_.path()});
        EXPECT_EQ(process.state(), QProcess::Running);
        return process;
    }

    // A window of black text on white at the top left; its window id.
    QString showText(const QString& text, int pixels = 22, const QString& size = QStringLiteral("700x200")) {
        const QString title = QStringLiteral("Text to grab");
        QProcess& window = session_.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), title, text,
                                                   QString::number(pixels), size});
        EXPECT_TRUE(waitForLine(window, QStringLiteral("painted")));
        const std::optional<QString> id = session_.waitForWindow(title);
        EXPECT_TRUE(id.has_value());
        return id.value_or(QString());
    }

    void xdotool(const QStringList& arguments) const {
        const auto result = session_.xdotool(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    }

    void click(int x, int y) const {
        xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
        xdotool({QStringLiteral("click"), QStringLiteral("1")});
    }

    // Presses the shortcut until the overlay is up: the app registers its keys a moment
    // after it starts.
    bool pressUntilOverlay(const QString& keys) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
            session_.xdotool({QStringLiteral("key"), keys});
            if (session_.waitForWindow(overlayTitle, std::chrono::milliseconds(700)))
                return true;
        }
        return false;
    }

    // Holds the keys down as a hand does, for a quarter second, then lets them go.
    void holdKeys(const QString& keys, int milliseconds = 250) const {
        xdotool({QStringLiteral("keydown"), keys});
        QThread::msleep(static_cast<unsigned long>(milliseconds));
        xdotool({QStringLiteral("keyup"), keys});
    }

    void drag(int x0, int y0, int x1, int y1) const {
        xdotool({QStringLiteral("mousemove"), QString::number(x0), QString::number(y0)});
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        xdotool({QStringLiteral("mousemove"), QString::number((x0 + x1) / 2), QString::number((y0 + y1) / 2)});
        xdotool({QStringLiteral("mousemove"), QString::number(x1), QString::number(y1)});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    }

    // The clipboard once it differs from `before`, or nothing within the time.
    std::optional<QString> clipboardChangedFrom(const std::optional<QString>& before, int milliseconds = 30000) const {
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

    WindowGeometry geometryOf(const QString& id) const {
        const auto shell = session_.xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        WindowGeometry geometry;
        for (const QString& line : shell.out.split(u'\n', Qt::SkipEmptyParts)) {
            const int value = line.section(u'=', 1).toInt();
            if (line.startsWith(u"X="))
                geometry.x = value;
            else if (line.startsWith(u"Y="))
                geometry.y = value;
            else if (line.startsWith(u"WIDTH="))
                geometry.width = value;
            else if (line.startsWith(u"HEIGHT="))
                geometry.height = value;
        }
        return geometry;
    }

    QList<WindowGeometry> visibleWindowsOf(qint64 pid) const {
        QList<WindowGeometry> windows;
        const auto ids = session_.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--pid"), QString::number(pid)});
        for (const QString& id : ids.out.split(u'\n', Qt::SkipEmptyParts))
            windows.append(geometryOf(id.trimmed()));
        return windows;
    }

    // Whether the app answers on the session bus in time: it owns its name a moment before
    // its object is there, which a busy machine makes long enough to call into.
    bool waitForBusName() const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            const auto described = session_.run(
                QStringLiteral("dbus-send"),
                {QStringLiteral("--session"), QStringLiteral("--print-reply"), QStringLiteral("--dest=org.glyphnab.Glyphnab"),
                 QStringLiteral("/org/glyphnab/Glyphnab"), QStringLiteral("org.freedesktop.DBus.Introspectable.Introspect")});
            if (described.out.contains(u"interface name=\"org.glyphnab.Glyphnab\""))
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    // Waits until no window with this title is mapped.
    bool waitForWindowGone(const QString& title, int milliseconds = 30000) const {
        QElapsedTimer timer;
        timer.start();
        while (session_.waitForWindow(title, std::chrono::milliseconds(100))) {
            if (timer.elapsed() > milliseconds)
                return false;
            QThread::msleep(100);
        }
        return true;
    }

    // Starts following the windows mapped on the screen from now on (read them with
    // waitForMapped): a window that shows for a moment is seen however late the test looks.
    QProcess& watchMaps() {
        QProcess& watcher = session_.start(QStringLiteral(GLYPHNAB_X11_PROBE_PATH), {QStringLiteral("map-watch")});
        EXPECT_TRUE(waitForLine(watcher, QStringLiteral("watching")));
        return watcher;
    }

    // Waits for a window mapped with a frame that `wanted` accepts.
    static bool waitForMapped(QProcess& watcher, const std::function<bool(const WindowGeometry&)>& wanted) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            const std::optional<QString> line =
                waitForLine(watcher, QStringLiteral("mapped "), std::chrono::milliseconds(30000 - timer.elapsed()));
            if (!line)
                return false;
            const QStringList numbers = line->split(u' ').mid(1);
            if (numbers.size() == 4 &&
                wanted({numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt()}))
                return true;
        }
        return false;
    }

    QString focusedWindow() const {
        return session_.xdotool({QStringLiteral("getwindowfocus")}).out.trimmed();
    }

    // The screen's pixels in this rectangle, or a null image.
    QImage shot(const WindowGeometry& area) const {
        const QString file = shots_.filePath(QStringLiteral("shot.png"));
        const auto result = session_.run(helper, {QStringLiteral("shot"), file, QString::number(area.x),
                                                  QString::number(area.y), QString::number(area.width),
                                                  QString::number(area.height)});
        if (!result.finished || result.exitCode != 0)
            return {};
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    // Declared first so that they go last: the app still writes its state as it ends.
    QTemporaryDir state_;
    QTemporaryDir shots_;
    XvfbSession session_{1280, 800};
};

}  // namespace TestSupport
