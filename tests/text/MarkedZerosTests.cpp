// A zero whose mark ran into its ring is read back as a zero; a "6" whose hook closes a
// sliver and an "8" with its waist keep their reading.

#include "platform/recognition/MarkedZeros.h"

#include "tests/text/DrawnGlyphs.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr int margin = GlyphTests::glyphMargin;

// What the rule makes of the glyph when the recognizer read it as `read`.
QString reread(const QStringList& rows, const QString& read) {
    const QImage picture = GlyphTests::drawGlyphs(rows);
    // The recognizer's box about the glyph's ink; the line's a little taller.
    const QRectF box = QRectF(picture.rect()).adjusted(margin + 2, margin, -margin - 2, -margin);
    std::vector<LineWords> lines{{box.adjusted(0, -3, 0, 3), {WordBox{read, box, 0.9f, {GlyphBox{read, box}}}}}};
    restoreMarkedZeros(lines, picture, 128, inkShapes(picture, 128));
    return lines.front().words.front().text;
}

const QStringList markedZero{
    QStringLiteral("...####..."), QStringLiteral("..######.."), QStringLiteral(".##....##."),
    QStringLiteral(".##....##."), QStringLiteral(".##....##."), QStringLiteral(".########."),
    QStringLiteral(".##....##."), QStringLiteral(".##....##."), QStringLiteral(".##....##."),
    QStringLiteral("..######.."), QStringLiteral("...####..."),
};

const QStringList sixWithClosedHook{
    QStringLiteral("..######."), QStringLiteral(".#######."), QStringLiteral(".###..##."),
    QStringLiteral("########."), QStringLiteral("########."), QStringLiteral("###...###"),
    QStringLiteral("###...###"), QStringLiteral("###...###"), QStringLiteral(".##...###"),
    QStringLiteral(".#######."), QStringLiteral("..######."),
};

const QStringList eight{
    QStringLiteral("...####..."), QStringLiteral("..######.."), QStringLiteral(".##....##."),
    QStringLiteral(".##....##."), QStringLiteral("..######.."), QStringLiteral("...####..."),
    QStringLiteral("..######.."), QStringLiteral(".##....##."), QStringLiteral(".##....##."),
    QStringLiteral("..######.."), QStringLiteral("...####..."),
};

}  // namespace

TEST(MarkedZeros, ARingSplitByItsMarkIsAZeroWhateverOtherDigitItWasReadAs) {
    EXPECT_EQ(reread(markedZero, QStringLiteral("6")).toStdString(), "0");
    EXPECT_EQ(reread(markedZero, QStringLiteral("9")).toStdString(), "0");
    EXPECT_EQ(reread(markedZero, QStringLiteral("8")).toStdString(), "0");
}

TEST(MarkedZeros, ASixsClosedHookAndAnEightsWaistKeepTheirReading) {
    EXPECT_EQ(reread(sixWithClosedHook, QStringLiteral("6")).toStdString(), "6");
    EXPECT_EQ(reread(eight, QStringLiteral("9")).toStdString(), "9");
    EXPECT_EQ(reread(eight, QStringLiteral("6")).toStdString(), "6");
}

namespace {

// Small and round, the mark fills the ring's middle row from side to side.
const QStringList roundMarkedZero{
    QStringLiteral("...####..."), QStringLiteral("..######.."), QStringLiteral(".##....##."),
    QStringLiteral(".##....##."), QStringLiteral("##########"), QStringLiteral("##########"),
    QStringLiteral(".##....##."), QStringLiteral(".##....##."), QStringLiteral("..######.."),
    QStringLiteral("...####..."),
};

// DejaVu Sans Mono's "8" at 10 px: its waist is only a pixel narrower than its bowls.
const QStringList smallEight{
    QStringLiteral("..######.."), QStringLiteral(".#######.."), QStringLiteral(".##...###."),
    QStringLiteral(".###..###."), QStringLiteral(".#######.."), QStringLiteral("..######.."),
    QStringLiteral(".#######.."), QStringLiteral(".##...###."), QStringLiteral(".##...###."),
    QStringLiteral(".###..###."), QStringLiteral(".#######.."), QStringLiteral("..######.."),
};

}  // namespace

// The same font's zero at that size fills its middle rows from side to side, as wide as
// its bowls ("4096" came back "4896").
TEST(MarkedZerosReadAsEight, ARingNoNarrowerBetweenItsHolesThanBesideThemIsAZero) {
    EXPECT_EQ(reread(roundMarkedZero, QStringLiteral("8")).toStdString(), "0");
    EXPECT_EQ(reread(markedZero, QStringLiteral("8")).toStdString(), "0");
    EXPECT_EQ(reread(eight, QStringLiteral("8")).toStdString(), "8");
    EXPECT_EQ(reread(smallEight, QStringLiteral("8")).toStdString(), "8");
}

namespace {

// A fixed-width zero at a size where its dot stands free in the middle of the ring.
const QStringList dottedZero{
    QStringLiteral("...###..."), QStringLiteral("..##.##.."), QStringLiteral(".##...##."),
    QStringLiteral(".#.....#."), QStringLiteral(".#.....#."), QStringLiteral(".#..##.#."),
    QStringLiteral(".#..##.#."), QStringLiteral(".#.....#."), QStringLiteral(".##...##."),
    QStringLiteral("..##.##.."), QStringLiteral("...###..."),
};

// The same ring with a speck up by its side: no mark of a zero.
const QStringList ringWithASpeck{
    QStringLiteral("...###..."), QStringLiteral("..##.##.."), QStringLiteral(".##...##."),
    QStringLiteral(".#.##..#."), QStringLiteral(".#.##..#."), QStringLiteral(".#.....#."),
    QStringLiteral(".#.....#."), QStringLiteral(".#.....#."), QStringLiteral(".##...##."),
    QStringLiteral("..##.##.."), QStringLiteral("...###..."),
};

}  // namespace

TEST(DottedZeros, ARingWithAFreeDotInItsMiddleIsAZero) {
    EXPECT_EQ(reread(dottedZero, QStringLiteral("6")).toStdString(), "0");
    EXPECT_EQ(reread(dottedZero, QStringLiteral("9")).toStdString(), "0");
    EXPECT_EQ(reread(ringWithASpeck, QStringLiteral("6")).toStdString(), "6");
}
