// A lone dash in a fixed-width line is told hyphen or en dash by its cell, not by the
// glyph height.

#include "platform/recognition/MonospaceHyphens.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr int cell = 10;

// "action - list" in cells 10 pixels wide, the dash `dash` pixels long and read "-",
// then lengthened to "–"; "i" and "l" drawn `stem` pixels wide, the others 7.
struct DashLine {
    QImage gray{200, 40, QImage::Format_Grayscale8};
    LineWords line{QRectF(0, 10, 200, 20), {}};
};

DashLine dashLine(int dash, int stem) {
    DashLine drawn;
    drawn.gray.fill(255);
    const auto ink = [&](const QRect& box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            std::fill_n(drawn.gray.scanLine(y) + box.left(), box.width(), uchar(0));
        return QRectF(box);
    };
    int x = 10;
    for (const QString text : {"action", "-", "list"}) {
        WordBox word{text, QRectF(), 0.9f};
        for (const QChar c : text) {
            const int width = c == u'-' ? dash : (c == u'i' || c == u'l') ? stem : 7;
            const bool flat = c == u'-';
            const QRect box(x + (cell - width) / 2, flat ? 19 : 12, width, flat ? 2 : 14);
            word.glyphs.push_back({QString(c), ink(box)});
            x += cell;
        }
        x += cell;
        word.box = QRectF(word.glyphs.front().box.topLeft(), word.glyphs.back().box.bottomRight());
        if (text == QLatin1String("-"))
            word.text = QString(QChar(0x2013));
        drawn.line.words.push_back(word);
    }
    return drawn;
}

QString dashRead(const DashLine& drawn) {
    std::vector<LineWords> lines{drawn.line};
    const int threshold = inkThreshold(drawn.gray);
    restoreMonospaceHyphens(lines, inkShapes(drawn.gray, threshold));
    return lines.front().words[1].text;
}

TEST(MonospaceHyphens, ADashShorterThanItsCellIsAHyphenOnlyInAFixedWidthLine) {
    const QString enDash(QChar(0x2013));
    EXPECT_EQ(dashRead(dashLine(6, 6)), "-");
    // As long as the cell: the font's en dash.
    EXPECT_EQ(dashRead(dashLine(10, 6)), enDash);
    // Thin stems: a proportional font set evenly keeps the dash its length gave it.
    EXPECT_EQ(dashRead(dashLine(6, 1)), enDash);
    // A dash the recognizer itself read "–" is left alone.
    DashLine read = dashLine(6, 6);
    read.line.words[1].glyphs.front().text = enDash;
    EXPECT_EQ(dashRead(read), enDash);
}

}  // namespace
