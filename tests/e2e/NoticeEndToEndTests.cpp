// The notice on a real X server without and with a compositing manager: the screen, read
// back from the framebuffer, shows the card on the desktop and no black box around it.

#include "Glyphnab/notice/NoticeView.h"
#include "tests/support/XvfbSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using TestSupport::XvfbSession;

namespace {

const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);
const QString probe = QStringLiteral(GLYPHNAB_NOTICE_PROBE_PATH);
const QString x11Probe = QStringLiteral(GLYPHNAB_X11_PROBE_PATH);
const QColor desk(0xe8, 0xee, 0xf5);

bool nearBlack(QRgb pixel) { return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40; }
bool nearDesk(QRgb pixel) {
    return std::abs(qRed(pixel) - desk.red()) < 8 && std::abs(qGreen(pixel) - desk.green()) < 8 &&
           std::abs(qBlue(pixel) - desk.blue()) < 8;
}

class NoticeEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        if (!session_.isRunning())
            GTEST_SKIP() << session_.error().toStdString();
        QProcess& window = session_.start(helper, {QStringLiteral("window"), desk.name(), QStringLiteral("Desk"),
                                                   QString(), QStringLiteral("14"), QStringLiteral("1280x800")});
        ASSERT_TRUE(waitForLine(window, QStringLiteral("painted")));
    }

    // Waits for a line that starts with `prefix`.
    static bool waitForLine(QProcess& process, const QString& prefix) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            while (process.canReadLine())
                if (QString::fromUtf8(process.readLine()).startsWith(prefix))
                    return true;
            process.waitForReadyRead(100);
        }
        return false;
    }

    // The notice window's frame: the probe's one visible window.
    std::optional<QRect> noticeFrame(const QProcess& process) const {
        const auto ids = session_.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--pid"), QString::number(process.processId())});
        for (const QString& id : ids.out.split(u'\n', Qt::SkipEmptyParts)) {
            const auto shell = session_.xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
            QRect frame;
            for (const QString& line : shell.out.split(u'\n', Qt::SkipEmptyParts)) {
                const int value = line.section(u'=', 1).toInt();
                if (line.startsWith(u"X="))
                    frame.moveLeft(value);
                else if (line.startsWith(u"Y="))
                    frame.moveTop(value);
                else if (line.startsWith(u"WIDTH="))
                    frame.setWidth(value);
                else if (line.startsWith(u"HEIGHT="))
                    frame.setHeight(value);
            }
            if (frame.width() > Glyphnab::NoticeView::cardWidth)
                return frame;
        }
        return std::nullopt;
    }

    // The screen now, as `xwd -root` reads it; kept as a PNG where GLYPHNAB_TEST_SHOTS names
    // a folder.
    QImage screen(const QString& name) const {
        const QImage shot = session_.screenshot();
        keep(shot, name);
        return shot;
    }
    // The root window's pixels as the server holds them. With a see-through window on
    // screen xwd rebuilds the picture from each window's own pixels (clear ones as black),
    // whatever a compositor made of them; the root's pixels are what the screen shows.
    QImage rootPixels(const QString& name) const {
        const QString file = QDir(shots_.path()).filePath(QStringLiteral("root.png"));
        const auto result = session_.run(helper, {QStringLiteral("shot"), file});
        const QImage shot = result.exitCode == 0 ? QImage(file).convertToFormat(QImage::Format_RGB32) : QImage();
        keep(shot, name);
        return shot;
    }
    static void keep(const QImage& shot, const QString& name) {
        const QString folder = qEnvironmentVariable("GLYPHNAB_TEST_SHOTS");
        if (!folder.isEmpty() && !shot.isNull())
            shot.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }

    // What the screen shows of the notice: black pixels in the shadow margin around the
    // card, and whether the card's corners (outside its rounding) show the desktop.
    struct Look {
        int blackAround = 0;
        int cardPixels = 0;
        bool cornersShowDesk = false;
        double cardLightness = 0;  // the card's mean grey, 0–255
    };
    static Look look(const QImage& shot, QRect frame) {
        Look result;
        const int m = Glyphnab::NoticeView::margin;
        const QRect card = frame.adjusted(m, m, -m, -m);
        double grey = 0;
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x) {
                const QRgb pixel = shot.pixel(x, y);
                if (!card.contains(x, y)) {
                    result.blackAround += nearBlack(pixel) ? 1 : 0;
                    continue;
                }
                grey += qGray(pixel);
                if (!nearDesk(pixel))
                    ++result.cardPixels;
            }
        result.cardLightness = grey / (card.width() * card.height());
        result.cornersShowDesk = nearDesk(shot.pixel(card.topLeft())) && nearDesk(shot.pixel(card.topRight())) &&
                                 nearDesk(shot.pixel(card.bottomLeft())) && nearDesk(shot.pixel(card.bottomRight()));
        result.cornersShowDesk = result.cornersShowDesk && nearDesk(shot.pixel(frame.topLeft()));
        return result;
    }

    QTemporaryDir shots_;
    XvfbSession session_{1280, 800};
};

TEST_F(NoticeEndToEnd, TheCardSitsOnTheDesktopWithAndWithoutACompositor) {
    QProcess& notice = session_.start(probe, {QStringLiteral("busy")});
    ASSERT_TRUE(waitForLine(notice, QStringLiteral("shown"))) << notice.readAllStandardError().toStdString();
    std::optional<QRect> frame = noticeFrame(notice);
    QElapsedTimer timer;
    timer.start();
    while (!frame && timer.elapsed() < 30000)
        frame = noticeFrame(notice);
    ASSERT_TRUE(frame);
    // Drawn a moment after it is mapped on a busy machine: looked at until the card shows.
    const auto lookUntil = [&](const QString& name, const std::function<bool(const Look&)>& done) {
        Look seen = look(rootPixels(name), *frame);
        timer.restart();
        while (!done(seen) && timer.elapsed() < 30000) {
            QThread::msleep(200);
            seen = look(rootPixels(name), *frame);
        }
        return seen;
    };
    const auto cutToCard = [&](const Look& seen) {
        return seen.blackAround == 0 && seen.cornersShowDesk && seen.cardPixels > frame->width() * 10;
    };

    // No compositor: the window is cut to the card, and the card is not darkened by a
    // see-through window's black.
    screen(QStringLiteral("notice-without-compositor-xwd"));
    const Look bare = lookUntil(QStringLiteral("notice-without-compositor"), cutToCard);
    EXPECT_EQ(bare.blackAround, 0);
    EXPECT_TRUE(bare.cornersShowDesk);
    EXPECT_GT(bare.cardPixels, frame->width() * 10);

    // A compositor starts while the app runs; the next notice is see-through with its shadow.
    QProcess& compositor = session_.start(QStringLiteral("xcompmgr"));
    ASSERT_TRUE(compositor.waitForStarted(30000));
    timer.restart();
    while (session_.run(x11Probe, {QStringLiteral("compositing")}).out.trimmed() != u"composited" &&
           timer.elapsed() < 30000)
        QThread::msleep(100);
    ASSERT_EQ(session_.run(x11Probe, {QStringLiteral("compositing")}).out.trimmed(), u"composited");
    notice.write("again\n");
    ASSERT_TRUE(waitForLine(notice, QStringLiteral("shown")));
    screen(QStringLiteral("notice-with-compositor-xwd"));
    const Look composited = lookUntil(QStringLiteral("notice-with-compositor"), [&](const Look& seen) {
        return seen.blackAround == 0 && seen.cardPixels > frame->width() * 10;
    });
    EXPECT_EQ(composited.blackAround, 0);
    EXPECT_GT(composited.cardPixels, frame->width() * 10);
    EXPECT_NEAR(bare.cardLightness, composited.cardLightness, 10);

    // And when it stops, the notice on screen is cut out to its card again.
    compositor.terminate();
    ASSERT_TRUE(compositor.waitForFinished(30000));
    // The app notices within its next check of the desktop, and cuts the window again.
    const Look after = lookUntil(QStringLiteral("notice-after-compositor"), cutToCard);
    EXPECT_EQ(after.blackAround, 0);
    EXPECT_TRUE(after.cornersShowDesk);
    EXPECT_NEAR(after.cardLightness, composited.cardLightness, 10);
}

}  // namespace
