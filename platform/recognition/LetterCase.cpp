#include "platform/recognition/LetterCase.h"

#include "platform/recognition/GlyphInk.h"

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace Platform::Recognition {
namespace {

// A small letter is about 0.7 of a capital's height in screen fonts; one this close to
// the capitals' height is a capital.
constexpr double capitalShare = 0.88;

bool isLookAlike(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar ch) { return QStringLiteral("cosvwxz").contains(ch); });
}

// Words of capitals and figures without letters that reach below the line: their height
// is the capitals' height.
bool isCapitalHeight(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar ch) {
        return (ch.isUpper() && ch != u'Q' && ch != u'J') || ch.isDigit();
    });
}

}  // namespace

void restoreCapitals(std::vector<LineWords>& lines) {
    for (LineWords& line : lines) {
        std::vector<double> heights;
        for (const WordBox& word : line.words)
            if (isCapitalHeight(word.text.trimmed()))
                heights.push_back(word.box.height());
        if (heights.empty())
            continue;
        std::sort(heights.begin(), heights.end());
        const double capital = heights[heights.size() / 2];
        for (WordBox& word : line.words) {
            const QString text = word.text.trimmed();
            if (word.box.height() < capitalShare * capital)
                continue;
            if (isLookAlike(text))
                word.text = text.toUpper();
            // One glyph read in both cases at once ("Cc"): a box no wider than tall holds
            // a single capital.
            else if (text.size() == 2 && text[0].isUpper() && text[1] == text[0].toLower() &&
                     isLookAlike(text.mid(1)) && word.box.width() <= word.box.height())
                word.text = text.left(1);
        }
    }
}

namespace {

// Letters whose cases share a shape, so that only the height tells them apart.
bool isTwoCased(const QString& text) {
    return text.size() == 1 && QStringLiteral("cosvwxzCOSVWXZ").contains(text.front());
}

// A gap this many line heights wide parts a label from its value; a space is far narrower.
constexpr double labelGap = 1.5;

// Screen fonts draw capitals about 1.3 to 1.45 x-heights tall.
constexpr double typicalCapitals = 1.35;
// Capitals less than this many x-heights tall are too close to the small letters to tell apart.
constexpr double closeCapitals = 1.2;
// Lines of one font size are about as tall; a few of them tell its heights.
constexpr double sameLineHeight = 0.25;
constexpr std::size_t fewestMeasuredLines = 2;

// "Vv": one letter in both cases. A letter doubled in one case ("ss") is two.
bool bothCases(const GlyphBox& a, const GlyphBox& b) {
    return a.text.size() == 1 && b.text.size() == 1 && isOneLetterInBothCases(a.text + b.text);
}

// One glyph read twice: the narrower box lies mostly within the wider one. A rule may
// have given the word's letters another case since ("-Vv" made "-vv"); the text keeps it.
void dropDoubledGlyphs(WordBox& word) {
    QString spelled;
    for (const GlyphBox& glyph : word.glyphs)
        spelled += glyph.text;
    if (word.glyphs.empty() || spelled.size() != word.text.size() ||
        spelled.compare(word.text, Qt::CaseInsensitive) != 0)
        return;
    qsizetype at = 0;
    for (std::size_t i = 1; i < word.glyphs.size(); ++i) {
        const QRectF& a = word.glyphs[i - 1].box;
        const QRectF& b = word.glyphs[i].box;
        const double shared = std::min(a.right(), b.right()) - std::max(a.left(), b.left());
        if (!bothCases(word.glyphs[i - 1], word.glyphs[i]) || shared < 0.5 * std::min(a.width(), b.width())) {
            at += word.glyphs[i - 1].text.size();
            continue;
        }
        const std::size_t dropped = a.width() >= b.width() ? i : i - 1;
        const qsizetype from = dropped == i ? at + word.glyphs[i - 1].text.size() : at;
        word.text.remove(from, word.glyphs[dropped].text.size());
        word.glyphs.erase(word.glyphs.begin() + static_cast<std::ptrdiff_t>(dropped));
        --i;
    }
}

// The heights of the line, measured with the lines beside it on its row where it has
// no small letter of its own ("-C," read apart from "--count").
std::optional<LineHeights> rowHeights(const LineWords& line, const std::vector<LineWords>& lines,
                                      const std::vector<InkShape>& shapes) {
    if (std::optional<LineHeights> heights = lineHeights(line, shapes))
        return heights;
    LineWords row = line;
    for (const LineWords& other : lines) {
        const double shared = std::min(line.box.bottom(), other.box.bottom()) - std::max(line.box.top(), other.box.top());
        if (&other == &line || shared < 0.5 * std::min(line.box.height(), other.box.height()))
            continue;
        row.box = row.box.united(other.box);
        row.words.insert(row.words.end(), other.words.begin(), other.words.end());
    }
    if (row.words.size() > line.words.size())
        if (std::optional<LineHeights> heights = lineHeights(row, shapes))
            return heights;
    // A row of capitals and figures only (a spreadsheet's "A B C D" header) has their
    // height to go by.
    std::optional<LineHeights> heights = tallHeights(row, shapes);
    if (heights)
        heights->xHeight = *heights->capHeight / typicalCapitals;
    return heights;
}

// The line's first word, a column's gap or nothing after it: a label in its cell.
bool standsAlone(const LineWords& line, const WordBox& word) {
    if (&word != &line.words.front())
        return false;
    return line.words.size() == 1 || line.words[1].box.left() - word.box.right() >= labelGap * line.box.height();
}

void restoreCase(LineWords& line, const std::optional<LineHeights>& heights, const std::vector<InkShape>& shapes) {
    if (!heights)
        return;
    const double baseline = heights->baseline;
    const double xHeight = heights->xHeight;
    const double capHeight = heights->capHeight.value_or(typicalCapitals * xHeight);
    // Too close to tell apart at this size, but for a first letter as tall as the
    // capitals while the small letters stand a few pixels lower.
    const bool close = capHeight < closeCapitals * xHeight;
    const bool measurable = capHeight >= xHeight + 2.0;
    const double between = (xHeight + capHeight) / 2.0;
    const double margin = 0.2 * (capHeight - xHeight);
    for (WordBox& word : line.words) {
        // Within a word the recognizer reads the case well; alone a letter has nothing to
        // go by ("-c,", "(x").
        const auto letters = std::count_if(word.text.begin(), word.text.end(), [](QChar c) { return c.isLetter(); });
        // Nor does a capital opening a word of small letters after dashes ("--Status"):
        // such a one is made small when its ink is, and never the other way.
        qsizetype first = 0;
        while (first < word.text.size() && !word.text[first].isLetter())
            ++first;
        const auto start = word.text.begin() + first;
        const bool opening = letters > 1 && first > 0 && word.text[first].isUpper() &&
                             std::all_of(word.text.begin(), start, [](QChar c) { return c == u'-'; }) &&
                             std::none_of(start + 1, word.text.end(), [](QChar c) { return c.isUpper(); });
        // A label's capital read small ("city" for "City"): alone in its cell the word has
        // no capital beside it to size its first letter by. Such a one is made a capital
        // when its ink is, and never the other way.
        const bool label = letters > 1 && first == 0 && isTwoCased(word.text.left(1)) &&
                             word.text[0].isLower() && standsAlone(line, word) &&
                             std::all_of(word.text.begin(), word.text.end(), [](QChar c) { return !c.isUpper(); });
        if ((letters != 1 && !opening && !label) || (close && !(label && measurable)) || !glyphsSpell(word))
            continue;
        qsizetype at = 0;
        for (GlyphBox& glyph : word.glyphs) {
            const qsizetype length = glyph.text.size();
            if ((opening && at != first) || (label && at != 0)) {
                at += length;
                continue;
            }
            // A box reaching over the next glyph's ("v" boxed over "v9" that touch) measures
            // that glyph's height too.
            const bool boxedAlone = std::none_of(word.glyphs.begin(), word.glyphs.end(), [&](const GlyphBox& other) {
                return &other != &glyph && other.box.center().x() >= glyph.box.left() &&
                       other.box.center().x() <= glyph.box.right();
            });
            const std::optional<GlyphInk> ink =
                isTwoCased(glyph.text) && boxedAlone ? inkOf(glyph, line.box, shapes) : std::nullopt;
            // Standing on the baseline: a glyph boxed over other ink says nothing. A round
            // letter's overshoot is a pixel at small sizes.
            if (ink && std::abs(ink->bottom - baseline) <= std::max(1.0, margin)) {
                const double height = baseline - ink->top;
                if (label) {
                    if ((!close && height > between + margin) || (measurable && height >= capHeight))
                        glyph.text = glyph.text.toUpper();
                } else if (height < between - margin) {
                    glyph.text = glyph.text.toLower();
                } else if (height > between + margin && !opening) {
                    glyph.text = glyph.text.toUpper();
                }
                word.text.replace(at, length, glyph.text);
            }
            at += length;
        }
    }
}

}  // namespace

void restoreLetterCase(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            dropDoubledGlyphs(word);
    std::vector<std::optional<LineHeights>> heights;
    for (const LineWords& line : lines)
        heights.push_back(rowHeights(line, lines, shapes));
    for (std::size_t i = 0; i < lines.size(); ++i)
        restoreCase(lines[i], heights[i], shapes);
}

bool isOneLetterInBothCases(const QString& text) {
    return text.size() == 2 && isTwoCased(text.left(1)) && isTwoCased(text.mid(1)) && text[0] != text[1] &&
           text[0].toLower() == text[1].toLower();
}

QChar smallLetterFor(QChar capital) {
    switch (capital.unicode()) {
    // Capitals whose small letters have their shape.
    case u'C': case u'O': case u'S': case u'U': case u'V': case u'W': case u'X': case u'Z':
        return capital.toLower();
    // A stem with a stroke to the right at its top, no taller than an "x", is an "r".
    case u'T': case u'F':
        return u'r';
    default:
        return capital;
    }
}

void lowerShortCapitals(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        std::vector<const InkShape*> inLine;
        for (const InkShape& shape : shapes)
            if (line.box.contains(QRectF(shape.box).center()))
                inLine.push_back(&shape);
        if (inLine.size() < 4)
            continue;
        // The line's full height: its capitals, figures and tall letters on its baseline.
        // Brackets and descenders reach below it and are left out.
        std::vector<int> bottoms;
        for (const InkShape* shape : inLine)
            bottoms.push_back(shape->box.bottom());
        std::nth_element(bottoms.begin(), bottoms.begin() + static_cast<std::ptrdiff_t>(bottoms.size() / 2),
                         bottoms.end());
        const int baseline = bottoms[bottoms.size() / 2];
        const auto onBaseline = [&](const InkShape& shape) {
            return std::abs(shape.box.bottom() - baseline) <= std::max(1, shape.box.height() / 10);
        };
        std::vector<int> heights;
        for (const InkShape* shape : inLine)
            if (onBaseline(*shape))
                heights.push_back(shape->box.height());
        if (heights.size() < 4)
            continue;
        std::sort(heights.begin(), heights.end());
        const int tall = heights[heights.size() * 9 / 10];
        for (WordBox& word : line.words) {
            // A word of capitals, or one of dashes: a capital that starts a word ("On") is
            // as it was read.
            const bool lower = std::any_of(word.text.begin(), word.text.end(), [](QChar c) { return c.isLower(); });
            if (std::none_of(word.text.begin(), word.text.end(), [](QChar c) { return smallLetterFor(c) != c; }) ||
                (lower && !word.text.contains(u'-')))
                continue;
            int highest = 0;
            bool letters = false;
            for (const InkShape* shape : inLine) {
                if (!word.box.contains(QRectF(shape->box).center()))
                    continue;
                highest = std::max(highest, shape->box.height());
                // A letter, not a dash or a dot.
                letters = letters || shape->box.height() > shape->box.width() / 2;
            }
            // Small letters stand about two thirds as tall as capitals.
            if (!letters || highest > 0.8 * tall)
                continue;
            for (QChar& c : word.text)
                c = smallLetterFor(c);
        }
    }
}

void restoreOptionLetterO(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    std::vector<std::optional<LineHeights>> own;
    for (const LineWords& line : lines)
        own.push_back(lineHeights(line, shapes));
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            const auto alphanumerics = std::count_if(word.text.begin(), word.text.end(), [](QChar c) { return c.isLetterOrNumber(); });
            if (alphanumerics != 1 || !word.text.contains(u'0') || !glyphsSpell(word))
                continue;
            const auto zero = std::find_if(word.glyphs.begin(), word.glyphs.end(),
                                           [](const GlyphBox& glyph) { return glyph.text == QStringLiteral("0"); });
            const std::optional<GlyphInk> ink = zero == word.glyphs.end() ? std::nullopt : inkOf(*zero, line.box, shapes);
            if (!ink)
                continue;
            std::vector<double> small, tall;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const double height = lines[i].box.height();
                if (!own[i] || !own[i]->capHeight || std::abs(height - line.box.height()) > sameLineHeight * height)
                    continue;
                small.push_back(own[i]->xHeight);
                tall.push_back(*own[i]->capHeight);
            }
            if (small.size() < fewestMeasuredLines)
                continue;
            std::sort(small.begin(), small.end());
            std::sort(tall.begin(), tall.end());
            const double xHeight = small[small.size() / 2];
            const double capHeight = tall[tall.size() / 2];
            if (capHeight < closeCapitals * xHeight)
                continue;
            const double between = (xHeight + capHeight) / 2.0;
            const double margin = 0.2 * (capHeight - xHeight);
            if (ink->bottom - ink->top < between - margin) {
                const qsizetype at = word.text.indexOf(u'0');
                zero->text = QStringLiteral("o");
                word.text[at] = u'o';
            }
        }
    }
}

}  // namespace Platform::Recognition
