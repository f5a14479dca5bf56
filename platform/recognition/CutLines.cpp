#include "platform/recognition/CutLines.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

// A line is that close to the edge when its box ends within these pixels of it.
constexpr double edgeReach = 2.0;
// Strokes crossing the edge row along the line: a glyph or two may touch it (a
// descender, a rule's end); a cut line's letters cross it everywhere.
constexpr int cutStrokes = 3;
// Read as sure as this, a line is its text, cut or not.
constexpr double sureReading = 0.9;
// Whole lines it takes to tell a cut one.
constexpr std::size_t wholeLinesNeeded = 2;
// What is left of a cut line is lower than the whole lines beside it.
constexpr double cutHeight = 0.85;

// The runs of ink on row `y` between the line's ends.
int strokesAcross(const QImage& gray, int y, const QRectF& box, int threshold) {
    const uchar* row = gray.constScanLine(y);
    const int left = std::clamp(static_cast<int>(std::floor(box.left())), 0, gray.width() - 1);
    const int right = std::clamp(static_cast<int>(std::ceil(box.right())), 0, gray.width() - 1);
    int runs = 0;
    for (int x = left; x <= right; ++x)
        runs += row[x] < threshold && (x == left || row[x - 1] >= threshold) ? 1 : 0;
    return runs;
}

// The height of the line's words, the middle one: a word boxed over ink beside it (a
// picture, a line above) makes the line's box no taller than its letters are.
double wordHeight(const LineWords& line) {
    std::vector<double> heights;
    for (const WordBox& word : line.words)
        heights.push_back(word.box.height());
    if (heights.empty())
        return line.box.height();
    const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
    std::nth_element(heights.begin(), middle, heights.end());
    return std::min(*middle, line.box.height());
}

}  // namespace

void dropCutLines(std::vector<LineWords>& lines, const QImage& gray, int threshold) {
    if (gray.isNull())
        return;
    const int bottom = gray.height() - 1;
    const auto atEdge = [&](const LineWords& line) {
        return line.box.top() <= edgeReach || line.box.bottom() >= bottom - edgeReach;
    };
    // Only whole lines elsewhere tell how tall a line is. A grab of a line or two drawn
    // tight around them (a cell, a row read again) is all the text there is.
    std::vector<double> heights;
    for (const LineWords& line : lines)
        if (!atEdge(line) && !line.words.empty())
            heights.push_back(line.box.height());
    if (heights.size() < wholeLinesNeeded)
        return;
    const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
    std::nth_element(heights.begin(), middle, heights.end());
    const double wholeHeight = *middle;
    std::erase_if(lines, [&](const LineWords& line) {
        if (!atEdge(line) || meanConfidence(line.words) >= sureReading || wordHeight(line) >= cutHeight * wholeHeight)
            return false;
        const bool atTop = line.box.top() <= edgeReach && strokesAcross(gray, 0, line.box, threshold) >= cutStrokes;
        const bool atBottom = line.box.bottom() >= bottom - edgeReach &&
                              strokesAcross(gray, bottom, line.box, threshold) >= cutStrokes;
        return atTop || atBottom;
    });
}

}  // namespace Platform::Recognition
