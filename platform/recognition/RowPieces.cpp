#include "platform/recognition/RowPieces.h"

#include "platform/recognition/RecognizedLines.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Platform::Recognition {

void joinRowPieces(tesseract::TessBaseAPI& api, const QImage& band, int threshold, std::vector<LineWords>& lines,
                   tesseract::ETEXT_DESC& monitor) {
    bool reread = false;
    for (LineWords& left : lines) {
        if (left.words.empty())
            continue;
        LineWords* right = nullptr;
        for (LineWords& other : lines) {
            const double shared =
                std::min(left.box.bottom(), other.box.bottom()) - std::max(left.box.top(), other.box.top());
            if (&other == &left || other.words.empty() || other.box.left() <= left.box.right() ||
                shared < 0.5 * std::min(left.box.height(), other.box.height()))
                continue;
            if (right == nullptr || other.box.left() < right->box.left())
                right = &other;
        }
        if (right == nullptr)
            continue;
        const WordBox& last = left.words.back();
        const WordBox& first = right->words.front();
        const double height = std::min(left.box.height(), right->box.height());
        // Across the gap, the columns of the rows both pieces share: inked ones hold the
        // lost word, and no blank stretch in it is wider than a word space.
        const int top = std::max(0, static_cast<int>(std::ceil(std::max(left.box.top(), right->box.top()))));
        const int bottom =
            std::min(band.height() - 1, static_cast<int>(std::floor(std::min(left.box.bottom(), right->box.bottom()))));
        const int from = std::max(0, static_cast<int>(std::ceil(last.box.right())) + 1);
        const int to = std::min(band.width() - 1, static_cast<int>(std::floor(first.box.left())) - 1);
        int inked = 0, blank = 0, widestBlank = 0;
        for (int x = from; x <= to; ++x) {
            bool ink = false;
            for (int y = top; y <= bottom && !ink; ++y)
                ink = band.constScanLine(y)[x] < threshold;
            inked += ink ? 1 : 0;
            blank = ink ? 0 : blank + 1;
            widestBlank = std::max(widestBlank, blank);
        }
        if (inked < 0.3 * height || widestBlank > 1.5 * height)
            continue;
        const int margin = std::max(4, static_cast<int>(height / 4));
        const QRect area =
            last.box.united(first.box).toAlignedRect().adjusted(-margin, -margin, margin, margin) & band.rect();
        if (!reread)
            api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        reread = true;
        api.SetRectangle(area.left(), area.top(), area.width(), area.height());
        if (api.Recognize(&monitor) != 0)
            break;
        const std::vector<LineWords> read = collectLines(api);
        if (read.size() != 1 || read.front().words.size() < 2)
            continue;
        const std::vector<WordBox>& words = read.front().words;
        const QString before = last.text.trimmed();
        const QString after = first.text.trimmed();
        bool spaced = true;
        for (std::size_t i = 1; i < words.size(); ++i)
            spaced = spaced && words[i].box.left() - words[i - 1].box.right() <= 1.5 * height;
        if (words.front().text.trimmed() != before || !words.back().text.trimmed().endsWith(after) ||
            characterCount(words) <= before.size() + after.size() || !spaced ||
            meanConfidence(words) < std::min(last.confidence, first.confidence) - 0.1)
            continue;
        left.words.pop_back();
        left.words.insert(left.words.end(), words.begin(), words.end());
        left.words.insert(left.words.end(), std::next(right->words.begin()), right->words.end());
        left.box = left.box.united(right->box);
        right->words.clear();
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
    if (reread)
        api.SetPageSegMode(tesseract::PSM_AUTO);
}

}  // namespace Platform::Recognition
