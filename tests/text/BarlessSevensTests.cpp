#include "platform/recognition/BarlessSevens.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// Glyphs 8 px wide and 14 rows tall, 10 px apart from x = 10, rows 10 to 23.
void seven(QImage& gray, int left) {
    for (int x = left; x < left + 8; ++x)
        gray.scanLine(10)[x] = gray.scanLine(11)[x] = 0;
    for (int r = 2; r < 14; ++r)
        gray.scanLine(10 + r)[left + 7 - r / 2] = gray.scanLine(10 + r)[left + 6 - r / 2] = 0;
}

// An italic "1": a stem leaning right, a flag down to the left from its top.
void italicOne(QImage& gray, int left) {
    for (int r = 0; r < 14; ++r) {
        const int stem = left + 5 - r * 5 / 13;
        gray.scanLine(10 + r)[stem] = gray.scanLine(10 + r)[stem + 1] = gray.scanLine(10 + r)[stem + 2] = 0;
    }
    for (int r = 1; r < 4; ++r)
        gray.scanLine(10 + r)[left + 5 - r] = 0;
}

// A plain figure glyph: a block.
void block(QImage& gray, int left) {
    for (int y = 10; y < 24; ++y)
        for (int x = left; x < left + 8; ++x)
            gray.scanLine(y)[x] = 0;
}

std::string read(const QString& text, std::initializer_list<void (*)(QImage&, int)> glyphs) {
    QImage gray(120, 40, QImage::Format_Grayscale8);
    gray.fill(255);
    int left = 10;
    for (const auto draw : glyphs) {
        draw(gray, left);
        left += 10;
    }
    std::vector<LineWords> lines{{QRectF(10, 10, left - 12, 14), {{text, QRectF(10, 10, left - 12, 14), 0.9f}}}};
    restoreBarlessSevens(lines, gray, 128, inkShapes(gray, 128));
    return lines.front().words.front().text.toStdString();
}

}  // namespace

TEST(BarlessSevens, ASevenWithoutABarAtItsTopIsAOne) {
    EXPECT_EQ(read(QStringLiteral("3757"), {block, seven, block, italicOne}), "3751");
    EXPECT_EQ(read(QStringLiteral("77"), {seven, seven}), "77");
    // In a word of letters the "7" is another rule's to doubt.
    EXPECT_EQ(read(QStringLiteral("a7"), {block, italicOne}), "a7");
}
