#include "Glyphnab/shell/DropView.h"
#include "Glyphnab/shell/AppIcon.h"
#include "Glyphnab/shell/StatusIcon.h"
#include "ZantrelKit/DataFolder.h"
#include "platform/screen/X11TrayColors.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

QUrl file(const QString& name) { return QUrl::fromLocalFile(QStringLiteral("/home/user/") + name); }

TEST(DropFilterTests, TakesPicturesAndPdfsInDropOrderAndNothingElse) {
    const QList<QUrl> dropped{file("scan.pdf"), file("notes.txt"), file("photo.JPG"), file("shot.png"),
                              file("archive.zip"), file("no-extension")};
    const QList<QUrl> taken{file("scan.pdf"), file("photo.JPG"), file("shot.png")};
    EXPECT_EQ(DropView::acceptedFiles(dropped), taken);

    EXPECT_TRUE(DropView::acceptedFiles({file("notes.txt")}).isEmpty()) << "a text file alone is refused";
    EXPECT_EQ(DropView::acceptedFiles({file("notes.txt"), file("scan.pdf")}), QList<QUrl>{file("scan.pdf")});
    EXPECT_TRUE(DropView::acceptedFiles(QList<QUrl>{}).isEmpty());
}

TEST(DropFilterTests, ReadsOnlyLocalFileUrlsFromADrag) {
    QMimeData drag;
    drag.setUrls({QUrl(QStringLiteral("https://example.com/picture.png")), file("page.pdf")});
    EXPECT_EQ(DropView::acceptedFiles(drag), QList<QUrl>{file("page.pdf")});

    QMimeData text;
    text.setText(QStringLiteral("/home/user/page.pdf"));
    EXPECT_TRUE(DropView::acceptedFiles(text).isEmpty()) << "a path typed as text is no file";
}

// How many pixels are at least half opaque in the rows from `top` to `bottom`.
int inkIn(const QImage& image, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
    return count;
}

TEST(StatusIconTests, IsDrawnUprightOnATransparentSquareInTheShadeOfThePanel) {
    const QImage dark = statusIcon(18, ZantrelUI::ColorScheme::dark);
    ASSERT_EQ(dark.size(), QSize(18, 18));
    EXPECT_EQ(qAlpha(dark.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(dark.pixel(17, 8)), 0);
    // The bar lies at the bottom (rows 15 to 16 from the top) and the dot at the top.
    EXPECT_GT(inkIn(dark, 15, 17), 10);
    EXPECT_EQ(inkIn(dark, 17, 18), 0);
    EXPECT_GT(inkIn(dark, 0, 3), 2);

    const QImage light = statusIcon(18, ZantrelUI::ColorScheme::light);
    const QColor onDark = dark.pixelColor(9, 16);
    const QColor onLight = light.pixelColor(9, 16);
    EXPECT_GT(onDark.lightness(), 160) << "light strokes for a dark panel";
    EXPECT_LT(onLight.lightness(), 100) << "dark strokes for a light panel";

    const QImage sharp = statusIcon(16, ZantrelUI::ColorScheme::dark, 2);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(16, 16));
    EXPECT_FALSE(statusTrayIcon().availableSizes().isEmpty());
}

}  // namespace
}  // namespace Glyphnab

namespace Glyphnab {
namespace {

QImage panelPicture(const QColor& panel, const QColor& cornerOver = QColor()) {
    QImage place(22, 22, QImage::Format_RGB32);
    place.fill(panel);
    // The icon's own strokes in the middle never count.
    place.setPixelColor(11, 11, Qt::white);
    place.setPixelColor(11, 20, Qt::black);
    if (cornerOver.isValid())
        place.setPixelColor(21, 21, cornerOver);
    return place;
}

TEST(StatusIconTests, TheShadeFollowsThePanelBehindTheIcon) {
    using ZantrelUI::ColorScheme;
    // The default dark Xfce panel and a light one.
    const auto dark = panelBehind(panelPicture(QColor(0x2b, 0x2b, 0x2b)));
    ASSERT_TRUE(dark.has_value());
    EXPECT_EQ(shadeForPanel(*dark), ColorScheme::dark) << "light strokes on a dark panel";
    const auto light = panelBehind(panelPicture(QColor(0xe8, 0xe8, 0xe7)));
    ASSERT_TRUE(light.has_value());
    EXPECT_EQ(shadeForPanel(*light), ColorScheme::light) << "dark strokes on a light panel";
    EXPECT_EQ(shadeForPanel(QColor(0x1e, 0x3a, 0x8a)), ColorScheme::dark);  // a saturated dark blue

    // Something over one corner (a tooltip, a window) tells nothing about the panel.
    EXPECT_FALSE(panelBehind(panelPicture(QColor(0x2b, 0x2b, 0x2b), Qt::white)).has_value());
    EXPECT_FALSE(panelBehind(QImage()).has_value());

    // A tray that names its foreground colour is followed: light ink means a dark panel.
    EXPECT_EQ(shadeForForeground(QColor(0xee, 0xee, 0xec)), ColorScheme::dark);
    EXPECT_EQ(shadeForForeground(QColor(0x2e, 0x34, 0x36)), ColorScheme::light);
    EXPECT_EQ(Platform::trayForegroundFrom({0xFFFF, 0xFFFF, 0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0}), QColor(Qt::white));
    EXPECT_EQ(Platform::trayForegroundFrom({0x2E2E, 0x3434, 0x3636, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
              QColor(0x2e, 0x34, 0x36));
    EXPECT_FALSE(Platform::trayForegroundFrom({0xFFFF, 0xFFFF, 0xFFFF}).has_value());

    // Both shades are drawn and differ where the strokes are.
    const QImage onDark = statusTrayIcon(ColorScheme::dark).pixmap(18).toImage();
    const QImage onLight = statusTrayIcon(ColorScheme::light).pixmap(18).toImage();
    EXPECT_GT(onDark.pixelColor(9, 16).lightness(), 160);
    EXPECT_LT(onLight.pixelColor(9, 16).lightness(), 100);
}

TEST(AppIconTests, TheOneAppIconComesFromTheThemeElseTheDataFolder) {
    const QString id = QStringLiteral("org.glyphnab.Glyphnab");
    const std::optional<QString> file = appIconFile(id, ZantrelKit::dataFolder());
    ASSERT_TRUE(file.has_value()) << "the build's data folder holds the icon";
    EXPECT_FALSE(appIconFile(id, std::nullopt).has_value());
    EXPECT_FALSE(appIconFile(QStringLiteral("no.such.App"), ZantrelKit::dataFolder()).has_value());

    const QIcon icon = appIcon(id);
    ASSERT_FALSE(icon.isNull());
    const QImage drawn = icon.pixmap(64).toImage();
    ASSERT_FALSE(drawn.isNull());
    // A coloured tile with the tray's mark in white on it; nothing in the corner.
    EXPECT_EQ(qAlpha(drawn.pixel(1, 1)), 0);
    EXPECT_GT(drawn.pixelColor(32, 8).alpha(), 200);
    EXPECT_GT(drawn.pixelColor(32, 8).saturation(), 60);
}

}  // namespace
}  // namespace Glyphnab
