#include "platform/recognition/TableFinder.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace Platform::Recognition::TableFinder {

namespace {

// Light spreadsheet grid lines (#d4d4d4 on white) still count; faint zebra stripes do not.
constexpr int inkContrast = 32;
constexpr int shortestRule = 20;
constexpr int thickestRule = 6;

int backgroundLevel(const QImage& gray) {
    std::array<long, 256> histogram{};
    const int width = gray.width();
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < width; ++x)
            ++histogram[line[x]];
    }
    return static_cast<int>(std::max_element(histogram.begin(), histogram.end()) - histogram.begin());
}

struct Run {
    int across;  // the row of a horizontal run, the column of a vertical one
    int start;
    int end;     // one past the last pixel
};

struct OpenLine {
    int firstAcross;
    int lastAcross;
    int start;
    int end;
};

// Runs of ink along one direction, grouped across neighbouring rows (or columns) into
// lines; groups thicker than a rule (filled areas, big letters) are dropped.
template <class IsInk>
std::vector<Rule> linesAlong(int length, int breadth, const IsInk& isInk) {
    std::vector<Rule> rules;
    std::vector<OpenLine> open;
    auto close = [&](const OpenLine& line) {
        const int thickness = line.lastAcross - line.firstAcross + 1;
        if (thickness <= thickestRule)
            rules.push_back(Rule{(line.firstAcross + line.lastAcross + 1) / 2.0, double(line.start),
                                 double(line.end), thickness});
    };
    for (int across = 0; across <= breadth; ++across) {
        std::vector<Run> runs;
        if (across < breadth) {
            int along = 0;
            while (along < length) {
                if (!isInk(along, across)) {
                    ++along;
                    continue;
                }
                const int start = along;
                while (along < length && isInk(along, across))
                    ++along;
                if (along - start >= shortestRule)
                    runs.push_back(Run{across, start, along});
            }
        }
        std::vector<OpenLine> next;
        std::vector<bool> continued(open.size(), false);
        for (const Run& run : runs) {
            bool joined = false;
            for (std::size_t i = 0; i < open.size(); ++i) {
                OpenLine& line = open[i];
                const int overlap = std::min(line.end, run.end) - std::max(line.start, run.start);
                const int shorter = std::min(line.end - line.start, run.end - run.start);
                if (!continued[i] && overlap * 2 >= shorter) {
                    continued[i] = true;
                    next.push_back(OpenLine{line.firstAcross, across, std::min(line.start, run.start),
                                            std::max(line.end, run.end)});
                    joined = true;
                    break;
                }
            }
            if (!joined)
                next.push_back(OpenLine{across, across, run.start, run.end});
        }
        for (std::size_t i = 0; i < open.size(); ++i)
            if (!continued[i])
                close(open[i]);
        open = std::move(next);
    }
    std::stable_sort(rules.begin(), rules.end(), [](const Rule& a, const Rule& b) { return a.position < b.position; });
    return rules;
}

}  // namespace

Rulings findRulings(const QImage& picture) {
    if (picture.isNull())
        return {};
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    const int background = backgroundLevel(gray);
    auto ink = [&](int x, int y) { return std::abs(int(gray.constScanLine(y)[x]) - background) >= inkContrast; };
    Rulings rulings;
    rulings.horizontal = linesAlong(gray.width(), gray.height(), [&](int along, int across) { return ink(along, across); });
    rulings.vertical = linesAlong(gray.height(), gray.width(), [&](int along, int across) { return ink(across, along); });
    return rulings;
}

}  // namespace Platform::Recognition::TableFinder
