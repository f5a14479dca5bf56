#include "platform/recognition/LookAlikes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <optional>

namespace Platform::Recognition {
namespace {

constexpr int columns = 6;
constexpr int rows = 12;
// The other glyph's look must be this much nearer than the one read.
constexpr double clearlyNearer = 0.7;

// A glyph's ink on a coarse grid over its box, with the box's size.
struct Look {
    std::array<double, columns * rows> ink{};
    double width = 0;
    double height = 0;
};

Look lookOf(const QImage& gray, const QRect& box) {
    Look look;
    look.width = box.width();
    look.height = box.height();
    std::array<double, columns * rows> weight{};
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        const int row = std::min(rows - 1, (y - box.top()) * rows / box.height());
        for (int x = box.left(); x <= box.right(); ++x) {
            const int column = std::min(columns - 1, (x - box.left()) * columns / box.width());
            look.ink[static_cast<std::size_t>(row * columns + column)] += (255 - line[x]) / 255.0;
            weight[static_cast<std::size_t>(row * columns + column)] += 1;
        }
    }
    for (std::size_t i = 0; i < look.ink.size(); ++i)
        look.ink[i] = weight[i] > 0 ? look.ink[i] / weight[i] : 0;
    return look;
}

double distance(const Look& a, const Look& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.ink.size(); ++i)
        sum += std::abs(a.ink[i] - b.ink[i]);
    return sum / static_cast<double>(a.ink.size()) + std::abs(a.width - b.width) / std::max(a.width, b.width) +
           std::abs(a.height - b.height) / std::max(a.height, b.height);
}

// Shapes a character's ink falls into: a colon has two dots, an "i" its dot.
int partsOf(QChar c) {
    if (c == u':' || c == u';' || c == u'i' || c == u'j' || c == u'=' || c == u'"' || c == u'!' || c == u'?')
        return 2;
    if (c == u'%')
        return 3;
    return 1;
}

bool isFigure(const QString& text) {
    const auto digits = std::count_if(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    return digits >= 2 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c.isDigit() || c == u'.' || c == u',' || c == u':' || c == u'-' || c == u'/';
           });
}

bool isPlainWord(const QString& text) {
    const auto letters = std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
    return letters >= 3 && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

struct Sample {
    Look look;
    QChar read;
};

// The mean look of the samples of one glyph about as tall as `height`.
std::optional<Look> typicalLook(const std::vector<Sample>& samples, QChar glyph, double height) {
    Look mean;
    int count = 0;
    for (const Sample& sample : samples) {
        if (sample.read != glyph || std::abs(sample.look.height - height) > 0.15 * height)
            continue;
        for (std::size_t i = 0; i < mean.ink.size(); ++i)
            mean.ink[i] += sample.look.ink[i];
        mean.width += sample.look.width;
        mean.height += sample.look.height;
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    for (double& value : mean.ink)
        value /= count;
    mean.width /= count;
    mean.height /= count;
    return mean;
}

}  // namespace

std::vector<QRect> wordShapes(const WordBox& word, const std::vector<InkShape>& shapes) {
    const QRectF area = word.box.adjusted(-1, -1, 1, 1);
    std::vector<QRect> inside;
    for (const InkShape& shape : shapes)
        if (area.contains(QRectF(shape.box).center()))
            inside.push_back(shape.box);
    std::sort(inside.begin(), inside.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    return inside;
}

std::optional<std::vector<QRect>> characterShapes(const WordBox& word, const std::vector<InkShape>& shapes) {
    const std::vector<QRect> inside = wordShapes(word, shapes);
    std::vector<QRect> glyphs;
    std::size_t next = 0;
    for (const QChar c : word.text) {
        const auto parts = static_cast<std::size_t>(partsOf(c));
        if (next + parts > inside.size())
            return std::nullopt;
        QRect glyph;
        for (std::size_t k = 0; k < parts; ++k)
            glyph = glyph.united(inside[next + k]);
        glyphs.push_back(glyph);
        next += parts;
    }
    if (next != inside.size())
        return std::nullopt;
    return glyphs;
}

void settleLookAlikes(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes) {
    const auto isLookAlike = [](QChar c) { return c == u'l' || c == u'1'; };
    std::vector<Sample> sure;
    struct Doubt {
        WordBox* word;
        qsizetype at;
        Look look;
    };
    std::vector<Doubt> doubts;
    const QRect page = gray.rect();
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            if (std::none_of(word.text.begin(), word.text.end(), isLookAlike))
                continue;
            const std::optional<std::vector<QRect>> glyphs = characterShapes(word, shapes);
            if (!glyphs)
                continue;
            const bool certain = isFigure(word.text) || isPlainWord(word.text);
            for (qsizetype i = 0; i < word.text.size(); ++i) {
                const QRect& box = (*glyphs)[static_cast<std::size_t>(i)];
                if (!isLookAlike(word.text[i]) || !page.contains(box) || box.width() < 1 || box.height() < 4)
                    continue;
                if (certain)
                    sure.push_back({lookOf(gray, box), word.text[i]});
                else
                    doubts.push_back({&word, i, lookOf(gray, box)});
            }
        }
    }
    for (const Doubt& doubt : doubts) {
        const QChar read = doubt.word->text[doubt.at];
        const QChar other = read == u'l' ? u'1' : u'l';
        const std::optional<Look> asRead = typicalLook(sure, read, doubt.look.height);
        const std::optional<Look> asOther = typicalLook(sure, other, doubt.look.height);
        // A one among letters ("le" read "1e") or an l among figures is no likelier; a
        // capital before figures is a label ("Q1", "H2").
        const QString& text = doubt.word->text;
        const bool label = text.size() >= 2 && text.front().isUpper() &&
                           std::all_of(std::next(text.begin()), text.end(), [](QChar c) { return c.isDigit() || c == u'l'; });
        const bool fits = other == u'1' ? label || std::none_of(text.begin(), text.end(),
                                                                [](QChar c) { return c.isLetter() && c != u'l'; })
                                        : std::none_of(text.begin(), text.end(),
                                                       [](QChar c) { return c.isDigit() && c != u'1'; });
        if (fits && asRead && asOther && distance(doubt.look, *asOther) < clearlyNearer * distance(doubt.look, *asRead))
            doubt.word->text[doubt.at] = other;
    }
}

}  // namespace Platform::Recognition
