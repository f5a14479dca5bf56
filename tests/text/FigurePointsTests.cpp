#include "platform/recognition/FigurePoints.h"
#include "platform/recognition/PagePreparation.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// A figure drawn dark on white, as a band of the prepared page holds it.
QImage drawnFigure(const QString& text) {
    QImage picture(140, 40, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter painter(&picture);
    QFont font{QStringLiteral("DejaVu Sans")};
    font.setPixelSize(19);
    painter.setFont(font);
    painter.setPen(QColor(28, 28, 30));
    painter.drawText(QPointF(10, 28), text);
    return picture;
}

}  // namespace

TEST(FigurePointsKept, TouchingDigitsStillLetASecondReadingRestoreThePoint) {
    // "7.44" at a small size: the two fours touch and make one shape.
    const std::vector<InkShape> shapes{{QRect(158, 97, 10, 13), 60}, {QRect(169, 107, 3, 3), 9},
                                       {QRect(173, 97, 21, 13), 140}};
    const WordBox word{QStringLiteral("744"), QRectF(158, 97, 36, 13), 0.9f};
    const double glyph = 12.5;
    ASSERT_TRUE(missesPoint(word, shapes, glyph));
    EXPECT_TRUE(isPointedReading(QStringLiteral("7.44"), word, shapes, glyph));
    // Other digits, or a second point the ink does not hold, still do not stand.
    EXPECT_FALSE(isPointedReading(QStringLiteral("7.14"), word, shapes, glyph));
    EXPECT_FALSE(isPointedReading(QStringLiteral("7.4.4"), word, shapes, glyph));
}

TEST(FigurePointsKept, ASecondReadingMayNotDropAPointTheFirstSaw) {
    EXPECT_FALSE(keepsPoints(QStringLiteral("7.A7"), QStringLiteral("747")));
    EXPECT_FALSE(keepsPoints(QStringLiteral("1,2O4"), QStringLiteral("1204")));
    EXPECT_TRUE(keepsPoints(QStringLiteral("1,2O4"), QStringLiteral("1,204")));
    EXPECT_TRUE(keepsPoints(QStringLiteral("7A7"), QStringLiteral("7.47")));
    // A full stop after the figure is not one of its points.
    EXPECT_TRUE(keepsPoints(QStringLiteral("3l0."), QStringLiteral("310")));
}

TEST(FigurePointsKept, TheInkAlonePlacesAPointNoReadingShowed) {
    const QRectF box(6, 6, 120, 28);
    const double glyph = 11;
    for (const auto& [drawn, read] : {std::pair{"1.4", "14"}, std::pair{"67.5", "675"}, std::pair{"1,240", "1240"}}) {
        const QImage picture = drawnFigure(QLatin1String(drawn));
        const WordBox word{QLatin1String(read), box, 0.93f};
        EXPECT_EQ(pointedFromInk(word, inkShapes(picture, inkThreshold(picture)), glyph), QLatin1String(drawn));
    }
    // A colon's lower dot sits where a point would: the time stays as read.
    const QImage time = drawnFigure(QStringLiteral("09:06"));
    const WordBox word{QStringLiteral("0906"), box, 0.93f};
    EXPECT_EQ(pointedFromInk(word, inkShapes(time, inkThreshold(time)), glyph), std::nullopt);
}
