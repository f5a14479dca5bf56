#include "platform/recognition/StrayMarks.h"

#include "platform/recognition/GlyphInk.h"
#include "platform/recognition/InklessMarks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Platform::Recognition {
namespace {

// Marks read off a rule are a character or two.
constexpr qsizetype longestMark = 2;
constexpr float sureWordConfidence = 0.9f;

// A rule read as a run of lines and dashes ("__—") may be any length.
bool isRuleText(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return QStringLiteral("_-\u2013\u2014").contains(c); });
}

bool isInk(const QImage& gray, int x, int y, int threshold) { return gray.constScanLine(y)[x] < threshold; }

// Whether the box holds hardly any ink: a mark no pixel stands for. Faint text counts
// as ink here, whatever the page's threshold: only a blank box is empty. A middle dot
// (`dot`) is the smallest glyph, as little as an eighth of a glyph's height across, and
// the recognizer boxes it short of its anti-aliased edge: the pixels just around its box
// count too.
bool holdsNoGlyph(const QImage& gray, const QRect& box, double glyph, bool dot) {
    constexpr int threshold = 235;
    const QRect area = dot ? box.adjusted(-1, -1, 1, 1) & gray.rect() : box;
    long ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            ink += line[x] < threshold ? 1 : 0;
    }
    // A period is about a fifth of a glyph's height across.
    return static_cast<double>(ink) < (dot ? 0.01 : 0.02) * glyph * glyph;
}

// Whether a row of ink at least `length` long passes near the point: a frame's top or
// bottom edge leaving its side.
bool longRowNear(const QImage& gray, int x, int y, int threshold, int length) {
    const int slack = std::max(2, length / 4);
    for (int row = std::max(0, y - 2); row <= std::min(gray.height() - 1, y + 2); ++row) {
        for (int start = std::max(0, x - slack); start <= std::min(gray.width() - 1, x + slack); ++start) {
            if (!isInk(gray, start, row, threshold))
                continue;
            // Walks no further than the length asked for: a picture of solid ink costs
            // no more than a page.
            int left = start;
            while (left > 0 && start - left < length && isInk(gray, left - 1, row, threshold))
                --left;
            int right = start;
            while (right + 1 < gray.width() && right - left + 1 < length && isInk(gray, right + 1, row, threshold))
                ++right;
            if (right - left + 1 >= length)
                return true;
            start = right;
        }
    }
    return false;
}

// Whether a column of ink through the box runs on `reach` pixels past its top or bottom,
// or, with `frames`, is the side of a frame around the text (an input field's left edge
// read as "[", an avatar's ring read as "@").
bool crossedByVerticalRule(const QImage& gray, const QRect& box, int threshold, int reach, bool frames) {
    const int middle = box.center().y();
    for (int x = box.left(); x <= box.right(); ++x) {
        if (!isInk(gray, x, middle, threshold))
            continue;
        int top = middle;
        while (top > 0 && top > box.top() - reach && isInk(gray, x, top - 1, threshold))
            --top;
        int bottom = middle;
        while (bottom + 1 < gray.height() && bottom < box.bottom() + reach && isInk(gray, x, bottom + 1, threshold))
            ++bottom;
        // The last row of a table has the rule's end just below it, the first its start
        // just above: one side is enough, with the other reaching the box's edge.
        if ((top <= box.top() - reach && bottom >= box.bottom()) || (top <= box.top() && bottom >= box.bottom() + reach))
            return true;
        // Anti-aliasing may leave the side's last pixel a shade too light.
        if (frames && top <= box.top() + 2 && bottom >= box.bottom() - 2 &&
            (longRowNear(gray, x, top, threshold, 2 * reach) || longRowNear(gray, x, bottom, threshold, 2 * reach)))
            return true;
    }
    return false;
}

// Whether a row of ink through the box runs on `reach` pixels past its left or right.
bool crossedByHorizontalRule(const QImage& gray, const QRect& box, int threshold, int reach) {
    const int middle = box.center().x();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        if (!isInk(gray, middle, y, threshold))
            continue;
        int left = middle;
        while (left > 0 && left > box.left() - reach && isInk(gray, left - 1, y, threshold))
            --left;
        int right = middle;
        while (right + 1 < gray.width() && right < box.right() + reach && isInk(gray, right + 1, y, threshold))
            ++right;
        if ((left <= box.left() - reach && right >= box.right()) || (left <= box.left() && right >= box.right() + reach))
            return true;
    }
    return false;
}

// The most common level around the box: the ground the word stands on, a button's face
// as much as the page.
int groundAround(const QImage& gray, const QRect& box, int reach) {
    const QRect area = box.adjusted(-reach, -reach, reach, reach) & gray.rect();
    std::array<int, 256> counts{};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[line[x]];
    }
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

// How tall the letters of a word stand, in glyphs: a capital, an ascender or an accent
// ("La", "él") rises about half a glyph over the small letters, a descender ("gy", "ç")
// hangs below them.
double lettersHeight(const QString& letters) {
    static const QString small = QStringLiteral("acemnorsuvwxz");
    static const QString hanging = QStringLiteral("gjpqy\u00e7\u00c7");
    const bool rises = std::any_of(letters.begin(), letters.end(), [](QChar c) {
        return !small.contains(c) && QStringLiteral("gpqy").indexOf(c) < 0;
    });
    const bool hangs = std::any_of(letters.begin(), letters.end(), [](QChar c) { return hanging.contains(c); });
    return 1.0 + (rises ? 0.5 : 0.0) + (hangs ? 0.45 : 0.0);
}

}  // namespace

void dropStrayMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold, double glyph) {
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8 || glyph <= 0)
        return;
    const int reach = static_cast<int>(std::ceil(glyph));
    // A rule of one pixel, scaled up for the recognizer, is a lighter line than the
    // text's strokes: anything clearly darker than the ground counts. On a light page of
    // faint text the threshold sits close to the ground, and a shaded face (a button's)
    // would pass for ink all round its label: the level is taken from the word's own ground.
    auto ruleLevelAround = [&](const QRect& box) {
        const int ground = groundAround(gray, box, reach);
        return ground > threshold ? (threshold + ground) / 2 : (threshold + 255) / 2;
    };
    for (LineWords& line : lines) {
        for (WordBox& word : line.words)
            dropMarksWithoutInk(word);
        const auto dropped = std::erase_if(line.words, [&](const WordBox& word) {
            const bool longer = word.text.trimmed().size() > longestMark;
            if (longer && !isRuleText(word.text.trimmed()))
                return false;
            const QRect box = word.box.toAlignedRect() & gray.rect();
            if (box.isEmpty())
                return false;
            const int ruleLevel = ruleLevelAround(box);
            // A run of typed dashes is a frame's edge to the test below: only a rule running
            // on past it counts.
            if (longer)
                return holdsNoGlyph(gray, box, glyph, false) || crossedByHorizontalRule(gray, box, ruleLevel, 2 * reach);
            // A short word of letters or figures read surely, no taller than they stand ("um", "53"),
            // is no frame, though its stems and serif feet make one's side and edge.
            const QString text = word.text.trimmed();
            const bool sureWord = word.confidence >= sureWordConfidence &&
                                  std::all_of(text.begin(), text.end(),
                                              [](QChar c) { return c.isLetter() || c.isDigit(); }) &&
                                  box.height() <= (lettersHeight(text) + 0.25) * glyph;
            return holdsNoGlyph(gray, box, glyph, text == QStringLiteral("\u00b7")) ||
                   crossedByVerticalRule(gray, box, ruleLevel, reach, !sureWord) ||
                   crossedByHorizontalRule(gray, box, ruleLevel, 2 * reach);
        });
        // The line's box stood as tall as the rule between two others; the words left
        // tell its height, which sets how wide a gap between cells is.
        if (dropped > 0 && !line.words.empty()) {
            QRectF words = line.words.front().box;
            for (const WordBox& word : line.words)
                words = words.united(word.box);
            line.box = QRectF(line.box.left(), words.top(), line.box.width(), words.height());
        }
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
