// A link's underline goes before reading; the strokes of letters, dashes and bars stay.

#include "platform/recognition/PagePreparation.h"
#include "platform/recognition/Underlines.h"

#include <QFont>
#include <QPainter>

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
