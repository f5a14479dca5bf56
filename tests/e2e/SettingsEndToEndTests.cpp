// The Settings and first-run windows of the whole app under Xvfb: their sizes, the tab
// chips, the tab kept across closing and reopening, and a setting that changes the next
// grab. With GLYPHNAB_E2E_SHOTS naming a folder, the windows are also saved there as PNGs.

#include "tests/e2e/AppDriver.h"

#include "Glyphnab/windows/SettingsSelection.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/settings/SettingsShell.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

using TestSupport::WindowGeometry;

const QString settingsTitle = QStringLiteral("Glyphnab Settings");

// The header row: 8 above it, 30 high, 16 below it; the page ends 18 above the bottom.
constexpr int headerTop = 8;
constexpr int headerHeight = 30;
constexpr int pageTop = headerTop + headerHeight + 16;
constexpr int pageBottomInset = 18;

QImage settled(const std::function<QImage()>& take);

class SettingsEndToEnd : public TestSupport::AppDriver {
protected:
    // Opens Settings in the running app as a second start without arguments does.
    std::optional<QString> openSettings(QProcess& process) {
        const auto second = session_.run(app, {}, std::chrono::seconds(60));
        EXPECT_TRUE(second.finished);
        EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
        const std::optional<QString> id = session_.waitForWindow(settingsTitle);
        EXPECT_TRUE(id) << process.readAllStandardError().toStdString();
        if (id) {
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), *id});
            settled([&] { return page(geometryOf(*id)); });  // first paint and the chip's slide
        }
        return id;
    }

    // Where each tab chip's centre lies on the screen: the chip row sits at the header's
    // trailing edge, measured as the app measures it.
    QList<QPoint> chipCentres(const WindowGeometry& window) const {
        QVariantList options;
        for (const Glyphnab::SettingsTab tab : Glyphnab::allSettingsTabs)
            options.append(QVariant::fromValue(tab));
        const ZantrelUI::ChipPicker row(
            QStringLiteral("Glyphnab"), options, options.first(),
            [](const QVariant& option) { return Glyphnab::settingsTabTitle(option.value<Glyphnab::SettingsTab>()); });
        const int left = window.x + window.width - ZantrelUI::SettingsShell::sideInset - row.sizeHint().width();
        const int top = window.y + headerTop + (headerHeight - row.sizeHint().height()) / 2;
        QList<QPoint> centres;
        for (const QRectF& chip : row.chipRects())
            centres.append(QPoint(left + static_cast<int>(chip.center().x()), top + static_cast<int>(chip.center().y())));
        return centres;
    }

    // The page under the header, as on the screen now.
    QImage page(const WindowGeometry& window) const {
        return shot({window.x, window.y + pageTop, window.width, window.height - pageTop - pageBottomInset});
    }

    void keep(const QImage& image, const QString& name) const {
        const QString folder = qEnvironmentVariable("GLYPHNAB_E2E_SHOTS");
        if (!folder.isEmpty() && QDir().mkpath(folder))
            image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }

    void keepWindow(const QString& id, const QString& name) const {
        if (!qEnvironmentVariableIsEmpty("GLYPHNAB_E2E_SHOTS"))
            keep(shot(geometryOf(id)), name);
    }
};

// How far apart two pictures are: the mean difference of their channels, or the largest
// distance when their sizes differ.
double distance(const QImage& a, const QImage& b) {
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return std::numeric_limits<double>::max();
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qRed(rowA[x]) - qRed(rowB[x])) + std::abs(qGreen(rowA[x]) - qGreen(rowB[x])) +
                   std::abs(qBlue(rowA[x]) - qBlue(rowB[x]));
    }
    return sum / (3.0 * a.width() * a.height());
}

// The index of the picture closest to `image`.
qsizetype closest(const QImage& image, const QList<QImage>& pictures) {
    qsizetype best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const double d = distance(image, pictures[i]);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// The picture once two in a row agree: slides and height changes are over.
QImage settled(const std::function<QImage()>& take) {
    QImage last = take();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        QThread::msleep(150);
        QImage now = take();
        if (!now.isNull() && distance(now, last) < 0.05)
            return now;
        last = std::move(now);
    }
    return last;
}

// A page that differs from all of `before` (the new tab has been drawn), once settled, or
// the last one seen.
QImage waitForNewPage(const std::function<QImage()>& take, const QList<QImage>& before) {
    QElapsedTimer timer;
    timer.start();
    QImage now;
    while (timer.elapsed() < 30000) {
        now = settled(take);
        bool differs = !now.isNull();
        for (const QImage& earlier : before)
            differs = differs && distance(now, earlier) > 0.5;
        if (differs)
            return now;
        QThread::msleep(150);
    }
    return now;
}

// Waits until the settled page is closest to `pages[expected]`; the index last seen.
qsizetype waitForPage(const std::function<QImage()>& take, const QList<QImage>& pages, qsizetype expected) {
    QElapsedTimer timer;
    timer.start();
    qsizetype seen = closest(settled(take), pages);
    while (seen != expected && timer.elapsed() < 30000) {
        QThread::msleep(150);
        seen = closest(settled(take), pages);
    }
    return seen;
}

TEST_F(SettingsEndToEnd, TheWindowIs640WideItsFourChipsSwitchPagesAndTheTabSurvivesReopening) {
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const std::optional<QString> id = openSettings(process);
    ASSERT_TRUE(id);
    WindowGeometry window = geometryOf(*id);
    EXPECT_EQ(window.width, 640);  // the device pixel ratio is 1 under Xvfb
    // The page is capped at 600 high, so the window never grows past the header, the cap and the inset.
    EXPECT_GT(window.height, pageTop + pageBottomInset);
    EXPECT_LE(window.height, pageTop + 600 + pageBottomInset);

    const QList<QPoint> chips = chipCentres(window);
    ASSERT_EQ(chips.size(), 4);
    QList<QImage> pages{page(window)};
    ASSERT_FALSE(pages.first().isNull());
    keepWindow(*id, QStringLiteral("settings-general"));
    const QStringList names{QStringLiteral("general"), QStringLiteral("shortcuts"), QStringLiteral("languages"),
                            QStringLiteral("about")};
    for (int i = 1; i < 4; ++i) {
        click(chips[i].x(), chips[i].y());
        const QImage shown = waitForNewPage(
            [&] {
                window = geometryOf(*id);
                return page(window);
            },
            pages);
        for (const QImage& earlier : pages)
            EXPECT_GT(distance(shown, earlier), 0.5) << "the " << names[i].toStdString() << " chip showed an earlier page";
        pages.append(shown);
        keepWindow(*id, QStringLiteral("settings-") + names[i]);
        EXPECT_EQ(geometryOf(*id).width, 640);
    }
    // Back to the first chip: the General page again.
    const auto shown = [&] { return page(geometryOf(*id)); };
    click(chips[0].x(), chips[0].y());
    EXPECT_EQ(waitForPage(shown, pages, 0), 0);

    // Languages, then closed with Escape: reopening shows Languages.
    click(chips[2].x(), chips[2].y());
    ASSERT_EQ(waitForPage(shown, pages, 2), 2);
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(settingsTitle));
    std::optional<QString> reopened = openSettings(process);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(geometryOf(*reopened).width, 640);
    const auto reshown = [&] { return page(geometryOf(*reopened)); };
    EXPECT_EQ(waitForPage(reshown, pages, 2), 2);

    // Shortcuts, then closed with Ctrl+W: reopening shows Shortcuts.
    const QList<QPoint> again = chipCentres(geometryOf(*reopened));
    click(again[1].x(), again[1].y());
    ASSERT_EQ(waitForPage(reshown, pages, 1), 1);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+w")});
    ASSERT_TRUE(waitForWindowGone(settingsTitle));
    reopened = openSettings(process);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(waitForPage(reshown, pages, 1), 1);
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_F(SettingsEndToEnd, ReopeningWithTheIconHiddenLandsOnGeneralWhereTheIconIsTurnedBackOn) {
    writePreferences(R"({"onboarded":true,"showIcon":false})");
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const std::optional<QString> id = openSettings(process);
    ASSERT_TRUE(id);
    QList<QImage> pages{page(geometryOf(*id))};
    const QList<QPoint> chips = chipCentres(geometryOf(*id));
    click(chips[2].x(), chips[2].y());
    pages.append(waitForNewPage([&] { return page(geometryOf(*id)); }, pages));
    ASSERT_GT(distance(pages[1], pages[0]), 0.5);

    // Reopened while open on Languages, and again after closing it there.
    const std::optional<QString> reopened = openSettings(process);
    ASSERT_TRUE(reopened);
    const auto shown = [&] { return page(geometryOf(*reopened)); };
    EXPECT_EQ(waitForPage(shown, pages, 0), 0);
    click(chips[2].x(), chips[2].y());
    ASSERT_EQ(waitForPage(shown, pages, 1), 1);
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(settingsTitle));
    const std::optional<QString> again = openSettings(process);
    ASSERT_TRUE(again);
    EXPECT_EQ(waitForPage([&] { return page(geometryOf(*again)); }, pages, 0), 0);
}

TEST_F(SettingsEndToEnd, JoiningLinesInSettingsMakesTheNextGrabJoinAParagraph) {
    writePreferences(R"({"onboarded":true,"lineMode":"keep"})");
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    const std::optional<QString> id = openSettings(process);
    ASSERT_TRUE(id);
    // From the tab chips, Tab reaches the General page's first picker, line breaks; Right
    // chooses its second option. A focus stop on the way takes the arrow without effect.
    const QList<QPoint> chips = chipCentres(geometryOf(*id));
    click(chips[0].x(), chips[0].y());
    const auto joined = [this] { return storedPreferences().contains(R"("lineMode":"join")"); };
    for (int stop = 0; stop < 3 && !joined(); ++stop) {
        xdotool({QStringLiteral("key"), QStringLiteral("Tab")});
        xdotool({QStringLiteral("key"), QStringLiteral("Right")});
        QElapsedTimer timer;
        timer.start();
        while (!joined() && timer.elapsed() < 10000)
            QThread::msleep(100);
    }
    ASSERT_TRUE(joined()) << storedPreferences().toStdString();
    EXPECT_FALSE(storedPreferences().contains("clipboard")) << "another picker moved";
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(settingsTitle));

    showText(QStringLiteral("The quick brown fox jumps\nover the lazy dog today"));
    ASSERT_TRUE(pressUntilOverlay(QStringLiteral("ctrl+shift+super+t"))) << process.readAllStandardError().toStdString();
    drag(5, 5, 600, 120);
    const std::optional<QString> copied = clipboardChangedFrom(std::nullopt);
    ASSERT_TRUE(copied.has_value()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(copied->trimmed(), QStringLiteral("The quick brown fox jumps over the lazy dog today"));
}

TEST_F(SettingsEndToEnd, AFirstLaunchOpensTheFirstRunWindowAt580By530) {
    QFile::remove(state_.filePath(QStringLiteral("defaults")));  // never onboarded
    QProcess& process = startApp();
    const std::optional<QString> id = session_.waitForWindow(QStringLiteral("Glyphnab"));
    ASSERT_TRUE(id) << process.readAllStandardError().toStdString();
    // Mapped before it has its final size on a slow machine.
    WindowGeometry window = geometryOf(*id);
    QElapsedTimer timer;
    timer.start();
    while ((window.width != 580 || window.height != 530) && timer.elapsed() < 30000) {
        QThread::msleep(100);
        window = geometryOf(*id);
    }
    EXPECT_EQ(window.width, 580);
    EXPECT_EQ(window.height, 530);
    keepWindow(*id, QStringLiteral("onboarding"));
}

}  // namespace
