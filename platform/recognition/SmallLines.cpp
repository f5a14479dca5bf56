#include "platform/recognition/SmallLines.h"

#include <algorithm>

namespace Platform::Recognition {

namespace {

// Below this the page's scale is near enough for the line's glyphs.
constexpr double smallerBy = 1.3;
constexpr std::size_t fewestGlyphs = 3;
// The second reading must be clearly surer, not a draw of the recognizer.
constexpr double surerBy = 0.05;

double meanConfidence(const std::vector<WordBox>& words) {
    double sum = 0;
    for (const WordBox& word : words)
        sum += word.confidence;
    return words.empty() ? 0 : sum / static_cast<double>(words.size());
}

qsizetype characters(const std::vector<WordBox>& words) {
    qsizetype count = 0;
    for (const WordBox& word : words)
        count += word.text.trimmed().size();
    return count;
}

}  // namespace

std::optional<double> smallLineScale(const LineWords& line, const std::vector<InkShape>& shapes, int pictureHeight,
                                     double pageScale) {
    if (line.words.empty() || pageScale <= 0)
        return std::nullopt;
    std::vector<int> heights;
    for (const InkShape& shape : shapes)
        if (looksLikeGlyph(shape, pictureHeight) && line.box.contains(QRectF(shape.box).center()))
            heights.push_back(shape.box.height());
    if (heights.size() < fewestGlyphs)
        return std::nullopt;
    const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
    std::nth_element(heights.begin(), middle, heights.end());
    const double own = scaleForGlyphHeight(*middle / pageScale);
    if (own < smallerBy * pageScale)
        return std::nullopt;
    return own;
}

bool replacesSmallLine(const std::vector<WordBox>& first, const std::vector<LineWords>& second) {
    if (second.size() != 1 || second.front().words.empty())
        return false;
    const std::vector<WordBox>& words = second.front().words;
    return meanConfidence(words) >= meanConfidence(first) + surerBy &&
           5 * characters(words) >= 4 * characters(first);
}

}  // namespace Platform::Recognition
