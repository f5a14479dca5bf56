#include "platform/recognition/TableFinder.h"

#include "platform/recognition/Observations.h"
#include "platform/recognition/TableFinderSteps.h"

#include <algorithm>

namespace Platform::Recognition::TableFinder {

namespace detail {

double medianHeight(const std::vector<const TableWord*>& words, double fallback) {
    std::vector<double> heights;
    for (const TableWord* word : words)
        if (word->box.height() > 0)
            heights.push_back(word->box.height());
    if (heights.empty())
        return fallback;
    std::sort(heights.begin(), heights.end());
    const std::size_t middle = heights.size() / 2;
    return heights.size() % 2 == 1 ? heights[middle] : (heights[middle - 1] + heights[middle]) / 2;
}

std::vector<std::vector<const TableWord*>> visualLines(std::vector<const TableWord*> words) {
    std::stable_sort(words.begin(), words.end(),
                     [](const TableWord* a, const TableWord* b) { return a->box.center().y() < b->box.center().y(); });
    std::vector<std::vector<const TableWord*>> lines;
    std::vector<QRectF> lineBoxes;
    auto level = [](const QRectF& lineBox, const TableWord* word) {
        const double overlap =
            std::min(lineBox.bottom(), word->box.bottom()) - std::max(lineBox.top(), word->box.top());
        return overlap >= 0.5 * std::min(lineBox.height(), word->box.height());
    };
    // A word over or under one of the line is on another line: a cell wrapped onto two
    // lines beside a cell centred between them would chain both lines into one otherwise.
    auto stacked = [](const std::vector<const TableWord*>& line, const TableWord* word) {
        return std::any_of(line.begin(), line.end(), [&](const TableWord* other) {
            const double overlap = std::min(other->box.right(), word->box.right()) -
                                   std::max(other->box.left(), word->box.left());
            return overlap > 0.25 * std::min(other->box.width(), word->box.width());
        });
    };
    for (const TableWord* word : words) {
        std::size_t joined = lines.size();
        if (!lines.empty() && level(lineBoxes.back(), word)) {
            for (std::size_t k = lines.size(); k-- > 0 && joined == lines.size();)
                if (level(lineBoxes[k], word) && !stacked(lines[k], word))
                    joined = k;
        }
        if (joined == lines.size()) {
            lines.push_back({word});
            lineBoxes.push_back(word->box);
            continue;
        }
        lines[joined].push_back(word);
        lineBoxes[joined] = lineBoxes[joined].united(word->box);
    }
    for (auto& line : lines)
        std::stable_sort(line.begin(), line.end(),
                         [](const TableWord* a, const TableWord* b) { return a->box.left() < b->box.left(); });
    return lines;
}

QString transcriptOf(const std::vector<const TableWord*>& words) {
    QStringList lines;
    for (const auto& line : visualLines(words)) {
        QStringList texts;
        for (const TableWord* word : line)
            texts.append(word->text);
        lines.append(texts.join(QLatin1Char(' ')));
    }
    return lines.join(QLatin1Char('\n'));
}

QRectF unitedBox(const std::vector<const TableWord*>& words) {
    QRectF box;
    for (const TableWord* word : words)
        box = box.isNull() ? word->box : box.united(word->box);
    return box;
}

DocumentCell makeCell(IndexRange rows, IndexRange columns, const std::vector<const TableWord*>& words,
                      const QRectF& emptyBox, const QSizeF& pictureSize) {
    const QRectF box = words.empty() ? emptyBox : unitedBox(words);
    return DocumentCell{rows, columns, DocumentCellContent{transcriptOf(words), normalizedBox(box, pictureSize)}};
}

}  // namespace detail

namespace {

// What a thin line looks like to a letter recognizer.
bool isRuleMark(QChar c) {
    static const QString marks = QStringLiteral("|!'\"`\u2018\u2019\u201A\u201C\u201D\u201E");
    return marks.contains(c);
}

bool touchesRule(const QRectF& box, const Rulings& rulings) {
    for (const Rule& rule : rulings.horizontal) {
        const double half = rule.thickness / 2.0 + 2;
        if (box.intersects(QRectF(QPointF(rule.start, rule.position - half), QPointF(rule.end, rule.position + half))))
            return true;
    }
    for (const Rule& rule : rulings.vertical) {
        const double half = rule.thickness / 2.0 + 2;
        if (box.intersects(QRectF(QPointF(rule.position - half, rule.start), QPointF(rule.position + half, rule.end))))
            return true;
    }
    return false;
}

}  // namespace

std::vector<DocumentTable> findTables(const std::vector<TableWord>& words, const Rulings& rulings,
                                      const QSizeF& pictureSize) {
    // A rule next to a word may be read as a bar or a quote mark stuck to it, or as a word
    // of such marks of its own.
    std::vector<TableWord> cleaned;
    cleaned.reserve(words.size());
    for (const TableWord& word : words) {
        QString text = word.text.trimmed();
        const bool onRule = touchesRule(word.box, rulings);
        auto stray = [&](QChar c) { return c == u'|' || (onRule && isRuleMark(c)); };
        while (!text.isEmpty() && stray(text.front()))
            text.remove(0, 1);
        while (!text.isEmpty() && stray(text.back()))
            text.chop(1);
        text = text.trimmed();
        const bool marksOnly = std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (!text.isEmpty() && !(onRule && marksOnly) && word.box.width() > 0 && word.box.height() > 0)
            cleaned.push_back(TableWord{text, word.box});
    }
    std::vector<const TableWord*> usable;
    for (const TableWord& word : cleaned)
        usable.push_back(&word);
    std::vector<const TableWord*> remaining;
    std::vector<DocumentTable> tables = detail::ruledTables(usable, rulings, pictureSize, remaining);
    std::vector<DocumentTable> aligned = detail::alignedTables(remaining, pictureSize);
    tables.insert(tables.end(), aligned.begin(), aligned.end());
    // Top to bottom by the first cell's box (normalized boxes grow upwards).
    auto top = [](const DocumentTable& table) {
        return table.rows.empty() || table.rows.front().empty() ? 0.0 : -table.rows.front().front().content.boundingBox.bottom();
    };
    std::stable_sort(tables.begin(), tables.end(),
                     [&](const DocumentTable& a, const DocumentTable& b) { return top(a) < top(b); });
    return tables;
}

}  // namespace Platform::Recognition::TableFinder
