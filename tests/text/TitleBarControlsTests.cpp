// A title bar's buttons at the end of the title's row are no words; a checkbox before its
// label and round letters are left alone.

#include "platform/recognition/TitleBarControls.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr double glyph = 12.5;
constexpr int threshold = 150;

void fill(QImage& gray, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::fill_n(gray.scanLine(y) + area.left(), area.width(), uchar{50});
}

// A 14 px hollow box with 2 px sides at `x`; `round` leaves its corners as ground, like an O.
QRect drawBox(QImage& gray, int x, bool round = false) {
    const QRect box(x, 20, 14, 14);
    fill(gray, box);
    for (int y = 22; y < 32; ++y)
        std::fill_n(gray.scanLine(y) + x + 2, 10, uchar{240});
    if (round)
        for (const QPoint corner : {box.topLeft(), box.topRight() - QPoint(1, 0), box.bottomLeft() - QPoint(0, 1),
                                    box.bottomRight() - QPoint(1, 1)})
            for (int y = 0; y < 2; ++y)
                std::fill_n(gray.scanLine(corner.y() + y) + corner.x(), 2, uchar{240});
    return box;
}

QStringList wordsOf(const std::vector<LineWords>& lines) {
    QStringList words;
    for (const LineWords& line : lines)
        for (const WordBox& word : line.words)
            words.append(word.text);
    return words;
}

}  // namespace

TEST(TitleBarControls, OnlyAHollowSquareWithSharpCornersIsAButtonsIcon) {
    QImage gray(200, 50, QImage::Format_Grayscale8);
    gray.fill(240);
    EXPECT_TRUE(isHollowSquare(gray, threshold, drawBox(gray, 10), glyph));
    EXPECT_FALSE(isHollowSquare(gray, threshold, drawBox(gray, 40, true), glyph));
    // Filled, too small, or a frame much wider than high.
    fill(gray, QRect(70, 20, 14, 14));
    EXPECT_FALSE(isHollowSquare(gray, threshold, QRect(70, 20, 14, 14), glyph));
    fill(gray, QRect(100, 20, 6, 6));
    gray.setPixel(102, 22, qRgb(240, 240, 240));
    EXPECT_FALSE(isHollowSquare(gray, threshold, QRect(100, 20, 6, 6), glyph));
}

TEST(TitleBarControls, TheButtonsEndingTheTitlesRowGoAndACheckboxBeforeItsLabelStays) {
    QImage gray(400, 50, QImage::Format_Grayscale8);
    gray.fill(240);
    const QRect square = drawBox(gray, 300);
    fill(gray, QRect(260, 31, 12, 2));  // the minimize bar, read on a line of its own
    const auto read = [&](const QString& title, const QRectF& titleBox) {
        std::vector<LineWords> lines{{QRectF(20, 18, 340, 18),
                                      {WordBox{title, titleBox, 0.9f},
                                       WordBox{"ox", QRectF(square).adjusted(0, 0, 40, 0), 0.3f}}},
                                     {QRectF(258, 29, 16, 6), {WordBox{"\u2014", QRectF(258, 29, 16, 6), 0.4f}}}};
        dropTitleBarControls(lines, gray, threshold, inkShapes(gray, threshold), glyph);
        return wordsOf(lines);
    };
    EXPECT_EQ(read("Settings", QRectF(20, 18, 80, 16)), QStringList{"Settings"});
    // Text close before the square is a row of words, not a title bar.
    EXPECT_EQ(read("Settings", QRectF(200, 18, 50, 16)), QStringList({"Settings", "ox", "\u2014"}));

    // A checkbox before its label.
    std::vector<LineWords> checkbox{{QRectF(300, 18, 90, 18),
                                     {WordBox{"o", QRectF(square), 0.4f}, WordBox{"Remember", QRectF(320, 18, 70, 16), 0.9f}}}};
    dropTitleBarControls(checkbox, gray, threshold, inkShapes(gray, threshold), glyph);
    EXPECT_EQ(wordsOf(checkbox), QStringList({"o", "Remember"}));
}
