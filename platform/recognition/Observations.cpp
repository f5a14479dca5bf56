#include "platform/recognition/Observations.h"

#include <algorithm>

namespace Platform::Recognition {

std::optional<QRectF> RecognizedText::boundingBox(TextRange range) const {
    std::optional<QRectF> box;
    for (const Word& word : words) {
        const bool touches = word.range.start < range.end() && range.start < word.range.end();
        if (!touches)
            continue;
        box = box ? box->united(word.box) : word.box;
    }
    return box;
}

std::vector<RecognizedText> RecognizedTextObservation::topCandidates(std::size_t count) const {
    const auto n = std::min(count, candidates.size());
    return {candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(n)};
}

QRectF normalizedBox(const QRectF& pixelBox, const QSizeF& pictureSize) {
    const double w = pictureSize.width();
    const double h = pictureSize.height();
    if (w <= 0 || h <= 0)
        return {};
    return {pixelBox.x() / w, 1.0 - pixelBox.bottom() / h, pixelBox.width() / w, pixelBox.height() / h};
}

}  // namespace Platform::Recognition
