#include "platform/recognition/SmallL.h"

#include "platform/recognition/LookAlikes.h"
#include "platform/recognition/TesseractLanguages.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

bool opensQuote(QChar c) {
    return c == u'"' || c == u'(' || c == QChar(0x00AB) || c == QChar(0x201C) || c == QChar(0x201E) ||
           c == QChar(0x2018);
}

bool endsSentence(const QString& word) {
    if (word.isEmpty())
        return false;
    const QChar last = word.back();
    return last == u'.' || last == u'!' || last == u'?' || last == u':' || last == QChar(0x2026) || opensQuote(last);
}

// The line a paragraph goes on in: the nearest one below, close under it and sharing
// some of its width.
const LineWords* lineBelow(const std::vector<LineWords>& lines, const LineWords& line) {
    const LineWords* below = nullptr;
    for (const LineWords& other : lines) {
        if (&other == &line || other.words.empty() || other.box.top() < line.box.center().y() ||
            other.box.top() > line.box.bottom() + line.box.height() || other.box.left() >= line.box.right() ||
            other.box.right() <= line.box.left())
            continue;
        if (below == nullptr || other.box.top() < below->box.top())
            below = &other;
    }
    return below;
}

// A stroke's height to a fraction of a pixel: its ink row by row against a whole row's,
// so that the soft rows at its ends count for what they hold.
double strokeHeight(const QImage& gray, const QRect& box) {
    const QRect area = box.adjusted(-1, -2, 1, 2).intersected(gray.rect());
    if (area.isEmpty())
        return 0;
    int ground = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ground = std::max(ground, static_cast<int>(gray.constScanLine(y)[x]));
    std::vector<double> rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        double ink = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            ink += ground - gray.constScanLine(y)[x];
        rows.push_back(ink);
    }
    std::vector<double> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    const double whole = sorted[sorted.size() * 3 / 4];
    double sum = 0;
    for (const double ink : rows)
        sum += ink;
    return whole > 0 ? sum / whole : 0;
}

// A plain stroke: no serif, bowl or dot beside it.
bool isPlainStroke(const QRect& box) { return box.height() >= 6 && box.width() * 4 <= box.height(); }

}  // namespace

void restoreDoubleL(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes,
                    const QStringList& languages) {
    const bool spanish = std::any_of(languages.begin(), languages.end(), [](const QString& tag) {
        const QString language = languageSubtag(tag);
        return language == u"es" || language == u"ca";
    });
    if (!spanish)
        return;
    for (LineWords& line : lines) {
        for (std::size_t i = 1; i < line.words.size(); ++i) {
            QString& text = line.words[i].text;
            if (text.size() < 3 || !text.startsWith(QLatin1String("Il")) || !text[2].isLower() ||
                endsSentence(line.words[i - 1].text.trimmed()))
                continue;
            const std::vector<QRect> inside = wordShapes(line.words[i], shapes);
            if (inside.size() < 3 || !isPlainStroke(inside[0]) || !isPlainStroke(inside[1]))
                continue;
            const double first = strokeHeight(gray, inside[0]);
            const double second = strokeHeight(gray, inside[1]);
            // A capital stands some 4 % lower than an "l" in sans-serif screen fonts; hinted
            // small, both can come out one pixel row tall, and then the language decides.
            if (first >= second - std::max(0.25, 0.015 * second))
                text[0] = u'l';
        }
    }
}

void restoreSmallL(std::vector<LineWords>& lines) {
    for (LineWords& line : lines) {
        for (std::size_t i = 0; i < line.words.size(); ++i) {
            QString& text = line.words[i].text;
            if (!text.startsWith(QLatin1String("II")))
                continue;
            if (text.size() > 2 && text[2].isLower()) {
                text[1] = u'l';
                continue;
            }
            if (text.size() != 2)
                continue;
            // Last on its line ("« II" / "faut …"), the sentence goes on in the line below.
            const LineWords* below = i + 1 < line.words.size() || i == 0 ? nullptr : lineBelow(lines, line);
            if (i + 1 >= line.words.size() && below == nullptr)
                continue;
            const QString& next = below != nullptr ? below->words.front().text : line.words[i + 1].text;
            const bool startsSentence = i == 0 || endsSentence(line.words[i - 1].text.trimmed());
            if (startsSentence && !next.isEmpty() && next.front().isLower())
                text[1] = u'l';
        }
    }
}

}  // namespace Platform::Recognition
