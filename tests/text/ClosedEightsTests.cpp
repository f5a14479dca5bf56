// An "8" read as "3" is read back from the two bowls its ink closes, wherever the
// recognizer put the glyph's box; a "3", open on its left, keeps its reading.

#include "platform/recognition/ClosedEights.h"

#include "tests/text/DrawnGlyphs.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr int margin = GlyphTests::glyphMargin;

// What the rule makes of the word when the recognizer read it as `read`, its glyph
// boxes shifted right by a glyph's width, as the recognizer can box them.
QString reread(const QStringList& rows, const QString& read) {
    const QImage picture = GlyphTests::drawGlyphs(rows);
    const QRectF box = QRectF(picture.rect()).adjusted(margin, margin, -margin, -margin);
    const double width = box.width() / static_cast<double>(read.size());
    std::vector<GlyphBox> glyphs;
    for (qsizetype i = 0; i < read.size(); ++i)
        glyphs.push_back({read.mid(i, 1), QRectF(box.left() + (static_cast<double>(i) + 1) * width, box.top(), width,
                                                 box.height())});
    std::vector<LineWords> lines{{box.adjusted(0, -3, 0, 3), {WordBox{read, box, 0.9f, glyphs}}}};
    restoreClosedEights(lines, picture, 128, inkShapes(picture, 128));
    return lines.front().words.front().text;
}

// An "8" and a "1", then a "3" and a "1".
const QStringList eightOne{
    QStringLiteral("..####.....##"), QStringLiteral(".##..##...###"), QStringLiteral(".##..##....##"),
    QStringLiteral(".##..##....##"), QStringLiteral("..####.....##"), QStringLiteral(".##..##....##"),
    QStringLiteral("##....##...##"), QStringLiteral("##....##...##"), QStringLiteral(".##..##....##"),
    QStringLiteral("..####.....##"),
};

const QStringList threeOne{
    QStringLiteral(".#####.....##"), QStringLiteral("##...##...###"), QStringLiteral(".....##....##"),
    QStringLiteral(".....##....##"), QStringLiteral("..####.....##"), QStringLiteral(".....##....##"),
    QStringLiteral("......##...##"), QStringLiteral("......##...##"), QStringLiteral("##...##....##"),
    QStringLiteral(".#####.....##"),
};

// A "3" whose upper arm runs into its middle: one bowl closed, the lower one open.
const QStringList threeOneBowl{
    QStringLiteral(".#####.....##"), QStringLiteral("##...##...###"), QStringLiteral("##...##....##"),
    QStringLiteral("##...##....##"), QStringLiteral(".#####.....##"), QStringLiteral(".....##....##"),
    QStringLiteral("......##...##"), QStringLiteral("......##...##"), QStringLiteral("##...##....##"),
    QStringLiteral(".#####.....##"),
};

}  // namespace

TEST(ClosedEights, InkClosingTwoBowlsOneOverTheOtherIsAnEightWhereverItsBoxWasPut) {
    EXPECT_EQ(reread(eightOne, QStringLiteral("31")).toStdString(), "81");
    // Only the three: a "1" read over the bowls' ink is not the rule's to change.
    EXPECT_EQ(reread(eightOne, QStringLiteral("71")).toStdString(), "71");
}

TEST(ClosedEights, AThreeOpenOnItsLeftOrClosingOneBowlKeepsItsReading) {
    EXPECT_EQ(reread(threeOne, QStringLiteral("31")).toStdString(), "31");
    EXPECT_EQ(reread(threeOneBowl, QStringLiteral("31")).toStdString(), "31");
    // Ink that falls apart otherwise than the characters (a glyph lost) places no digit.
    EXPECT_EQ(reread(eightOne, QStringLiteral("3")).toStdString(), "3");
}

namespace {

// A "5" and a "1": its top open on the right, its bowl open on the left.
const QStringList fiveOne{
    QStringLiteral("#######....##"), QStringLiteral("##........###"), QStringLiteral("##.........##"),
    QStringLiteral("######.....##"), QStringLiteral(".....##....##"), QStringLiteral(".....##....##"),
    QStringLiteral(".....##....##"), QStringLiteral(".....##....##"), QStringLiteral("##..##.....##"),
    QStringLiteral(".####......##"),
};

}  // namespace

TEST(ClosedEightsReadAsFive, AnEightReadFiveIsReadBackAndAnOpenFiveStays) {
    EXPECT_EQ(reread(eightOne, QStringLiteral("51")).toStdString(), "81");
    EXPECT_EQ(reread(fiveOne, QStringLiteral("51")).toStdString(), "51");
}
