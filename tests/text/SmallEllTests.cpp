#include "platform/recognition/SmallEll.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// 14 rows of ink in a 10 px cell at `left`: each entry is a run [from, to] of columns
// filled over rows [top, bottom].
struct Stroke {
    int top, bottom, from, to;
};

void draw(QImage& gray, int left, std::initializer_list<Stroke> strokes) {
    for (const Stroke& s : strokes)
        for (int y = s.top; y <= s.bottom; ++y)
            for (int x = s.from; x <= s.to; ++x)
                gray.scanLine(10 + y)[left + x] = 0;
}

// A fixed-width "l": a serif left of the stem at the top, a tail to the right below.
const std::initializer_list<Stroke> monoEll{{0, 1, 1, 5}, {0, 13, 4, 5}, {12, 13, 4, 8}};
// A sans "L", and one whose stem stands on a fractional pixel: its foot reaches a pixel
// left of the stem.
const std::initializer_list<Stroke> sansL{{0, 13, 1, 2}, {12, 13, 1, 8}};
const std::initializer_list<Stroke> blurredL{{0, 13, 2, 3}, {12, 13, 1, 8}};
// A slab "L": serifs on both sides of its top.
const std::initializer_list<Stroke> slabL{{0, 1, 0, 5}, {0, 13, 2, 3}, {12, 13, 0, 8}};

QImage cell(std::initializer_list<Stroke> strokes) {
    QImage gray(30, 34, QImage::Format_Grayscale8);
    gray.fill(255);
    draw(gray, 10, strokes);
    return gray;
}

}  // namespace

TEST(SmallEll, AStemWithASerifLeftOfItsTopOnlyIsAnEll) {
    const QRect box(10, 10, 10, 14);
    EXPECT_TRUE(isSerifedEll(cell(monoEll), 128, box));
    EXPECT_FALSE(isSerifedEll(cell(sansL), 128, box));
    EXPECT_FALSE(isSerifedEll(cell(blurredL), 128, box));
    EXPECT_FALSE(isSerifedEll(cell(slabL), 128, box));
    // Too small to tell.
    EXPECT_FALSE(isSerifedEll(cell(monoEll), 128, QRect(10, 10, 10, 5)));
}

TEST(SmallEll, OnlyAnEllStartingAWordOfSmallLettersIsLowered) {
    const auto read = [](std::initializer_list<Stroke> first, const QString& text) {
        QImage gray(80, 34, QImage::Format_Grayscale8);
        gray.fill(255);
        draw(gray, 10, first);
        WordBox word{text, QRectF(10, 10, 10.0 * double(text.size()), 14), 0.9f};
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i > 0)
                draw(gray, 10 + 10 * int(i), {{4, 13, 2, 7}});
            word.glyphs.push_back({QString(text[i]), QRectF(10 + 10 * double(i), 10, 10, 14)});
        }
        std::vector<LineWords> lines{{word.box, {word}}};
        restoreSmallEll(lines, gray, 128, inkShapes(gray, 128));
        return lines.front().words.front().text.toStdString();
    };
    EXPECT_EQ(read(monoEll, "Link"), "link");
    EXPECT_EQ(read(sansL, "Link"), "Link");
    // Capitals after it: a word of capitals keeps its "L".
    EXPECT_EQ(read(monoEll, "LIST"), "LIST");
}
