// An "i"'s dot read into the line above as a word of its own goes; a sentence's period,
// and a point under no word of another line, stay.

#include "platform/recognition/DetachedDots.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

WordBox word(const QString& text, const QRectF& box) { return {text, box, 0.9f}; }

TEST(DetachedDots, AnIsDotReadIntoTheLineAboveGoesOtherPointsStay) {
    // "Device" (x 40..120, y 30..50) centred between two header lines; its "i" dot at
    // x 80..83, y 31..34 was read into the upper line (y 10..34), which ends in a period.
    std::vector<LineWords> lines{
        {QRectF(40, 10, 200, 24),
         {word(QStringLiteral("."), QRectF(79, 12, 6, 22)), word(QStringLiteral("Q1"), QRectF(140, 10, 20, 14)),
          word(QStringLiteral("2024."), QRectF(165, 10, 50, 14))}},
        {QRectF(40, 30, 80, 20), {word(QStringLiteral("Device"), QRectF(40, 30, 80, 20))}},
        {QRectF(40, 60, 60, 14), {word(QStringLiteral("."), QRectF(40, 60, 4, 14))}}};
    const std::vector<InkShape> shapes{{QRect(80, 31, 4, 4), 12},  {QRect(140, 10, 20, 14), 80},
                                       {QRect(165, 10, 40, 14), 90}, {QRect(210, 21, 3, 3), 9},
                                       {QRect(40, 30, 80, 20), 300}, {QRect(41, 70, 3, 3), 9}};
    dropDetachedDots(lines, shapes);
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(lines[0].words.size(), 2u);
    EXPECT_EQ(lines[0].words[0].text, QStringLiteral("Q1"));
    EXPECT_EQ(lines[0].words[1].text, QStringLiteral("2024."));
    // A lone point below "Device" lies in no other line's word.
    EXPECT_EQ(lines[2].words.front().text, QStringLiteral("."));

    // A line of nothing but the detached dot goes with it.
    std::vector<LineWords> alone{{QRectF(79, 12, 6, 22), {word(QStringLiteral("."), QRectF(79, 12, 6, 22))}},
                                 {QRectF(40, 30, 80, 20), {word(QStringLiteral("Device"), QRectF(40, 30, 80, 20))}}};
    dropDetachedDots(alone, shapes);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone.front().words.front().text, QStringLiteral("Device"));
}

}  // namespace
