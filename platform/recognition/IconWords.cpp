#include "platform/recognition/IconWords.h"

#include <QString>

#include <algorithm>

namespace Platform::Recognition {
namespace {

// Icons read as a word of a few letters; a longer word is text whatever its ink.
constexpr qsizetype longestIconWord = 4;
// A blob fills most of its box and has no ground between its first and last ink on any
// row; a bold glyph at screen sizes leaves more of its box as ground, or has a counter
// or a gap between its legs.
constexpr double blobFill = 0.65;
// Blobs at least this share of the text's glyph height both ways: a period or a dot is
// smaller, a stem narrower.
constexpr double blobSide = 0.5;
// The share of the word's ink in such blobs.
constexpr double blobInk = 0.75;

bool hasGroundInside(const QImage& gray, const QRect& box, int threshold) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        int first = box.left();
        while (first <= box.right() && line[first] >= threshold)
            ++first;
        int last = box.right();
        while (last > first && line[last] >= threshold)
            --last;
        if (std::any_of(line + first, line + last + 1, [&](uchar v) { return v >= threshold; }))
            return true;
    }
    return false;
}

// Halfway between the shape's darkest ink and the ground beside it. On a light page of
// faint text the page's ink level sits close to the ground, and the small counter of a
// bold letter, gray with anti-aliasing, would read as ink: a blob.
int counterLevel(const QImage& gray, const QRect& box, int threshold) {
    int darkest = 255, ground = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x)
            darkest = std::min<int>(darkest, line[x]);
    }
    const QRect around = box.adjusted(-1, -1, 1, 1) & gray.rect();
    for (int y = around.top(); y <= around.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = around.left(); x <= around.right(); ++x)
            if (!box.contains(x, y))
                ground = std::max<int>(ground, line[x]);
    }
    return std::min(threshold, (darkest + ground + 1) / 2);
}

bool isBlob(const QImage& gray, int threshold, const InkShape& shape, double glyph) {
    const QRect& box = shape.box;
    return box.width() >= blobSide * glyph && box.height() >= blobSide * glyph &&
           static_cast<double>(shape.ink) >= blobFill * box.width() * box.height() &&
           !hasGroundInside(gray, box, counterLevel(gray, box, threshold));
}

bool isIcon(const QImage& gray, int threshold, const WordBox& word, const std::vector<InkShape>& shapes, double glyph) {
    const QString text = word.text.trimmed();
    if (text.isEmpty() || text.size() > longestIconWord ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }))
        return false;
    long all = 0;
    long blobs = 0;
    for (const InkShape& shape : shapes) {
        if (!word.box.contains(QRectF(shape.box).center()))
            continue;
        all += shape.ink;
        blobs += isBlob(gray, threshold, shape, glyph) ? shape.ink : 0;
    }
    return all > 0 && static_cast<double>(blobs) >= blobInk * static_cast<double>(all);
}

}  // namespace

void dropIconWords(std::vector<LineWords>& lines, const QImage& gray, int threshold, const std::vector<InkShape>& shapes,
                   double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines)
        std::erase_if(line.words, [&](const WordBox& word) { return isIcon(gray, threshold, word, shapes, glyph); });
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
