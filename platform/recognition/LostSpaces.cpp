#include "platform/recognition/LostSpaces.h"

#include "platform/recognition/LookAlikes.h"

#include <algorithm>
#include <optional>
#include <utility>

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

// The recognizer's box for a word can reach over its neighbour's figures ("10" and a
// selected "11" beside "12") and over slivers of the line above. Where the whole box
// does not spell the word, its characters are sought again within its neighbours and
// the height of the line's words of a usual height.
WordBox withinNeighbours(const LineWords& line, std::size_t at, double glyph) {
    WordBox word = line.words[at];
    QRectF& box = word.box;
    if (at + 1 < line.words.size() && line.words[at + 1].box.left() < box.right())
        box.setRight(std::max(box.left(), line.words[at + 1].box.left()));
    if (at > 0 && line.words[at - 1].box.right() > box.left())
        box.setLeft(std::min(box.right(), line.words[at - 1].box.right()));
    if (box.height() <= 1.5 * glyph)
        return word;
    std::optional<std::pair<double, double>> usual;
    for (const WordBox& other : line.words) {
        if (other.box.height() > 1.5 * glyph)
            continue;
        usual = usual ? std::pair{std::min(usual->first, other.box.top()), std::max(usual->second, other.box.bottom())}
                      : std::pair{other.box.top(), other.box.bottom()};
    }
    if (usual && usual->first < box.bottom() && usual->second > box.top()) {
        box.setTop(std::max(box.top(), usual->first));
        box.setBottom(std::min(box.bottom(), usual->second));
    }
    return word;
}

}  // namespace

void restoreLostSpaces(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    for (LineWords& line : lines) {
        std::vector<WordBox> split;
        for (std::size_t at = 0; at < line.words.size(); ++at) {
            const WordBox& word = line.words[at];
            std::optional<std::vector<QRect>> ink = word.text.size() >= 2 ? characterShapes(word, shapes) : std::nullopt;
            if (!ink && word.text.size() >= 2)
                ink = characterShapes(withinNeighbours(line, at, glyph), shapes);
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
