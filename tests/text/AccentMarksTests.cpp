#include "platform/recognition/AccentMarks.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// A small letter 10 px wide, rows 20 to 31, as a ring, from x = `left`; its glyph box
// reaches up to row 14, where an accent's blob stands over a blank gap.
QRect letter(QImage& gray, int left) {
    for (int x = left; x < left + 10; ++x)
        gray.scanLine(20)[x] = gray.scanLine(31)[x] = 40;
    for (int y = 20; y <= 31; ++y)
        gray.scanLine(y)[left] = gray.scanLine(y)[left + 9] = 40;
    return QRect(left, 14, 10, 18);
}

void blob(QImage& gray, int from, int to, int top = 14, int bottom = 16) {
    for (int y = top; y <= bottom; ++y)
        for (int x = from; x <= to; ++x)
            gray.scanLine(y)[x] = 90;
}

QImage page() {
    QImage gray(200, 50, QImage::Format_Grayscale8);
    gray.fill(255);
    return gray;
}

}  // namespace

TEST(AccentMarks, WhereTheBlobStandsTellsTheAccent) {
    QImage gray = page();
    const QRect acute = letter(gray, 10), grave = letter(gray, 30), circumflex = letter(gray, 50),
                diaeresis = letter(gray, 70), narrow = letter(gray, 90), touching = letter(gray, 110);
    blob(gray, 16, 17);
    blob(gray, 32, 33);
    blob(gray, 52, 57);
    blob(gray, 72, 72);
    blob(gray, 77, 77);
    blob(gray, 94, 95);
    blob(gray, 116, 117, 14, 19);
    EXPECT_EQ(accentOver(gray, acute, 128), Accent::acute);
    EXPECT_EQ(accentOver(gray, grave, 128), Accent::grave);
    EXPECT_EQ(accentOver(gray, circumflex, 128), Accent::circumflex);
    EXPECT_EQ(accentOver(gray, diaeresis, 128), Accent::diaeresis);
    // A narrow blob over the middle may be any accent; one joined to its letter is none.
    EXPECT_EQ(accentOver(gray, narrow, 128), std::nullopt);
    EXPECT_EQ(accentOver(gray, touching, 128), std::nullopt);
    EXPECT_EQ(accentOver(gray, QRect(150, 14, 10, 18), 128), std::nullopt);
}

TEST(AccentMarks, ACircumflexOverAnAcutesBlobIsMendedAndNeverIntoAForeignLetter) {
    QImage gray = page();
    // "ê" over an acute's blob; "ü" over one wide blob and "è" over an acute's blob are
    // left as read (two dots run together as often as a circumflex parts).
    std::vector<GlyphBox> glyphs{{"\u00ea", letter(gray, 10)}, {"\u00fc", letter(gray, 30)},
                                 {"\u00e8", letter(gray, 50)}};
    blob(gray, 16, 17);
    blob(gray, 32, 37);
    blob(gray, 56, 57);
    std::vector<LineWords> lines{
        {QRectF(10, 14, 50, 18), {WordBox{"\u00ea\u00fc\u00e8", QRectF(10, 14, 50, 18), 0.8f, glyphs}}}};
    std::vector<LineWords> foreign = lines;
    settleAccents(lines, gray, 128, QString());
    EXPECT_EQ(lines.front().words.front().text, QString("\u00e9\u00fc\u00e8"));
    settleAccents(foreign, gray, 128, QString("\u00e9"));
    EXPECT_EQ(foreign.front().words.front().text, QString("\u00ea\u00fc\u00e8"));
}
