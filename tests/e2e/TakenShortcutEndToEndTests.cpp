// A default grab shortcut that another program already holds, met in the first run: the
// keys step and the tray menu say so. What they show is photographed from the screen and
// read back with the app's own `glyphnab read`.

#include "tests/e2e/AppDriver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString probe = QStringLiteral(GLYPHNAB_X11_PROBE_PATH);

class TakenShortcutEndToEnd : public TestSupport::AppDriver {
protected:
    // Another program takes Ctrl+Shift+Super+T first.
    bool holdGrabKeys() {
        QProcess& holder = session_.start(probe, {QStringLiteral("hotkey")});
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            holder.waitForReadyRead(100);
            if (holder.readAll().contains("registered 1"))
                return true;
        }
        return false;
    }

    // The text `glyphnab read` finds in this part of the screen. Grey text (a menu's
    // disabled lines) is made black first, so it reads like the rest.
    QString readScreen(const TestSupport::WindowGeometry& area) {
        const QImage picture = shot(area);
        if (picture.isNull())
            return {};
        // Three times the size first: small interface text reads more surely, and the
        // cut to black and white keeps the letters' shapes.
        QImage inked = picture.scaled(picture.size() * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < inked.height(); ++y) {
            uchar* line = inked.scanLine(y);
            for (int x = 0; x < inked.width(); ++x)
                line[x] = line[x] > 225 ? 255 : 0;
        }
        const QString file = shots_.filePath(QStringLiteral("seen.png"));
        inked.save(file);
        return session_.run(app, {QStringLiteral("read"), file}).out.simplified();
    }

    QString readScreenUntil(const TestSupport::WindowGeometry& area, const QString& expected) {
        QString seen;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
            seen = readScreen(area);
            if (seen.contains(expected))
                break;
            QThread::msleep(300);
        }
        return seen;
    }

    QProcess* app_ = nullptr;
};

TEST_F(TakenShortcutEndToEnd, TheFirstRunKeysStepAndTheTrayMenuSayAnotherProgramHoldsTheKeys) {
    session_.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                                              QStringLiteral("right"), QStringLiteral("--widthtype"),
                                              QStringLiteral("request"), QStringLiteral("--height"), QStringLiteral("26"),
                                              QStringLiteral("--transparent"), QStringLiteral("true"),
                                              QStringLiteral("--alpha"), QStringLiteral("0"), QStringLiteral("--tint"),
                                              QStringLiteral("0xe8e8e7")});
    const std::optional<QString> panel = session_.waitForWindow(QStringLiteral("panel"));
    if (!panel)
        GTEST_SKIP() << "trayer did not start";
    ASSERT_TRUE(holdGrabKeys());
    QFile::remove(state_.filePath(QStringLiteral("defaults")));  // a first run
    app_ = &startApp();
    const std::optional<QString> window = session_.waitForWindow(QStringLiteral("Glyphnab"));
    ASSERT_TRUE(window.has_value());

    // On to the keys step from the keyboard, as the Return key moves on.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *window});
    // Each Return once the window shows its next step, settled.
    for (int step = 0; step < 2; ++step) {
        const QImage before = shot(geometryOf(*window));
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QImage now = shot(geometryOf(*window));
        QImage last;
        QElapsedTimer timer;
        timer.start();
        while ((now == before || now != last) && timer.elapsed() < 30000) {
            QThread::msleep(150);
            last = std::exchange(now, shot(geometryOf(*window)));
        }
    }
    const QString keys = readScreenUntil(geometryOf(*window), QStringLiteral("Pick other keys"));
    EXPECT_TRUE(keys.contains(QStringLiteral("Another program already uses this shortcut"))) << keys.toStdString();
    EXPECT_TRUE(keys.contains(QStringLiteral("Pick other keys for it"))) << keys.toStdString();
    EXPECT_FALSE(keys.contains(QStringLiteral("Try it now"))) << keys.toStdString();

    // The tray menu, opened by a click on the icon, says it too.
    const TestSupport::WindowGeometry tray = geometryOf(*panel);
    click(tray.x + tray.width / 2, tray.y + tray.height / 2);
    std::optional<TestSupport::WindowGeometry> menuWindow;
    QElapsedTimer opening;
    opening.start();
    while (!menuWindow && opening.elapsed() < 30000) {
        QThread::msleep(200);
        for (const TestSupport::WindowGeometry& shown : visibleWindowsOf(app_->processId()))
            if (shown.y >= tray.y && shown.y <= tray.y + tray.height + 20 && shown.height > 100)
                menuWindow = shown;
    }
    ASSERT_TRUE(menuWindow.has_value()) << "the tray menu did not open";
    const QString menu = readScreenUntil(*menuWindow, QStringLiteral("is used by"));
    EXPECT_TRUE(menu.contains(QStringLiteral("is used by"))) << menu.toStdString();
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
}

}  // namespace
