// A link's underline goes before reading; the strokes of letters, dashes and bars stay.

#include "platform/recognition/PagePreparation.h"
#include "platform/recognition/Underlines.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

QImage drawLine(const QString& text, const QString& family = QStringLiteral("DejaVu Sans")) {
    QImage picture(420, 40, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter painter(&picture);
    QFont font(family);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(10, 25), text);
    painter.end();
    return picture;
}

// The underline a browser draws: a pixel under the baseline, broken with room on either
// side where a descender passes.
QImage underlined(const QImage& plain, int from, int to) {
    QImage picture = plain;
    const int y = 27;
    for (int x = from; x < to; ++x) {
        bool descender = false;
        for (int dx = -2; dx <= 2; ++dx)
            descender = descender || qGray(plain.pixel(x + dx, y)) < 200;
        if (!descender)
            picture.scanLine(y)[x] = 0;
    }
    return picture;
}

}  // namespace

TEST(Underlines, AnUnderlineGoesAndTheLettersAboveItStay) {
    const QString link = QStringLiteral("https://group.example.com/channel");
    const QImage plain = drawLine(link);
    QImage withLine = underlined(plain, 10, 300);
    const std::optional<double> glyph = medianGlyphHeight(plain);
    ASSERT_TRUE(glyph.has_value());
    EXPECT_GE(eraseUnderlines(withLine, glyph), 1);
    // The descenders it passed stay whole.
    EXPECT_EQ(withLine, plain);
}

TEST(Underlines, DashesBarsAndLetterStrokesAreNoUnderline) {
    for (const QString& text : {QStringLiteral("if (a == b && c !== d) return x - y;"),
                                QStringLiteral("Les Lettres — Le Temps -- LLL ZZZ"),
                                QStringLiteral("__init__ = 2 222 ... 1.5")}) {
        for (const QString& family : {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono")}) {
            QImage picture = drawLine(text, family);
            const QImage before = picture;
            EXPECT_EQ(eraseUnderlines(picture, medianGlyphHeight(before)), 0) << text.toStdString();
            EXPECT_EQ(picture, before) << text.toStdString();
        }
    }
    QImage picture = underlined(drawLine(QStringLiteral("no size")), 10, 300);
    EXPECT_EQ(eraseUnderlines(picture, std::nullopt), 0);
    QImage empty;
    EXPECT_EQ(eraseUnderlines(empty, 10.0), 0);
}

namespace {

// An underline drawn straight through, touching whatever reaches down to it.
QImage struckUnder(const QImage& plain, int from, int to) {
    QImage picture = plain;
    for (int x = from; x < to; ++x)
        picture.scanLine(27)[x] = 0;
    return picture;
}

int inkIn(const QImage& gray, int y) {
    const uchar* row = gray.constScanLine(y);
    return static_cast<int>(std::count_if(row, row + gray.width(), [](uchar v) { return v < 128; }));
}

}  // namespace

TEST(UnderlinesJoined, ALineTouchingSlashesAndDescendersGoesAndTheyStay) {
    const QImage plain = drawLine(QStringLiteral("https://group.example.com/channel"));
    QImage picture = struckUnder(plain, 10, 300);
    const std::optional<double> glyph = medianGlyphHeight(plain);
    ASSERT_TRUE(glyph.has_value());
    EXPECT_GE(eraseUnderlines(picture, glyph), 1);
    // What is left of the line's row is the glyphs' own ink: the stems it crossed.
    EXPECT_LE(inkIn(picture, 27), inkIn(plain, 27));
    for (int y = 0; y < plain.height(); ++y) {
        if (y != 27) {
            EXPECT_EQ(inkIn(picture, y), inkIn(plain, y)) << y;
        }
    }
}

TEST(UnderlinesJoined, TheStubPastALastDescenderGoesWithTheLineAndAPeriodAfterItStays) {
    const QString link = QStringLiteral("https://range.example.com/entry");
    const QImage plain = drawLine(link + u'.');
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    const int end = 10 + QFontMetrics(font).horizontalAdvance(link);
    QImage picture = underlined(plain, 10, end);
    EXPECT_GE(eraseUnderlines(picture, medianGlyphHeight(plain)), 1);
    EXPECT_EQ(picture, plain);
}
