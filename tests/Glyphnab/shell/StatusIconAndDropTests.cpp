#include "Glyphnab/shell/DropView.h"
#include "Glyphnab/shell/StatusIcon.h"

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
