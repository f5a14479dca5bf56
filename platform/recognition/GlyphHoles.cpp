#include "platform/recognition/GlyphHoles.h"

#include <algorithm>
#include <utility>

namespace Platform::Recognition {

std::optional<GlyphCells> glyphCells(const QImage& band, int threshold, const QRect& box) {
    if (box.height() < 6 || box.width() < 3 || !band.rect().contains(box))
        return std::nullopt;
    GlyphCells cells{box.width() + 2, box.height() + 2, {}};
    cells.ground.assign(static_cast<std::size_t>(cells.width * cells.height), 1);
    for (int y = 0; y < box.height(); ++y) {
        const uchar* line = band.constScanLine(box.top() + y) + box.left();
        for (int x = 0; x < box.width(); ++x)
            cells.ground[static_cast<std::size_t>((y + 1) * cells.width + x + 1)] = line[x] >= threshold ? 1 : 0;
    }
    return cells;
}

std::vector<Hole> holesOf(const GlyphCells& cells) {
    std::vector<int> label(cells.ground.size(), -1);
    std::vector<Hole> spans;
    std::vector<bool> open;
    for (std::size_t start = 0; start < cells.ground.size(); ++start) {
        if (!cells.ground[start] || label[start] >= 0)
            continue;
        const int id = static_cast<int>(spans.size());
        spans.push_back({cells.height, -1, 0});
        open.push_back(false);
        std::vector<std::size_t> stack{start};
        label[start] = id;
        while (!stack.empty()) {
            const std::size_t at = stack.back();
            stack.pop_back();
            const int x = static_cast<int>(at) % cells.width;
            const int y = static_cast<int>(at) / cells.width;
            spans.back().top = std::min(spans.back().top, y);
            spans.back().bottom = std::max(spans.back().bottom, y);
            ++spans.back().cells;
            if (x == 0 || y == 0 || x == cells.width - 1 || y == cells.height - 1)
                open.back() = true;
            for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const int nx = x + dx;
                const int ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= cells.width || ny >= cells.height)
                    continue;
                const auto next = static_cast<std::size_t>(ny * cells.width + nx);
                if (cells.ground[next] && label[next] < 0) {
                    label[next] = id;
                    stack.push_back(next);
                }
            }
        }
    }
    std::vector<Hole> holes;
    for (std::size_t i = 0; i < spans.size(); ++i)
        if (!open[i])
            holes.push_back(spans[i]);
    return holes;
}

bool closesStackedHoles(const GlyphCells& cells, int ratio) {
    std::vector<Hole> holes = holesOf(cells);
    if (holes.size() != 2)
        return false;
    std::sort(holes.begin(), holes.end(), [](const Hole& a, const Hole& b) { return a.top < b.top; });
    const int middle = cells.height / 2;
    const int smaller = std::min(holes[0].cells, holes[1].cells);
    const int larger = std::max(holes[0].cells, holes[1].cells);
    return holes[0].bottom < holes[1].top && holes[0].top < middle && holes[1].bottom > middle &&
           ratio * smaller >= larger;
}

}  // namespace Platform::Recognition
