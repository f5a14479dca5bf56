#include "platform/recognition/FileModes.h"

#include <algorithm>

namespace Platform::Recognition {

namespace {

constexpr qsizetype modeLength = 10;
// Of a mode's ten places this many must already read right (letters in either case):
// fewer, and the word is some other word that starts like one.
constexpr int fewestRightPlaces = 7;
// The mode's ten glyphs fill about ten cells; a word off by more lost or gained a glyph.
constexpr double fewestCells = 9.0;
constexpr double mostCells = 11.0;

bool isDash(QChar c) { return c == u'-' || c == u'–' || c == u'—' || c == u'~' || c == u'_'; }

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
    const auto middle = widths.begin() + static_cast<std::ptrdiff_t>(widths.size() / 2);
    std::nth_element(widths.begin(), middle, widths.end());
    return *middle;
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
        const QString text = head.text.trimmed();
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

}  // namespace Platform::Recognition
