#include "platform/recognition/DoubleHyphens.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

// A hyphen's stroke: a few pixels thick at most, and between a fifth and two thirds of the
// glyph height long (an en dash is longer).
constexpr double thickestStroke = 0.2;
constexpr double shortestHyphen = 0.2;
constexpr double longestHyphen = 0.64;
// Two hyphens of one option stand closer than a space.
constexpr double widestGap = 0.3;

// A dip in a stroke's darkness this deep, against its depth from the ground, parts two
// hyphens whose anti-aliased ends ran together at the ink level.
constexpr double partingDip = 0.3;

bool isFlat(const QRect& box, double glyph) {
    return box.height() <= std::max(2.0, thickestStroke * glyph) && box.width() >= 2 * box.height();
}

bool isHyphenLength(const QRect& box, double glyph) {
    return box.width() >= shortestHyphen * glyph && box.width() <= longestHyphen * glyph;
}

// A flat stroke cut where its darkest row lightens between two darker stretches.
std::vector<QRect> partsOfStroke(const QImage& gray, const QRect& stroke) {
    const QRect rows = stroke.adjusted(0, -1, 0, 1) & gray.rect();
    std::vector<int> darkest;
    for (int x = stroke.left(); x <= stroke.right(); ++x) {
        int value = 255;
        for (int y = rows.top(); y <= rows.bottom(); ++y)
            value = std::min<int>(value, gray.constScanLine(y)[x]);
        darkest.push_back(value);
    }
    const QRect around = stroke.adjusted(-2, -2, 2, 2) & gray.rect();
    int ground = 0;
    for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x)
            if (!stroke.contains(x, y))
                ground = std::max<int>(ground, gray.constScanLine(y)[x]);
    const int darkestOfAll = *std::min_element(darkest.begin(), darkest.end());
    const double dip = partingDip * (ground - darkestOfAll);
    std::vector<QRect> parts;
    int start = 0;
    for (int x = 1; x + 1 < static_cast<int>(darkest.size()); ++x) {
        const int before = *std::min_element(darkest.begin() + start, darkest.begin() + x);
        const int after = *std::min_element(darkest.begin() + x + 1, darkest.end());
        if (darkest[static_cast<std::size_t>(x)] >= std::max(before, after) + dip &&
            darkest[static_cast<std::size_t>(x)] >= *std::max_element(darkest.begin() + x - 1, darkest.begin() + x + 2)) {
            parts.emplace_back(stroke.left() + start, stroke.top(), x - start, stroke.height());
            start = x + 1;
        }
    }
    parts.emplace_back(stroke.left() + start, stroke.top(), static_cast<int>(darkest.size()) - start, stroke.height());
    return parts;
}

// How many hyphens the ink under a glyph box holds: its shapes all flat strokes on the
// same rows, a narrow gap apart, each a hyphen's length; 1 for anything else.
int hyphensUnder(const QRectF& box, const QImage& gray, const std::vector<InkShape>& shapes, double glyph) {
    const QRectF area = box.adjusted(-1, -1, 1, 1);
    std::vector<QRect> strokes;
    for (const InkShape& shape : shapes) {
        if (!area.contains(QRectF(shape.box).center()))
            continue;
        if (!isFlat(shape.box, glyph) || shape.box.width() > 2 * longestHyphen * glyph)
            return 1;
        for (const QRect& part : partsOfStroke(gray, shape.box))
            strokes.push_back(part);
    }
    if (strokes.size() < 2 || std::any_of(strokes.begin(), strokes.end(), [&](const QRect& stroke) {
            return !isHyphenLength(stroke, glyph);
        }))
        return 1;
    std::sort(strokes.begin(), strokes.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    for (std::size_t i = 1; i < strokes.size(); ++i) {
        const QRect& left = strokes[i - 1];
        const QRect& right = strokes[i];
        const bool sameRows = right.top() <= left.bottom() && left.top() <= right.bottom();
        if (!sameRows || right.left() - left.right() > widestGap * glyph)
            return 1;
    }
    return static_cast<int>(strokes.size());
}

}  // namespace

void restoreDoubleHyphens(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes,
                          double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            // Only while each glyph still spells its character of the word.
            if (!word.text.contains(u'-') || static_cast<qsizetype>(word.glyphs.size()) != word.text.size() ||
                !glyphsSpell(word))
                continue;
            QString text;
            for (qsizetype i = 0; i < word.text.size(); ++i) {
                const int hyphens =
                    word.text[i] == u'-' ? hyphensUnder(word.glyphs[static_cast<std::size_t>(i)].box, gray, shapes, glyph) : 1;
                text += hyphens > 1 ? QString(hyphens, u'-') : word.text.mid(i, 1);
            }
            word.text = text;
        }
    }
}

}  // namespace Platform::Recognition
