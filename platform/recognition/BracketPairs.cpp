#include "platform/recognition/BracketPairs.h"

#include "platform/recognition/GlyphInk.h"

#include <QString>

#include <optional>

namespace Platform::Recognition {
namespace {

// A stem holds ink in its outermost column over about all of its rows; a bend only
// over the rows near its middle.
constexpr double stemShare = 0.85;

const QString opens = QStringLiteral("([{");
const QString closes = QStringLiteral(")]}");
// The place of the square kind in both.
constexpr qsizetype square = 1;

struct Bracket {
    WordBox* word = nullptr;
    qsizetype at = 0;  // in the word's text
    const GlyphBox* glyph = nullptr;
    qsizetype kind = -1;
    bool opening = false;
};

// Whether the glyph's ink is one shape whose outer side (the left of an opening bracket)
// is a straight stem.
bool hasStraightSide(const Bracket& bracket, const QRectF& line, const QImage& gray, int threshold,
                     const std::vector<InkShape>& shapes) {
    const std::optional<GlyphInk> ink = inkOf(*bracket.glyph, line, shapes);
    if (!ink)
        return false;
    const int left = static_cast<int>(ink->left);
    const int right = left + static_cast<int>(ink->width) - 1;
    const int top = static_cast<int>(ink->top);
    const int bottom = static_cast<int>(ink->bottom) - 1;
    if (top < 0 || bottom >= gray.height() || left < 0 || right >= gray.width() || bottom - top < 4)
        return false;
    const int edge = bracket.opening ? left : right;
    int rows = 0;
    for (int y = top; y <= bottom; ++y)
        rows += gray.constScanLine(y)[edge] < threshold ? 1 : 0;
    return rows >= stemShare * (bottom - top + 1);
}

}  // namespace

void settleBracketPairs(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                        const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        std::vector<Bracket> open;
        for (WordBox& word : line.words) {
            if (!glyphsSpell(word)) {
                open.clear();
                continue;
            }
            qsizetype at = 0;
            for (const GlyphBox& glyph : word.glyphs) {
                Bracket bracket{&word, at, &glyph};
                at += glyph.text.size();
                if (glyph.text.size() != 1)
                    continue;
                if ((bracket.kind = opens.indexOf(glyph.text.front())) >= 0) {
                    bracket.opening = true;
                    open.push_back(bracket);
                    continue;
                }
                if ((bracket.kind = closes.indexOf(glyph.text.front())) < 0 || open.empty())
                    continue;
                const Bracket first = open.back();
                open.pop_back();
                if (first.kind == bracket.kind || (first.kind != square && bracket.kind != square))
                    continue;
                const Bracket& other = first.kind == square ? bracket : first;
                if (hasStraightSide(other, line.box, gray, threshold, shapes))
                    other.word->text[other.at] = (other.opening ? opens : closes)[square];
            }
        }
    }
}

}  // namespace Platform::Recognition
