#include "platform/recognition/AccentMarks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Platform::Recognition {
namespace {

struct Vowel {
    QChar acute, grave, circumflex, diaeresis;
};

constexpr std::array vowels{
    Vowel{u'\u00e1', u'\u00e0', u'\u00e2', u'\u00e4'},
    Vowel{u'\u00e9', u'\u00e8', u'\u00ea', u'\u00eb'},
    Vowel{u'\u00f3', u'\u00f2', u'\u00f4', u'\u00f6'},
    Vowel{u'\u00fa', u'\u00f9', u'\u00fb', u'\u00fc'},
};

const Vowel* vowelOf(QChar c) {
    for (const Vowel& vowel : vowels)
        if (c == vowel.acute || c == vowel.grave || c == vowel.circumflex || c == vowel.diaeresis)
            return &vowel;
    return nullptr;
}

QChar withAccent(const Vowel& vowel, Accent accent) {
    switch (accent) {
    case Accent::acute: return vowel.acute;
    case Accent::grave: return vowel.grave;
    case Accent::circumflex: return vowel.circumflex;
    case Accent::diaeresis: return vowel.diaeresis;
    }
    return vowel.acute;
}

struct Ink {
    double weight = 0, sum = 0;
    int left = -1, right = -1;
    double centre() const { return sum / weight; }
};

// The ink of rows [top, bottom] darker than `level`, weighted by how much darker.
Ink inkOf(const QImage& gray, const QRect& box, int top, int bottom, int level) {
    Ink ink;
    for (int y = top; y <= bottom; ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            if (line[x] >= level)
                continue;
            ink.weight += level - line[x];
            ink.sum += static_cast<double>(level - line[x]) * x;
            ink.left = ink.left < 0 ? x : std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
        }
    }
    return ink;
}

}  // namespace

std::optional<Accent> accentOver(const QImage& gray, const QRect& area, int threshold) {
    const QRect box = area & gray.rect();
    if (box.height() < 6 || box.width() < 3)
        return std::nullopt;
    // Anti-aliased, a small accent is lighter than the strokes: half way to the ground counts.
    const int level = (threshold + 255) / 2;
    // Rows are told apart half way between the letter's darkest ink and the ground: the
    // mark's faint edge may touch the letter at the page's own ink level.
    int darkestInBox = 255;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        darkestInBox = std::min<int>(darkestInBox, *std::min_element(line + box.left(), line + box.right() + 1));
    }
    const int rowLevel = std::min(threshold, (darkestInBox + 255) / 2);
    auto rowHasInk = [&](int y) {
        const uchar* line = gray.constScanLine(y);
        return std::any_of(line + box.left(), line + box.right() + 1, [&](uchar v) { return v < rowLevel; });
    };
    int y = box.top();
    while (y <= box.bottom() && !rowHasInk(y))
        ++y;
    const int markTop = y;
    while (y <= box.bottom() && rowHasInk(y))
        ++y;
    const int markBottom = y - 1;
    while (y <= box.bottom() && !rowHasInk(y))
        ++y;
    const int bodyTop = y;
    // The mark stands clear over a body at least twice its height.
    if (markTop > markBottom || bodyTop > box.bottom() || box.bottom() - bodyTop + 1 < 2 * (markBottom - markTop + 1))
        return std::nullopt;
    const Ink mark = inkOf(gray, box, markTop, markBottom, level);
    const Ink body = inkOf(gray, box, bodyTop, box.bottom(), threshold);
    if (mark.weight <= 0 || body.weight <= 0 || body.right - body.left < 2)
        return std::nullopt;
    const double width = body.right - body.left + 1;
    // Two blobs side by side in the mark's darkest row: a diaeresis.
    int darkest = markTop, darkestInk = 256;
    for (int row = markTop; row <= markBottom; ++row) {
        const uchar* line = gray.constScanLine(row);
        const int least = *std::min_element(line + box.left(), line + box.right() + 1);
        if (least < darkestInk) {
            darkestInk = least;
            darkest = row;
        }
    }
    const uchar* line = gray.constScanLine(darkest);
    int runs = 0;
    for (int x = box.left(); x <= box.right(); ++x)
        if (line[x] < level && (x == box.left() || line[x - 1] >= level))
            ++runs;
    if (runs == 2)
        return Accent::diaeresis;
    if (runs != 1)
        return std::nullopt;
    const double offset = (mark.centre() - body.centre()) / width;
    if (offset >= 0.11)
        return Accent::acute;
    if (offset <= -0.11)
        return Accent::grave;
    // A circumflex spans much of the letter; a narrow blob over the middle may be any.
    if (std::abs(offset) <= 0.06 && mark.right - mark.left + 1 >= 0.45 * width)
        return Accent::circumflex;
    return std::nullopt;
}

void settleAccents(std::vector<LineWords>& lines, const QImage& gray, int threshold, const QString& foreign) {
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8)
        return;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            // Letters are placed by their glyphs, where the word has as many characters as
            // its glyphs (an apostrophe mended since keeps the count).
            qsizetype spelled = 0;
            for (const GlyphBox& glyph : word.glyphs)
                spelled += glyph.text.size();
            if (spelled != word.text.size())
                continue;
            qsizetype at = 0;
            for (const GlyphBox& glyph : word.glyphs) {
                const qsizetype here = at;
                at += glyph.text.size();
                if (glyph.text.size() != 1)
                    continue;
                const Vowel* vowel = vowelOf(glyph.text.front());
                if (!vowel)
                    continue;
                const std::optional<Accent> accent = accentOver(gray, glyph.box.toAlignedRect(), threshold);
                if (!accent)
                    continue;
                const QChar read = glyph.text.front();
                const QChar seen = withAccent(*vowel, *accent);
                // Only the mistake the blob settles: an acute's blob read as a circumflex.
                // Two dots run together into one blob as often as a circumflex parts in two.
                const bool settled = read == vowel->circumflex && *accent == Accent::acute;
                if (!settled || foreign.contains(seen) || word.text[here] != read)
                    continue;
                word.text[here] = seen;
            }
        }
    }
}

}  // namespace Platform::Recognition
