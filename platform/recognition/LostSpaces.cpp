#include "platform/recognition/LostSpaces.h"

#include "platform/recognition/LookAlikes.h"

#include <algorithm>

namespace Platform::Recognition {

namespace {

// Figures share one width, so their ink stands at an even pitch inside a group ("5918557"),
// even a narrow "1" centred in its cell; a space between groups stretches one pitch and
// widens one gap. Only a word of figures alone, long enough to tell the usual from the odd.
struct FigurePitch {
    double pitch;
    int gap;
};

std::optional<FigurePitch> usualFigurePitch(const QString& text, const std::vector<QRect>& ink) {
    if (text.size() < 4 || !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    std::vector<double> pitches;
    std::vector<int> gaps;
    for (std::size_t i = 1; i < ink.size(); ++i) {
        pitches.push_back(QRectF(ink[i]).center().x() - QRectF(ink[i - 1]).center().x());
        gaps.push_back(ink[i].left() - ink[i - 1].right());
    }
    const auto middle = [](auto& values) {
        std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
        return values[values.size() / 2];
    };
    return FigurePitch{middle(pitches), std::max(1, middle(gaps))};
}

// The middle gap between a word's characters' ink, at least a pixel.
int usualCharacterGap(const std::vector<QRect>& ink) {
    std::vector<int> gaps;
    for (std::size_t i = 1; i < ink.size(); ++i)
        gaps.push_back(ink[i].left() - ink[i - 1].right());
    if (gaps.empty())
        return 1;
    std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2), gaps.end());
    return std::max(1, gaps[gaps.size() / 2]);
}

}  // namespace

void restoreLostSpaces(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    for (LineWords& line : lines) {
        std::vector<WordBox> split;
        for (const WordBox& word : line.words) {
            const std::optional<std::vector<QRect>> ink =
                word.text.size() >= 2 ? characterShapes(word, shapes) : std::nullopt;
            if (!ink) {
                split.push_back(word);
                continue;
            }
            // The parts keep the word's height.
            const auto across = [&](const QRect& ink) {
                return QRectF(ink.left(), word.box.top(), ink.width(), word.box.height());
            };
            const std::optional<FigurePitch> figures = usualFigurePitch(word.text, *ink);
            const int usualGap = usualCharacterGap(*ink);
            WordBox part{QString(word.text.front()), across((*ink)[0]), word.confidence};
            for (qsizetype i = 1; i < word.text.size(); ++i) {
                const QRect& previous = (*ink)[static_cast<std::size_t>(i - 1)];
                const QRect& next = (*ink)[static_cast<std::size_t>(i)];
                // A prompt's sign stuck to the command ("$ls"); a link's "/" or a word's
                // letters keep their word whatever the gap.
                const bool sign = QStringView(u"$#%>").contains(word.text[i - 1]) && word.text[i].isLetterOrNumber();
                const int gap = next.left() - previous.right();
                const bool groups =
                    figures && QRectF(next).center().x() - QRectF(previous).center().x() >= figures->pitch + 0.28 * glyph &&
                    gap >= 1.8 * figures->gap;
                // A figure and its unit a space apart ("18.4 kB", "7 items").
                const bool unit = word.text[i - 1].isDigit() && word.text[i].isLetter() && gap >= 0.4 * glyph &&
                                  gap >= 2 * usualGap;
                if ((sign && gap >= 0.85 * glyph) || groups || unit) {
                    split.push_back(part);
                    part = WordBox{QString(), across(next), word.confidence};
                }
                part.text += word.text[i];
                part.box = part.box.united(across(next));
            }
            if (part.text.size() == word.text.size()) {
                split.push_back(word);
                continue;
            }
            split.push_back(part);
        }
        line.words = std::move(split);
    }
}

}  // namespace Platform::Recognition
