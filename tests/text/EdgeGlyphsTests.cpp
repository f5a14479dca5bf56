// A fixed-width line cut by the picture's right edge keeps the characters whose cells'
// middles are on the picture, and only those.

#include "platform/recognition/EdgeGlyphs.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// Cells 10 pixels wide, cell 0's middle at x 15; glyph ink 6 pixels wide in the middle.
QRectF inCell(long cell, double top) { return QRectF(12 + 10.0 * static_cast<double>(cell), top, 6, 12); }

LineWords lineOf(const QString& text, double top, std::vector<InkShape>& shapes, double edge = 0) {
    LineWords line{QRectF(0, top, 0, 12), {WordBox{text, {}, 0.9f, {}}}};
    WordBox& word = line.words.front();
    for (qsizetype i = 0; i < text.size(); ++i) {
        QRectF box = inCell(i, top);
        if (edge > 0)
            box.setRight(std::min(box.right(), edge));
        word.glyphs.push_back(GlyphBox{text.mid(i, 1), box});
        shapes.push_back(InkShape{box.toRect(), 60});
    }
    word.box = word.glyphs.front().box.united(word.glyphs.back().box);
    line.box = word.box;
    return line;
}

QString lastLineRead(int width, double edge) {
    std::vector<InkShape> shapes;
    // Slim letters prove the font; the cut line has none.
    std::vector<LineWords> lines{lineOf(QStringLiteral("lillillil"), 0, shapes),
                                 lineOf(QStringLiteral("abcdefghjk"), 20, shapes, edge)};
    dropEdgeGlyphs(lines, width, shapes);
    return lines.size() == 2 ? lines.back().words.back().text : QString();
}

}  // namespace

TEST(EdgeGlyphs, AGlyphIsDroppedOnlyWhenItsCellsMiddleIsPastTheEdge) {
    // The "k" cell's middle is at x 105.
    EXPECT_EQ(lastLineRead(104, 104).toStdString(), "abcdefghj");
    EXPECT_EQ(lastLineRead(106, 106).toStdString(), "abcdefghjk");
    // A line ending short of the edge is whole, whatever its grid says.
    EXPECT_EQ(lastLineRead(110, 0).toStdString(), "abcdefghjk");
}
