#include "platform/recognition/LineFragments.h"

#include <numeric>

namespace Platform::Recognition {

double meanConfidence(const std::vector<WordBox>& words) {
    double sum = 0;
    for (const WordBox& word : words)
        sum += word.confidence;
    return words.empty() ? 0 : sum / static_cast<double>(words.size());
}

qsizetype characterCount(const std::vector<WordBox>& words) {
    qsizetype count = 0;
    for (const WordBox& word : words)
        count += word.text.trimmed().size();
    return count;
}

std::vector<LineWords> splitAtWideGaps(const LineWords& line) {
    std::vector<LineWords> fragments;
    const double height = line.box.height();
    for (const WordBox& word : line.words) {
        if (word.text.trimmed().isEmpty())
            continue;
        const bool startsNew = fragments.empty() ||
                               word.box.left() - fragments.back().words.back().box.right() >= fragmentGap * height;
        if (startsNew)
            fragments.push_back({QRectF(), {}});
        fragments.back().words.push_back(word);
    }
    for (LineWords& fragment : fragments) {
        const double left = fragment.words.front().box.left();
        double right = fragment.words.front().box.right();
        for (const WordBox& word : fragment.words)
            right = std::max(right, word.box.right());
        fragment.box = QRectF(left, line.box.top(), right - left, height);
    }
    return fragments;
}

RecognizedTextObservation observationFor(const LineWords& fragment, const QSizeF& pictureSize) {
    RecognizedText text;
    float confidence = 0;
    for (const WordBox& word : fragment.words) {
        const QString trimmed = word.text.trimmed();
        if (!text.string.isEmpty())
            text.string.append(u' ');
        const TextRange range{text.string.size(), trimmed.size()};
        text.string.append(trimmed);
        // A word spans the line's height, like the fragment, so word boxes line up.
        const QRectF box(word.box.left(), fragment.box.top(), word.box.width(), fragment.box.height());
        text.words.push_back({range, normalizedBox(box, pictureSize)});
        confidence += word.confidence;
    }
    if (!fragment.words.empty())
        text.confidence = confidence / static_cast<float>(fragment.words.size());
    RecognizedTextObservation observation;
    observation.boundingBox = normalizedBox(fragment.box, pictureSize);
    observation.candidates.push_back(std::move(text));
    return observation;
}

}  // namespace Platform::Recognition
