#include "platform/recognition/FileModes.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {

namespace {

constexpr qsizetype modeLength = 10;
// Of a mode's ten places this many must already read right (letters in either case):
// fewer, and the word is some other word that starts like one.
constexpr int fewestRightPlaces = 7;
// The mode's ten glyphs fill about ten cells; a word off by more lost or gained a glyph.
constexpr double fewestCells = 9.0;
constexpr double mostCells = 11.0;
// A word read this surely is read right, whatever column it stands in.
constexpr float sureWordConfidence = 0.9f;

bool isDash(QChar c) { return c == u'-' || c == u'–' || c == u'—' || c == u'~' || c == u'_'; }

// Letters or figures and nothing read for a dash: no part of a mode.
bool isWordOfItsOwn(const QString& text) {
    return text.size() >= 3 && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); }) &&
           std::none_of(text.begin(), text.end(), isDash);
}

// The place's letter as read, folded to the mode's; null when the place cannot hold it.
// `exact` tells whether the reading was already right but for its case.
QChar placeLetter(QChar c, int place, bool& exact) {
    exact = true;
    if (isDash(c)) {
        exact = c == u'-';
        return u'-';
    }
    switch (place % 3) {
    case 0:
        // Read between dashes, the small r loses its arm or gains a foot.
        if (c == u'r' || c == u'R')
            return u'r';
        exact = false;
        return c.isLetter() || c == u'1' || c == u'[' || c == u'|' || c == u'!' ? u'r' : QChar();
    case 1:
        return c == u'w' || c == u'W' ? u'w' : QChar();
    default:
        if (c == u'x' || c == u'X')
            return u'x';
        // Set-id and sticky bits keep their case: it tells whether x is set too.
        return c == u's' || c == u'S' || c == u't' || c == u'T' ? c : QChar();
    }
}

// `strict`: every place already right but for its case.
std::optional<QString> modeOf(const QString& text, bool strict) {
    QString body = text;
    QString mark;
    if (body.size() == modeLength + 1 && QStringLiteral("@+.").contains(body.back())) {
        mark = body.back();
        body.chop(1);
    }
    if (body.size() != modeLength || !QStringLiteral("-dlcbps").contains(body.front()))
        return std::nullopt;
    QString mode = body.left(1);
    int right = 1;
    for (int place = 0; place < modeLength - 1; ++place) {
        bool exact = false;
        const QChar letter = placeLetter(body[place + 1], place, exact);
        if (letter.isNull() || (strict && !exact))
            return std::nullopt;
        right += exact ? 1 : 0;
        mode += letter;
    }
    // A row of dashes alone is a rule, not a mode.
    if (right < fewestRightPlaces || mode.count(u'-') == modeLength)
        return std::nullopt;
    return mode + mark;
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The width of one cell of the page's text, from its words: the listing's columns can
// come back as lines of their own, the modes a line of one word.
std::optional<double> cellWidth(const std::vector<LineWords>& lines) {
    std::vector<double> widths;
    for (const LineWords& line : lines) {
        for (const WordBox& word : line.words) {
            const qsizetype length = word.text.trimmed().size();
            if (length >= 3)
                widths.push_back(word.box.width() / static_cast<double>(length));
        }
    }
    if (widths.empty())
        return std::nullopt;
    return median(std::move(widths));
}

// A letter read as a dash-like mark ("-~w-------" for "-rw-------") is boxed as tall as
// the word's letters, which a dash read as a tilde or a long dash never is: its place
// holds the place's letter. A hyphen's box can take in ink about it, and says nothing.
QString withTallDashesAsLetters(const WordBox& word) {
    const QString text = word.text.trimmed();
    if (text.size() != modeLength || word.glyphs.size() != modeLength || !glyphsSpell(word))
        return text;
    double tallest = 0;
    for (const GlyphBox& glyph : word.glyphs)
        if (glyph.text.size() == 1 && glyph.text.front().isLetter())
            tallest = std::max(tallest, glyph.box.height());
    QString letters = text;
    for (qsizetype place = 1; place < modeLength; ++place) {
        const double height = word.glyphs[static_cast<std::size_t>(place)].box.height();
        if (isDash(text[place]) && text[place] != u'-' && height >= 0.6 * tallest)
            letters[place] = QStringLiteral("rwx")[(place - 1) % 3];
    }
    return tallest > 0 ? letters : text;
}

}  // namespace

std::optional<QString> fileModeFor(const QString& text) {
    if (const auto mode = modeOf(text, false))
        return mode;
    // A glyph too many ("-rW-r--1r--"): the mode stands only when leaving out one glyph
    // makes a mode that reads right in every place, and no other glyph does.
    if (text.size() != modeLength + 1)
        return std::nullopt;
    std::optional<QString> found;
    for (qsizetype i = 1; i < text.size(); ++i) {
        QString shorter = text;
        shorter.remove(i, 1);
        const auto mode = modeOf(shorter, true);
        if (mode && found && *mode != *found)
            return std::nullopt;
        if (mode)
            found = mode;
    }
    return found;
}

void restoreFileModes(std::vector<LineWords>& lines) {
    const std::optional<double> cell = cellWidth(lines);
    if (!cell || *cell <= 0)
        return;
    for (LineWords& line : lines) {
        auto& words = line.words;
        if (words.empty())
            continue;
        const auto fits = [&](const QRectF& box) {
            const double cells = box.width() / *cell;
            return cells >= fewestCells && cells <= mostCells;
        };
        WordBox& head = words.front();
        const QString text = withTallDashesAsLetters(head);
        if (const auto mode = fileModeFor(text); mode && fits(head.box)) {
            head.text = *mode;
            continue;
        }
        // A mode broken in two at a gap the recognizer took for a space ("drwxr -xr-x").
        if (words.size() < 2 || text.size() >= modeLength)
            continue;
        const WordBox& next = words[1];
        const QRectF both = head.box.united(next.box);
        const auto mode = modeOf(text + next.text.trimmed(), false);
        if (!mode || !fits(both))
            continue;
        head.text = *mode;
        head.box = both;
        head.confidence = std::min(head.confidence, next.confidence);
        head.glyphs.insert(head.glyphs.end(), next.glyphs.begin(), next.glyphs.end());
        words.erase(words.begin() + 1);
    }
}

namespace {

// The mode the ink of the ten cells around `middles` spells, if every cell holds a dash
// or a letter. Each cell is judged by the ink down its middle: glyphs that touch ("w"
// and the dash after it) make one shape, but not one column of ink. `gray` is Grayscale8.
std::optional<QString> modeFromInk(const LineWords& line, const std::vector<double>& middles, double pitch,
                                   const QImage& gray, int threshold, QChar type) {
    const double height = line.box.height();
    const int top = std::max(0, static_cast<int>(std::floor(line.box.top())));
    const int bottom = std::min(gray.height() - 1, static_cast<int>(std::ceil(line.box.bottom())));
    QString mode;
    for (int place = 0; place < modeLength; ++place) {
        const double middle = middles[static_cast<std::size_t>(place)];
        const int from = std::max(0, static_cast<int>(std::lround(middle - 0.3 * pitch)));
        const int to = std::min(gray.width() - 1, static_cast<int>(std::lround(middle + 0.3 * pitch)));
        int first = -1, last = -1;
        for (int y = top; y <= bottom; ++y) {
            const uchar* row = gray.constScanLine(y);
            if (std::any_of(row + from, row + to + 1, [&](uchar v) { return v < threshold; })) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
        if (first < 0)
            return std::nullopt;
        const double extent = last - first + 1;
        const bool letter = extent >= 0.3 * height;
        if (!letter && extent > 0.2 * height)
            return std::nullopt;
        if (place == 0)
            mode += letter ? type : QChar(u'-');
        else
            mode += letter ? QStringLiteral("rwx")[(place - 1) % 3] : QChar(u'-');
    }
    return mode;
}

}  // namespace

void rebuildFileModes(std::vector<LineWords>& lines, const QImage& gray, int threshold) {
    // The column's cells stand where the glyphs of the modes read whole stand.
    std::vector<double> lefts, widths, pitches;
    std::vector<const WordBox*> whole;
    for (const LineWords& line : lines) {
        if (line.words.empty())
            continue;
        const WordBox& head = line.words.front();
        if (head.glyphs.size() != modeLength || !modeOf(head.text.trimmed(), true))
            continue;
        lefts.push_back(head.box.left());
        widths.push_back(head.box.width());
        pitches.push_back((head.glyphs.back().box.center().x() - head.glyphs.front().box.center().x()) /
                          (modeLength - 1));
        whole.push_back(&head);
    }
    // One mode alone makes no column.
    if (lefts.size() < 2)
        return;
    const double left = median(lefts);
    const double width = median(widths);
    const double pitch = median(pitches);
    if (pitch <= 0)
        return;
    // The cells are evenly spaced: a glyph the recognizer boxed off its cell (a "w" boxed
    // with the dash it touches) moves no cell, the grid stands where most glyphs put it.
    std::vector<double> offsets;
    for (const WordBox* head : whole)
        for (std::size_t place = 0; place < head->glyphs.size(); ++place)
            offsets.push_back(head->glyphs[place].box.center().x() - static_cast<double>(place) * pitch);
    const double first = median(std::move(offsets));
    std::vector<double> middles;
    for (int place = 0; place < modeLength; ++place)
        middles.push_back(first + place * pitch);
    // A word that reaches well past the column holds ink of the next one: it stays.
    const auto inSpan = [&](const WordBox& word) {
        return word.box.center().x() >= left - 0.5 * pitch && word.box.center().x() <= left + width &&
               word.box.right() <= left + width + pitch;
    };
    for (LineWords& line : lines) {
        if (line.words.empty() || line.words.back().box.left() <= left + width)
            continue;
        // The row's mode can come back as a line of its own beside the rest of the row.
        std::vector<LineWords*> row;
        for (LineWords& other : lines)
            if (!other.words.empty() && other.box.center().y() > line.box.top() &&
                other.box.center().y() < line.box.bottom())
                row.push_back(&other);
        bool whole = false, word = false;
        QString read;
        for (const LineWords* part : row)
            for (const WordBox& scrap : part->words)
                if (inSpan(scrap)) {
                    whole = whole || modeOf(scrap.text.trimmed(), true).has_value();
                    // Read surely and without a dash, it is a word of its own ("12:Meeting"
                    // in a listing's column), not a mode's scraps.
                    word = word || (scrap.confidence >= sureWordConfidence && isWordOfItsOwn(scrap.text.trimmed()));
                    if (read.isEmpty() || scrap.box.left() < left + 0.5 * pitch)
                        read = scrap.text.trimmed();
                }
        // Nothing read there at all, the ink alone can still spell the mode.
        if (whole || word)
            continue;
        const QChar type = !read.isEmpty() && QStringLiteral("dlcbps").contains(read.front()) ? read.front() : QChar(u'd');
        const std::optional<QString> mode = modeFromInk(line, middles, pitch, gray, threshold, type);
        if (!mode)
            continue;
        // As tall as the row's other words, so the row keeps its height.
        double top = line.words.front().box.top(), bottom = line.words.front().box.bottom();
        for (const WordBox& word : line.words) {
            top = std::min(top, word.box.top());
            bottom = std::max(bottom, word.box.bottom());
        }
        WordBox rebuilt{*mode, QRectF(left, top, width, bottom - top), 0.5f};
        for (LineWords* part : row)
            std::erase_if(part->words, inSpan);
        auto& words = line.words;
        words.insert(std::find_if(words.begin(), words.end(),
                                  [&](const WordBox& word) { return word.box.left() > left; }),
                     std::move(rebuilt));
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
