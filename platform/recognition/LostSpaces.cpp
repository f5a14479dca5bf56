#include "platform/recognition/LostSpaces.h"

#include "platform/recognition/LookAlikes.h"

namespace Platform::Recognition {

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
            WordBox part{QString(word.text.front()), across((*ink)[0]), word.confidence};
            for (qsizetype i = 1; i < word.text.size(); ++i) {
                const QRect& previous = (*ink)[static_cast<std::size_t>(i - 1)];
                const QRect& next = (*ink)[static_cast<std::size_t>(i)];
                // A prompt's sign stuck to the command ("$ls"); a link's "/" or a word's
                // letters keep their word whatever the gap.
                const bool sign = QStringView(u"$#%>").contains(word.text[i - 1]) && word.text[i].isLetterOrNumber();
                if (sign && next.left() - previous.right() >= 0.85 * glyph) {
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
