#include "platform/recognition/SmallLines.h"

#include <algorithm>

namespace Platform::Recognition {

namespace {

// Below this the page's scale is near enough for the line's glyphs.
constexpr double smallerBy = 1.3;
constexpr std::size_t fewestGlyphs = 3;
// The second reading must be clearly surer, not a draw of the recognizer.
constexpr double surerBy = 0.05;

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
           5 * characterCount(words) >= 4 * characterCount(first);
}

}  // namespace Platform::Recognition
