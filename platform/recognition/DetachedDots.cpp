#include "platform/recognition/DetachedDots.h"

#include <QString>

#include <algorithm>

namespace Platform::Recognition {
namespace {

bool isDotMark(const QString& text) {
    static const QString marks = QStringLiteral(".'`\u00B7\u2019\u2018");
    return text.size() == 1 && marks.contains(text.front());
}

// The ink of a one-character word: the shapes whose centres its box holds.
QRect inkOf(const WordBox& word, const std::vector<InkShape>& shapes) {
    QRect ink;
    for (const InkShape& shape : shapes)
        if (word.box.contains(QRectF(shape.box).center()))
            ink = ink.united(shape.box);
    return ink;
}

}  // namespace

void dropDetachedDots(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    std::vector<std::pair<std::size_t, std::size_t>> detached;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        for (std::size_t w = 0; w < lines[l].words.size(); ++w) {
            const WordBox& word = lines[l].words[w];
            if (!isDotMark(word.text.trimmed()))
                continue;
            const QRect ink = inkOf(word, shapes);
            if (ink.isEmpty())
                continue;
            // Inside another line's word of more than one character, a pixel's leeway
            // either way for the recognizer's rounding.
            const QRectF dot = QRectF(ink).adjusted(1, 1, -1, -1);
            bool inside = false;
            auto holds = [&](const WordBox& host) { return host.text.trimmed().size() > 1 && host.box.contains(dot); };
            for (std::size_t other = 0; other < lines.size() && !inside; ++other)
                inside = other != l && std::any_of(lines[other].words.begin(), lines[other].words.end(), holds);
            if (inside)
                detached.emplace_back(l, w);
        }
    }
    for (auto it = detached.rbegin(); it != detached.rend(); ++it)
        lines[it->first].words.erase(lines[it->first].words.begin() + static_cast<std::ptrdiff_t>(it->second));
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
