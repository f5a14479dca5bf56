#include "platform/recognition/QuotePairs.h"

#include "platform/recognition/Apostrophes.h"

#include <optional>

namespace Platform::Recognition {
namespace {

enum class Family { none, single, dual };

Family familyOf(QChar c) {
    if (c == u'\'' || c == QChar(0x2018) || c == QChar(0x2019))
        return Family::single;
    if (c == u'"' || c == QChar(0x201C) || c == QChar(0x201D))
        return Family::dual;
    return Family::none;
}

bool isStraight(QChar c) { return c == u'\'' || c == u'"'; }

// A run of marks of one family in a word, the marks of a Python docstring's """ too.
struct Run {
    qsizetype from = 0;
    qsizetype to = 0;  // one past the last mark
    Family family = Family::none;
    bool opening = false;
};

std::vector<Run> runsOf(const QString& text) {
    std::vector<Run> runs;
    for (qsizetype i = 0; i < text.size();) {
        const Family family = familyOf(text[i]);
        if (family == Family::none) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && familyOf(text[end]) == family)
            ++end;
        const bool letterBefore = i > 0 && text[i - 1].isLetterOrNumber();
        const bool letterAfter = end < text.size() && text[end].isLetterOrNumber();
        // Between letters it is an apostrophe, no quotation mark.
        if (!(letterBefore && letterAfter))
            runs.push_back({i, end, family, !letterBefore && end < text.size()});
        i = end;
    }
    return runs;
}

// The ink of the word's n-th quotation mark, found through the glyph the recognizer
// read as one; nothing when its glyphs do not hold as many marks as its text.
std::optional<QRect> markInk(const WordBox& word, qsizetype index, qsizetype marks,
                             const std::vector<InkShape>& shapes) {
    std::vector<const GlyphBox*> glyphs;
    for (const GlyphBox& glyph : word.glyphs)
        if (glyph.text.size() == 1 && familyOf(glyph.text.front()) != Family::none)
            glyphs.push_back(&glyph);
    if (static_cast<qsizetype>(glyphs.size()) != marks)
        return std::nullopt;
    const QRectF& box = glyphs[static_cast<std::size_t>(index)]->box;
    // The one shape of ink the glyph's box holds (one tick of a double mark is enough).
    const InkShape* found = nullptr;
    for (const InkShape& shape : shapes) {
        if (!box.contains(QRectF(shape.box).center()))
            continue;
        if (!found || shape.box.left() < found->box.left())
            found = &shape;
    }
    if (!found || found->box.height() > 1.2 * box.height() || found->box.height() < 3)
        return std::nullopt;
    return found->box;
}

}  // namespace

void settleQuotePairs(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        struct Mark {
            WordBox* word;
            Run run;
            qsizetype index;  // of the run's first mark among the word's marks
            qsizetype marks;
        };
        std::vector<Mark> marks;
        for (WordBox& word : line.words) {
            qsizetype count = 0;
            for (const QChar c : word.text)
                count += familyOf(c) != Family::none ? 1 : 0;
            qsizetype seen = 0;
            qsizetype before = 0;
            for (const Run& run : runsOf(word.text)) {
                for (; before < run.from; ++before)
                    seen += familyOf(word.text[before]) != Family::none ? 1 : 0;
                marks.push_back({&word, run, seen, count});
            }
        }
        std::optional<std::size_t> open;
        for (std::size_t i = 0; i < marks.size(); ++i) {
            if (marks[i].run.opening) {
                open = i;
                continue;
            }
            if (!open || marks[*open].run.family != marks[i].run.family) {
                open.reset();
                continue;
            }
            Mark& first = marks[*open];
            Mark& last = marks[i];
            open.reset();
            bool straight = false, curly = false;
            for (const Mark* mark : {&first, &last})
                for (qsizetype k = mark->run.from; k < mark->run.to; ++k)
                    (isStraight(mark->word->text[k]) ? straight : curly) = true;
            if (!straight || !curly)
                continue;
            std::optional<bool> leaning;
            bool agreed = true;
            for (const Mark* mark : {&first, &last}) {
                const std::optional<QRect> ink = markInk(*mark->word, mark->index, mark->marks, shapes);
                if (!ink) {
                    agreed = false;
                    break;
                }
                const bool leans = isCurlyMark(gray, *ink);
                if (leaning && *leaning != leans)
                    agreed = false;
                leaning = leans;
            }
            if (!agreed || !leaning)
                continue;
            const bool dual = first.run.family == Family::dual;
            const QChar opening = *leaning ? QChar(dual ? 0x201C : 0x2018) : QChar(dual ? u'"' : u'\'');
            const QChar closing = *leaning ? QChar(dual ? 0x201D : 0x2019) : opening;
            for (qsizetype k = first.run.from; k < first.run.to; ++k)
                first.word->text[k] = opening;
            for (qsizetype k = last.run.from; k < last.run.to; ++k)
                last.word->text[k] = closing;
        }
    }
}

}  // namespace Platform::Recognition
