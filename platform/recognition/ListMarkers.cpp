#include "platform/recognition/ListMarkers.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

bool isInk(const QImage& gray, int threshold, int x, int y) {
    if (x < 0 || y < 0 || x >= gray.width() || y >= gray.height())
        return false;
    return gray.constScanLine(y)[x] < threshold;
}

double quantile(std::vector<double> values, double share) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

double median(std::vector<double> values) { return quantile(std::move(values), 0.5); }

// How much lighter than the text's strokes a solid blob's core is when it is drawn in
// a colour of its own (an accent blue is a mid gray beside near-black text).
constexpr int badgeContrast = 40;

// Already a marker the list rule knows: the recognizer's own reading stays.
bool isDashText(const QString& text) {
    return text == u"-" || text == u"\u2013" || text == u"\u2014";
}

// A guillemet ("«", "»") blurs into a closed blob the size of a small ring, but its
// arms' ends stand to one side of its points: the ink of its top and bottom rows lies
// right of its middle rows' ink ("«") or left of it ("»"). A ring's lies over it. Each
// row counts by the middle of its ink's extent: a small ring's sides can come out one
// pixel thick on one side and two on the other.
bool pointsSideways(const QImage& gray, int threshold, const QRect& box) {
    const int band = std::max(1, box.height() / 4);
    double outerSum = 0, outerCount = 0, innerSum = 0, innerCount = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const bool outer = y < box.top() + band || y > box.bottom() - band;
        const bool inner = y >= box.top() + box.height() / 3 && y <= box.bottom() - box.height() / 3;
        int left = box.right() + 1, right = box.left() - 1;
        for (int x = box.left(); x <= box.right(); ++x) {
            if (isInk(gray, threshold, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (left > right)
            continue;
        if (outer) {
            outerSum += (left + right) / 2.0;
            ++outerCount;
        } else if (inner) {
            innerSum += (left + right) / 2.0;
            ++innerCount;
        }
    }
    if (outerCount == 0 || innerCount == 0)
        return false;
    const double shift = outerSum / outerCount - innerSum / innerCount;
    return std::abs(shift) > 0.1 * box.width();
}

// A ring closes round its middle: ink lies on every side of the centre. A chevron
// ("«", "<") or a "c" has ground inside its box too, but is open on one side.
bool isRing(const QImage& gray, int threshold, const QRect& box) {
    const QPoint centre = box.center();
    const auto reaches = [&](int dx, int dy) {
        for (QPoint p = centre; box.contains(p); p += QPoint(dx, dy))
            if (isInk(gray, threshold, p.x(), p.y()))
                return true;
        return false;
    };
    if (!(reaches(1, 0) && reaches(-1, 0) && reaches(0, 1) && reaches(0, -1)))
        return false;
    return !pointsSideways(gray, threshold, box);
}

}  // namespace

QString markerText(MarkerShape shape) {
    switch (shape) {
    case MarkerShape::disc:
        return QStringLiteral("\u2022");
    case MarkerShape::circle:
        return QStringLiteral("\u25e6");
    case MarkerShape::square:
        return QStringLiteral("\u25aa");
    case MarkerShape::dash:
        return QStringLiteral("\u2013");
    }
    return {};
}

std::optional<MarkerShape> markerShape(const QImage& gray, int threshold, const InkShape& shape, double xHeight,
                                       double baseline) {
    const QRect& box = shape.box;
    const double w = box.width();
    const double h = box.height();
    // Markers sit on the middle of the x-height, well above the baseline (a period or a
    // comma does not).
    const double rise = baseline - (box.top() + h / 2.0);
    if (rise < 0.2 * xHeight || rise > 0.8 * xHeight)
        return std::nullopt;
    if (h <= 0.35 * xHeight && w >= 0.45 * xHeight && w <= 2.2 * xHeight)
        return static_cast<double>(shape.ink) >= 0.7 * w * h ? std::optional(MarkerShape::dash) : std::nullopt;
    const double side = std::max(w, h);
    // Smaller than a letter "o", larger than a dot. Some fonts draw their markers as
    // wide as an "o", but raised clear of the baseline or shorter than the x-height,
    // where an "o" sits on the baseline and overshoots the x-height. A small font's
    // marker may be neither by much: a pixel clear of the baseline and shorter than the
    // flat letters is no "o" either.
    const double lift = baseline - (box.top() + h);
    const bool raised = lift >= 0.15 * xHeight || (lift >= 1 && h < xHeight);
    const double largest = raised || h <= 0.85 * xHeight ? 1.1 : 0.9;
    if (side < 0.3 * xHeight || side > largest * xHeight || w < 0.7 * h || h < 0.7 * w)
        return std::nullopt;
    const double fill = static_cast<double>(shape.ink) / (w * h);
    // A ring has ground inside it, where a disc or a square is solid.
    const QRect inside = box.adjusted(box.width() / 4, box.height() / 4, -box.width() / 4, -box.height() / 4);
    bool hollow = false;
    for (int y = inside.top(); y <= inside.bottom() && !hollow; ++y)
        for (int x = inside.left(); x <= inside.right() && !hollow; ++x)
            hollow = !isInk(gray, threshold, x, y);
    if (hollow)
        return fill < 0.8 && isRing(gray, threshold, box) ? std::optional(MarkerShape::circle) : std::nullopt;
    // A disc leaves its corners empty; a square fills them, or nearly all its box.
    const int corners = int(isInk(gray, threshold, box.left(), box.top())) +
                        int(isInk(gray, threshold, box.right(), box.top())) +
                        int(isInk(gray, threshold, box.left(), box.bottom())) +
                        int(isInk(gray, threshold, box.right(), box.bottom()));
    if (corners >= 3 || fill >= 0.9)
        return MarkerShape::square;
    if (fill >= 0.6)
        return MarkerShape::disc;
    return std::nullopt;
}

namespace {

struct FoundMarker {
    // None for a badge: a dot that is no marker and no text, read as nothing.
    std::optional<MarkerShape> shape;
    QRect ink;
    double textStart;
};

int darkestLevel(const QImage& gray, const QRect& box) {
    int darkest = 255;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x)
            darkest = std::min<int>(darkest, row[x]);
    }
    return darkest;
}

// An unread dot, a status light, a filled check box: a solid blob about the size of
// a letter in a colour of its own. The recognizer reads it "e", "@" or "©". A list's
// marker is drawn in its text's colour, and solid, as dark as the text's strokes.
bool isBadge(const QImage& gray, int threshold, const InkShape& shape, const std::vector<const InkShape*>& letters,
             double xHeight) {
    const QRect& box = shape.box;
    const double w = box.width();
    const double h = box.height();
    const double side = std::max(w, h);
    if (side < 0.5 * xHeight || side > 2.0 * xHeight || w < 0.7 * h || h < 0.7 * w ||
        static_cast<double>(shape.ink) < 0.6 * w * h)
        return false;
    // Solid through its middle: a small ring's thin, lighter stroke is no badge.
    const QRect middle = box.adjusted(box.width() / 4, box.height() / 4, -box.width() / 4, -box.height() / 4);
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            if (!isInk(gray, threshold, x, y))
                return false;
    std::vector<double> levels;
    for (const InkShape* letter : letters)
        levels.push_back(darkestLevel(gray, letter->box));
    if (levels.size() < 2)
        return false;
    return darkestLevel(gray, middle) >= median(std::move(levels)) + badgeContrast;
}

// A small "«" blurs into a blob the size of a disc, but its thin strokes leave no pixel
// as dark as the letters' stems, where a disc or a square drawn in the text's colour has
// a solid core at least as dark as they are.
constexpr int faintContrast = 12;

bool isFaint(const QImage& gray, const InkShape& shape, const std::vector<const InkShape*>& letters) {
    std::vector<double> levels;
    for (const InkShape* letter : letters)
        levels.push_back(darkestLevel(gray, letter->box));
    if (levels.size() < 2)
        return false;
    return darkestLevel(gray, shape.box) >= median(std::move(levels)) + faintContrast;
}

// The usual space between the line's words, when it has enough words to tell. The
// first word is left out: it may be the recognizer's reading of the marker.
std::optional<double> wordSpace(const LineWords& line) {
    std::vector<double> gaps;
    for (std::size_t i = 2; i < line.words.size(); ++i) {
        const double gap = line.words[i].box.left() - line.words[i - 1].box.right();
        if (gap > 0)
            gaps.push_back(gap);
    }
    if (gaps.size() < 2)
        return std::nullopt;
    return median(std::move(gaps));
}

std::optional<FoundMarker> findMarker(const LineWords& line, const QImage& gray, int threshold,
                                      const std::vector<InkShape>& shapes, const std::vector<QRectF>& otherWords,
                                      double glyph) {
    // The words' own rows, not the line's box: the recognizer sometimes hangs the next
    // row's marker on a line as a stray "°".
    std::vector<double> tops;
    std::vector<double> bottoms;
    for (const WordBox& word : line.words) {
        tops.push_back(word.box.top());
        bottoms.push_back(word.box.bottom());
    }
    const double top = median(tops) - 0.2 * glyph;
    const double bottom = median(bottoms) + 0.2 * glyph;
    // A marker the recognizer left out lies left of the line's box.
    const double reach = line.box.left() - 4 * glyph;
    std::vector<const InkShape*> inLine;
    for (const InkShape& shape : shapes) {
        const double y = shape.box.top() + shape.box.height() / 2.0;
        // A letter of a word of another line (a table's cell read as a line of its own,
        // left of this one: the "e" of "Frame" is a ring) is no marker left out.
        const QPointF centre = QRectF(shape.box).center();
        const bool elsewhere = std::any_of(otherWords.begin(), otherWords.end(),
                                           [&](const QRectF& word) { return word.contains(centre); });
        if (y >= top && y <= bottom && shape.box.left() >= reach && shape.box.right() <= line.box.right() + 1 &&
            shape.box.height() <= 2.5 * glyph && !elsewhere)
            inLine.push_back(&shape);
    }
    if (inLine.size() < 3)
        return std::nullopt;
    std::sort(inLine.begin(), inLine.end(),
              [](const InkShape* a, const InkShape* b) { return a->box.left() < b->box.left(); });
    const InkShape& first = *inLine.front();
    const InkShape& next = *inLine[1];
    // The text begins after a clear gap; a marker is never part of a word. The gap is
    // a word space at least: a hyphen or a period that starts a word ("-rw-r--r--",
    // ".map(") stands closer to its next letter than the line's words to each other.
    const double gap = next.box.left() - first.box.right();
    if (gap < 0.25 * glyph || gap > 4 * glyph)
        return std::nullopt;
    if (const std::optional<double> space = wordSpace(line); space && gap < 0.6 * *space)
        return std::nullopt;
    // Nor a letter gap: a line of few words tells no word space, but the gaps between its
    // letters show how close a word's first letter ("e" of "export") stands to the next.
    std::vector<double> letterGaps;
    for (std::size_t i = 2; i < inLine.size(); ++i)
        if (const double between = inLine[i]->box.left() - inLine[i - 1]->box.right(); between > 0)
            letterGaps.push_back(between);
    const bool letterGap = letterGaps.size() >= 3 && gap < 2.0 * median(letterGaps);
    std::vector<double> glyphBottoms;
    std::vector<double> heights;
    for (auto it = inLine.begin() + 1; it != inLine.end(); ++it) {
        if ((*it)->box.height() >= 0.4 * glyph) {
            glyphBottoms.push_back((*it)->box.bottom() + 1);
            heights.push_back((*it)->box.height());
        }
    }
    if (heights.size() < 2)
        return std::nullopt;
    // Most letters sit on the baseline, and the shortest common ones are x-height tall.
    const double xHeight = quantile(heights, 0.25);
    const std::vector<const InkShape*> letters(inLine.begin() + 1, inLine.end());
    if (isBadge(gray, threshold, first, letters, xHeight))
        return FoundMarker{std::nullopt, first.box, static_cast<double>(next.box.left())};
    const auto shape = markerShape(gray, threshold, first, xHeight, median(glyphBottoms));
    // A dash is told from a word's first character by the words it stands in, below.
    if (!shape || (letterGap && *shape != MarkerShape::dash))
        return std::nullopt;
    if ((*shape == MarkerShape::disc || *shape == MarkerShape::square) && isFaint(gray, first, letters))
        return std::nullopt;
    return FoundMarker{*shape, first.box, static_cast<double>(next.box.left())};
}

}  // namespace

void markListLines(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                   const std::vector<InkShape>& shapes, double glyph) {
    std::vector<std::optional<FoundMarker>> found;
    std::vector<QRectF> markers;
    for (const LineWords& line : lines) {
        std::vector<QRectF> otherWords;
        for (const LineWords& other : lines)
            if (&other != &line)
                for (const WordBox& word : other.words)
                    // A marker read as a line of its own ("°", "e") stays one.
                    if (word.text.trimmed().size() >= 3)
                        otherWords.push_back(word.box);
        found.push_back(line.words.empty() ? std::nullopt
                                           : findMarker(line, gray, threshold, shapes, otherWords, glyph));
        // A dash that one word reads on from ("-rw-r--r--", "--help") is its first
        // character, not a marker.
        if (found.back() && found.back()->shape == MarkerShape::dash) {
            const FoundMarker& marker = *found.back();
            const bool partOfWord = std::any_of(line.words.begin(), line.words.end(), [&](const WordBox& word) {
                return word.box.left() <= marker.ink.center().x() && word.box.right() > marker.textStart + 0.5 * glyph;
            });
            if (partOfWord)
                found.back().reset();
        }
        if (found.back())
            markers.push_back(QRectF(found.back()->ink).adjusted(-0.25 * glyph, -0.25 * glyph, 0.25 * glyph, 0.25 * glyph));
    }
    if (markers.empty())
        return;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        LineWords& line = lines[i];
        const std::optional<FoundMarker>& marker = found[i];
        // Whatever the recognizer made of a marker stands wholly before the text.
        auto isMisread = [&](const WordBox& word) {
            if (marker && word.box.right() <= marker->textStart + 0.25 * glyph)
                return true;
            return std::any_of(markers.begin(), markers.end(),
                               [&](const QRectF& box) { return box.contains(word.box.center()); });
        };
        if (marker && marker->shape == MarkerShape::dash) {
            const auto misread = std::find_if(line.words.begin(), line.words.end(), isMisread);
            if (misread != line.words.end() && isDashText(misread->text.trimmed()))
                continue;
        }
        const auto removed = std::erase_if(line.words, isMisread);
        if (removed > 0 && !line.words.empty()) {
            // The box no longer reaches the stray word's row.
            QRectF words = line.words.front().box;
            for (const WordBox& word : line.words)
                words = words.united(word.box);
            line.box = QRectF(words.left(), std::max(line.box.top(), words.top()), words.width(),
                              std::min(line.box.bottom(), words.bottom()) - std::max(line.box.top(), words.top()));
        }
        if (!marker || !marker->shape || line.words.empty())
            continue;
        const QRect& ink = marker->ink;
        // The marker's word reaches to its text, so no wide gap cuts it off its item.
        const QRectF markerBox(ink.left(), ink.top(), std::max(1.0, marker->textStart - 1 - ink.left()), ink.height());
        line.words.insert(line.words.begin(), WordBox{markerText(*marker->shape), markerBox, 1.0f});
        line.box = line.box.united(markerBox);
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

namespace {

// How dark a box's corner pixels are beside the middles of its sides, each measured from
// the lightest pixel around the box.
double cornerShare(const QImage& gray, const QRect& box) {
    const auto level = [&](int x, int y) {
        return static_cast<double>(gray.constScanLine(std::clamp(y, 0, gray.height() - 1))[std::clamp(x, 0, gray.width() - 1)]);
    };
    double ground = 0;
    for (int x = box.left() - 1; x <= box.right() + 1; ++x)
        ground = std::max({ground, level(x, box.top() - 1), level(x, box.bottom() + 1)});
    for (int y = box.top(); y <= box.bottom(); ++y)
        ground = std::max({ground, level(box.left() - 1, y), level(box.right() + 1, y)});
    const QPoint mid = box.center();
    const double corners = 4 * ground - level(box.left(), box.top()) - level(box.right(), box.top()) -
                           level(box.left(), box.bottom()) - level(box.right(), box.bottom());
    const double sides = 4 * ground - level(mid.x(), box.top()) - level(mid.x(), box.bottom()) -
                         level(box.left(), mid.y()) - level(box.right(), mid.y());
    return sides > 0 ? corners / sides : 1.0;
}

}  // namespace

void settleMarkerCorners(std::vector<LineWords>& lines, const QImage& gray) {
    const QString square = markerText(MarkerShape::square);
    for (LineWords& line : lines) {
        if (line.words.empty() || line.words.front().text != square)
            continue;
        // The marker's word reaches to its text; its ink is about as wide as it is tall.
        const QRectF& box = line.words.front().box;
        const QRect area = QRect(QPoint(static_cast<int>(std::floor(box.left())) - 1, static_cast<int>(std::floor(box.top())) - 1),
                                 QPoint(static_cast<int>(std::ceil(box.left() + box.height())) + 1,
                                        static_cast<int>(std::ceil(box.bottom())) + 1))
                               .intersected(gray.rect().adjusted(1, 1, -1, -1));
        if (area.width() < 3 || area.height() < 3)
            continue;
        const std::optional<QRect> ink = localInk(gray, area, 64);
        // Three pixels across or fewer draw a disc and a square alike.
        if (ink && ink->width() >= 4 && ink->height() >= 4 && cornerShare(gray, *ink) < 0.35)
            line.words.front().text = markerText(MarkerShape::disc);
    }
}

void unifyListMarkers(std::vector<LineWords>& lines, double glyph) {
    if (glyph <= 0)
        return;
    const QString disc = markerText(MarkerShape::disc);
    const QString square = markerText(MarkerShape::square);
    std::vector<WordBox*> markers;
    for (LineWords& line : lines)
        if (!line.words.empty() && (line.words.front().text == disc || line.words.front().text == square))
            markers.push_back(&line.words.front());
    // Lists: markers at one indent, each within a few lines of the one before. Items
    // nested under an item, each a few lines from the next, do not break its list.
    std::sort(markers.begin(), markers.end(), [](const WordBox* a, const WordBox* b) { return a->box.top() < b->box.top(); });
    std::vector<std::vector<std::size_t>> lists;
    for (std::size_t at = 0; at < markers.size(); ++at) {
        const WordBox* marker = markers[at];
        const auto joins = [&](const std::vector<std::size_t>& list) {
            const WordBox* last = markers[list.back()];
            if (std::abs(last->box.left() - marker->box.left()) > 0.5 * glyph)
                return false;
            for (std::size_t k = list.back() + 1; k <= at; ++k)
                if (markers[k]->box.top() - markers[k - 1]->box.bottom() > 10 * glyph)
                    return false;
            return true;
        };
        const auto list = std::find_if(lists.begin(), lists.end(), joins);
        if (list != lists.end())
            list->push_back(at);
        else
            lists.push_back({at});
    }
    for (const std::vector<std::size_t>& list : lists) {
        const auto discs = std::count_if(list.begin(), list.end(), [&](std::size_t at) { return markers[at]->text == disc; });
        const auto squares = static_cast<std::ptrdiff_t>(list.size()) - discs;
        if (discs == squares)
            continue;
        const QString& shape = discs > squares ? disc : square;
        for (std::size_t at : list)
            markers[at]->text = shape;
    }
}

}  // namespace Platform::Recognition
