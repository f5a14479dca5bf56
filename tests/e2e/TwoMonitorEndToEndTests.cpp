// The whole app on one X screen split into two monitors, the second beside the primary
// or above it: the selector covers both, a drag across them or on the second one alone
// reads the text under it.

#include "tests/e2e/AppDriver.h"

#include <QDir>
#include <QRect>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString grabKeys = QStringLiteral("ctrl+shift+super+t");

struct Layout {
    const char* name;
    QList<QRect> monitors;  // the primary first
    QRect across;           // a text window whose line the monitors' edge cuts
    QRect second;           // a text window on the second monitor alone
};

const Layout layouts[] = {
    // Beside, shorter and lower: the second monitor's top is below the primary's.
    {"Beside", {QRect(0, 0, 1024, 768), QRect(1024, 150, 800, 600)}, QRect(800, 200, 760, 110),
     QRect(1120, 500, 620, 110)},
    // Above and shifted right: the primary's top edge is the second's bottom.
    {"Above", {QRect(0, 500, 1024, 768), QRect(200, 0, 900, 500)}, QRect(250, 470, 760, 100),
     QRect(300, 200, 620, 110)},
};

QString words(const QString& text) {
    return text.simplified();
}

class TwoMonitors : public TestSupport::AppDriver, public testing::WithParamInterface<Layout> {
protected:
    TwoMonitors() : AppDriver(GetParam().monitors) {}

    // A window of black text on white, placed at `frame` (no window manager moves it).
    void showTextAt(const QString& title, const QString& text, const QRect& frame) {
        session_.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), title, text,
                                QStringLiteral("22"),
                                QStringLiteral("%1x%2").arg(frame.width()).arg(frame.height())});
        const std::optional<QString> id = session_.waitForWindow(title);
        ASSERT_TRUE(id.has_value());
        xdotool({QStringLiteral("windowmove"), QStringLiteral("--sync"), *id, QString::number(frame.x()),
                 QString::number(frame.y())});
        // Repainted where it now is: the screen shows its white over the black root there.
        const auto painted = [&] {
            const QImage screen = session_.screenshot();
            return !screen.isNull() && screen.pixel(frame.topLeft() + QPoint(4, 4)) == qRgb(255, 255, 255);
        };
        QElapsedTimer timer;
        timer.start();
        while (!painted() && timer.elapsed() < 30000)
            QThread::msleep(100);
        ASSERT_TRUE(painted());
    }

    QList<QRect> overlayFrames() const {
        QList<QRect> frames;
        const auto ids = session_.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--name"), QStringLiteral("^%1$").arg(overlayTitle)});
        for (const QString& id : ids.out.split(u'\n', Qt::SkipEmptyParts)) {
            const TestSupport::WindowGeometry g = geometryOf(id.trimmed());
            frames << QRect(g.x, g.y, g.width, g.height);
        }
        return frames;
    }

    // Holds the shortcut until every monitor has its overlay; the app registers its keys
    // a moment after it starts.
    bool grabUntilOverlays() {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
            holdKeys(grabKeys);
            if (session_.waitForWindow(overlayTitle, std::chrono::milliseconds(1500)))
                break;
        }
        while (overlayFrames().size() < GetParam().monitors.size() && timer.elapsed() < 90000)
            QThread::msleep(100);
        return overlayFrames().size() == GetParam().monitors.size();
    }

    // The pinkest pixel near the selection's outline on each monitor: the outline's ink
    // as the screen shows it.
    static QList<QColor> inkPerMonitor(const QImage& shot, const QRect& selection, const QList<QRect>& monitors) {
        QList<QColor> inks;
        for (const QRect& monitor : monitors) {
            QColor pinkest;
            int best = -1;
            const QRect band = selection.adjusted(-4, -4, 4, 4) & monitor & shot.rect();
            for (int y = band.top(); y <= band.bottom(); ++y) {
                for (int x = band.left(); x <= band.right(); ++x) {
                    if (selection.adjusted(4, 4, -4, -4).contains(x, y))
                        continue;
                    const QColor c = shot.pixelColor(x, y);
                    if (c.red() - c.green() > best) {
                        best = c.red() - c.green();
                        pinkest = c;
                    }
                }
            }
            inks << pinkest;
        }
        return inks;
    }

    // Drags with the button down, photographs the screen mid-drag and keeps the picture
    // for a person to look at, then lets go.
    QImage dragAndShoot(const QRect& from, const QString& shotName, bool release = true) {
        const QPoint a = from.topLeft() + QPoint(6, 6);
        const QPoint b = from.bottomRight() - QPoint(6, 6);
        xdotool({QStringLiteral("mousemove"), QString::number(a.x()), QString::number(a.y())});
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        xdotool({QStringLiteral("mousemove"), QString::number((a.x() + b.x()) / 2), QString::number((a.y() + b.y()) / 2)});
        xdotool({QStringLiteral("mousemove"), QString::number(b.x()), QString::number(b.y())});
        // The overlays have repainted once every monitor the drag crosses shows its outline.
        const QRect selection(a, b);
        QList<QRect> crossed;
        for (const QRect& monitor : GetParam().monitors)
            if (monitor.intersects(selection))
                crossed << monitor;
        const auto outlined = [&](const QImage& picture) {
            return !picture.isNull() && std::ranges::all_of(inkPerMonitor(picture, selection, crossed), [](const QColor& ink) {
                       return ink.red() - ink.green() > 40;
                   });
        };
        QImage shot = session_.screenshot();
        QElapsedTimer timer;
        timer.start();
        while (!outlined(shot) && timer.elapsed() < 30000) {
            QThread::msleep(100);
            shot = session_.screenshot();
        }
        if (const QByteArray keep = qgetenv("GLYPHNAB_E2E_SHOTS"); !keep.isEmpty() && !shot.isNull())
            shot.save(QDir(QString::fromLocal8Bit(keep)).filePath(shotName));
        if (release)
            xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        return shot;
    }
};

TEST_P(TwoMonitors, QtSeesBothMonitorsWithThePrimaryFirst) {
    const auto listed = session_.run(helper, {QStringLiteral("screens")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    QList<QRect> screens;
    for (const QString& line : listed.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList n = line.split(u' ');
        screens << QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
    }
    ASSERT_EQ(screens.size(), 2) << listed.out.toStdString();
    EXPECT_EQ(screens, GetParam().monitors);
}

TEST_P(TwoMonitors, ADragAcrossBothMonitorsAndOneOnTheSecondReadTheirText) {
    const Layout& layout = GetParam();
    showTextAt(QStringLiteral("Across"), QStringLiteral("Words that lie across both screens"), layout.across);
    showTextAt(QStringLiteral("Second"), QStringLiteral("Only the second screen"), layout.second);
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();

    ASSERT_TRUE(grabUntilOverlays()) << process.readAllStandardError().toStdString();
    QList<QRect> frames = overlayFrames();
    std::sort(frames.begin(), frames.end(), [](const QRect& l, const QRect& r) {
        return std::pair(l.y(), l.x()) < std::pair(r.y(), r.x());
    });
    QList<QRect> monitors = layout.monitors;
    std::sort(monitors.begin(), monitors.end(), [](const QRect& l, const QRect& r) {
        return std::pair(l.y(), l.x()) < std::pair(r.y(), r.x());
    });
    EXPECT_EQ(frames, monitors) << "an overlay covers each monitor";

    const QImage across = dragAndShoot(layout.across, QStringLiteral("%1-across.png").arg(layout.name));
    EXPECT_FALSE(across.isNull());
    const std::optional<QString> first = clipboardChangedFrom(std::nullopt);
    ASSERT_TRUE(first.has_value()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(words(*first), QStringLiteral("Words that lie across both screens"));
    ASSERT_TRUE(waitForWindowGone(overlayTitle));

    ASSERT_TRUE(grabUntilOverlays());
    const QImage second = dragAndShoot(layout.second, QStringLiteral("%1-second.png").arg(layout.name));
    EXPECT_FALSE(second.isNull());
    const std::optional<QString> next = clipboardChangedFrom(first);
    ASSERT_TRUE(next.has_value()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(words(*next), QStringLiteral("Only the second screen"));
    EXPECT_EQ(process.state(), QProcess::Running);
}

// The ink is the desktop's scheme as it is at the pick: read at start-up, followed after.
TEST_P(TwoMonitors, TheSelectionsInkFollowsTheDesktopsScheme) {
    const Layout& layout = GetParam();
    QProcess& portal = session_.start(helper, {QStringLiteral("portal"), QStringLiteral("1")});
    ASSERT_TRUE(portal.waitForReadyRead(30000)) << portal.readAllStandardError().toStdString();
    portal.readAll();
    showTextAt(QStringLiteral("Across"), QStringLiteral("Light or dark"), layout.across);
    const QRect selection(layout.across.topLeft() + QPoint(6, 6), layout.across.bottomRight() - QPoint(6, 6));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();

    auto inks = [&](const QString& shotName) {
        EXPECT_TRUE(grabUntilOverlays());
        const QImage shot = dragAndShoot(layout.across, shotName, false);
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        EXPECT_TRUE(waitForWindowGone(overlayTitle));
        return inkPerMonitor(shot, selection, layout.monitors);
    };
    const QList<QColor> dark = inks(QStringLiteral("%1-dark.png").arg(layout.name));
    // The desktop turns light while the app runs.
    portal.write("2\n");
    ASSERT_TRUE(portal.waitForReadyRead(30000));
    // The change reaches the app over the bus a moment later: grab again until it shows.
    QList<QColor> light = inks(QStringLiteral("%1-light.png").arg(layout.name));
    QElapsedTimer timer;
    timer.start();
    while (light == dark && timer.elapsed() < 30000)
        light = inks(QStringLiteral("%1-light.png").arg(layout.name));

    ASSERT_EQ(light.size(), 2);
    ASSERT_EQ(dark.size(), 2);
    for (qsizetype i = 0; i < 2; ++i) {
        EXPECT_GT(light[i].red() - light[i].green(), 40) << "monitor " << i << " shows no accent outline";
        EXPECT_GT(dark[i].red() - dark[i].green(), 40) << "monitor " << i << " shows no accent outline";
        EXPECT_NE(light[i], dark[i]) << "monitor " << i << ": " << light[i].name().toStdString();
    }
    // Both monitors draw the same outline.
    EXPECT_EQ(light[0], light[1]);
    EXPECT_EQ(dark[0], dark[1]);
    EXPECT_EQ(process.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(AppEndToEnd, TwoMonitors, testing::ValuesIn(layouts),
                         [](const testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

}  // namespace
