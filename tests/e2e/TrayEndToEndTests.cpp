// The tray icon on a real panel (trayer under Xvfb): its strokes stand out on a dark panel
// and on a light one alike, photographed from the screen.

#include "tests/e2e/AppDriver.h"

#include <QColor>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

struct Panel {
    const char* tint;
    QColor colour;
    bool lightStrokes;
};

class TrayEndToEnd : public TestSupport::AppDriver, public testing::WithParamInterface<Panel> {
protected:
    // The panel's window, once trayer has mapped it.
    std::optional<TestSupport::WindowGeometry> startPanel(const Panel& panel) {
        session_.start(QStringLiteral("trayer"),
                       {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"),
                        QStringLiteral("--widthtype"), QStringLiteral("request"), QStringLiteral("--height"),
                        QStringLiteral("26"), QStringLiteral("--transparent"), QStringLiteral("true"),
                        QStringLiteral("--alpha"), QStringLiteral("0"), QStringLiteral("--tint"),
                        QString::fromLatin1(panel.tint)});
        const std::optional<QString> id = session_.waitForWindow(QStringLiteral("panel"));
        if (!id)
            return std::nullopt;
        panelId_ = *id;
        return geometryOf(*id);
    }

    QString panelId_;

    // The mean lightness (0–255) of the pixels that differ clearly from the panel, and how many.
    static std::pair<double, int> strokes(const QImage& shot, const QColor& panel) {
        double sum = 0;
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor pixel = shot.pixelColor(x, y);
                if (std::abs(pixel.lightness() - panel.lightness()) > 70) {
                    sum += pixel.lightness();
                    ++count;
                }
            }
        return {count ? sum / count : 0, count};
    }
};

TEST_P(TrayEndToEnd, TheIconsStrokesStandOutOnThePanel) {
    const Panel panel = GetParam();
    const auto where = startPanel(panel);
    if (!where)
        GTEST_SKIP() << "trayer did not start";
    startApp();
    // The icon is embedded a moment after the start, and takes the panel's shade after that.
    QElapsedTimer timer;
    timer.start();
    std::pair<double, int> seen{0, 0};
    bool standsOut = false;
    while (!standsOut && timer.elapsed() < 60000) {
        QThread::msleep(300);
        // The panel grows to hold the icon: measured again each time.
        const QImage shot = this->shot(geometryOf(panelId_));
        if (shot.isNull())
            continue;
        seen = strokes(shot, panel.colour);
        standsOut = seen.second > 12 &&
                    (panel.lightStrokes ? seen.first > panel.colour.lightness() : seen.first < panel.colour.lightness());
    }
    EXPECT_TRUE(standsOut) << "strokes: " << seen.second << " pixels of mean lightness " << seen.first
                           << " on a panel of " << panel.colour.lightness();
}

INSTANTIATE_TEST_SUITE_P(DarkAndLight, TrayEndToEnd,
                         testing::Values(Panel{"0x2b2b2b", QColor(0x2b, 0x2b, 0x2b), true},
                                         Panel{"0xe8e8e7", QColor(0xe8, 0xe8, 0xe7), false}));

}  // namespace
