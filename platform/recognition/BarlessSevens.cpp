#include "platform/recognition/BarlessSevens.h"

#include "platform/recognition/LookAlikes.h"

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

// Fewer rows than this blur a bar into the rows below it.
constexpr int leastRows = 10;
// A bar spans most of the glyph; a stem's end with the start of its flag two thirds of
// an italic "1" at most.
constexpr double barShare = 0.75;

bool isFigureWord(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) &&
           std::all_of(text.begin(), text.end(), [](QChar c) {
               return c.isDigit() || c == u'.' || c == u',' || c == u':' || c == u'-' || c == u'/';
           });
}

}  // namespace

bool hasBarlessTop(const QImage& gray, int threshold, const QRect& box) {
    if (box.height() < leastRows || box != (box & gray.rect()) || box.width() < 3)
        return false;
    int widest = 0;
    for (int y = box.top(); y < box.top() + 2; ++y) {
        std::optional<int> left, right;
        for (int x = box.left(); x <= box.right(); ++x)
            if (gray.constScanLine(y)[x] < threshold) {
                left = left.value_or(x);
                right = x;
            }
        if (left)
            widest = std::max(widest, *right - *left + 1);
    }
    return widest < barShare * box.width();
}

void restoreBarlessSevens(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                          const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            if (!word.text.contains(u'7') || !isFigureWord(word.text))
                continue;
            const std::optional<std::vector<QRect>> ink = characterShapes(word, shapes);
            if (!ink)
                continue;
            for (qsizetype i = 0; i < word.text.size(); ++i) {
                if (word.text[i] != u'7' || !hasBarlessTop(gray, threshold, (*ink)[static_cast<std::size_t>(i)]))
                    continue;
                word.text[i] = u'1';
                const auto at = static_cast<std::size_t>(i);
                if (word.glyphs.size() == static_cast<std::size_t>(word.text.size()) && word.glyphs[at].text == u"7")
                    word.glyphs[at].text = QStringLiteral("1");
            }
        }
    }
}

}  // namespace Platform::Recognition
