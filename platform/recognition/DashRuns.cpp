#include "platform/recognition/DashRuns.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

// The width of a character cell of the line, from its longer words: ink stops short of
// the cells by about half a cell in all.
double pitchOf(const LineWords& line) {
    std::vector<double> pitches;
    for (const WordBox& word : line.words) {
        const auto count = word.text.trimmed().size();
        if (count >= 3)
            pitches.push_back(word.box.width() / (static_cast<double>(count) - 0.5));
    }
    if (pitches.empty())
        return 0;
    const auto middle = pitches.begin() + static_cast<std::ptrdiff_t>(pitches.size() / 2);
    std::nth_element(pitches.begin(), middle, pitches.end());
    return *middle;
}

}  // namespace

void restoreDashRuns(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    for (LineWords& line : lines) {
        const double pitch = pitchOf(line);
        if (pitch <= 0)
            continue;
        const QRectF& box = line.box;
        // Flat ink halfway up the line's small letters that no word covers.
        std::vector<QRectF> flat;
        for (const InkShape& shape : shapes) {
            const QRectF ink(shape.box);
            const double middle = ink.center().y();
            if (ink.height() > 0.3 * glyph || ink.width() < 0.3 * pitch || ink.width() < 2 * ink.height() ||
                middle < box.top() + 0.3 * box.height() || middle > box.bottom() - 0.2 * box.height() ||
                ink.left() < box.left() - pitch || ink.right() > box.right() + pitch)
                continue;
            const bool covered = std::any_of(line.words.begin(), line.words.end(),
                                             [&](const WordBox& word) { return word.box.contains(ink.center()); });
            if (!covered)
                flat.push_back(ink);
        }
        std::sort(flat.begin(), flat.end(), [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
        // Runs of dashes side by side, each as many dashes as the cells it spans.
        std::vector<std::pair<QRectF, long>> runs;
        for (const QRectF& ink : flat) {
            const long dashes = std::max(1L, std::lround(ink.width() / pitch));
            if (!runs.empty() && ink.left() - runs.back().first.right() <= 0.6 * pitch) {
                runs.back().first = runs.back().first.united(ink);
                runs.back().second += dashes;
            } else {
                runs.emplace_back(ink, dashes);
            }
        }
        for (const auto& [run, dashes] : runs) {
            // A lone dash is read as one; two or more look like a rule to the page layout.
            if (dashes < 2)
                continue;
            WordBox* before = nullptr;
            WordBox* after = nullptr;
            for (WordBox& word : line.words) {
                const double centre = word.box.center().x();
                if (centre < run.center().x() && word.box.right() > run.left() - 0.6 * pitch)
                    before = &word;
                else if (centre >= run.center().x() && word.box.left() < run.right() + 0.6 * pitch && !after)
                    after = &word;
            }
            // Dashes join dashes ("drw-" and "-"); beside a letter a flat line is a rule.
            if (before && !before->text.endsWith(u'-'))
                before = nullptr;
            if (after && !after->text.startsWith(u'-'))
                after = nullptr;
            if (!before && !after)
                continue;
            const QString text(static_cast<qsizetype>(dashes), u'-');
            if (before) {
                before->text += text;
                before->box = before->box.united(run);
                if (after) {
                    before->text += after->text;
                    before->box = before->box.united(after->box);
                    after->text.clear();
                }
            } else {
                after->text.prepend(text);
                after->box = after->box.united(run);
            }
            std::erase_if(line.words, [](const WordBox& word) { return word.text.isEmpty(); });
        }
    }
}

}  // namespace Platform::Recognition
