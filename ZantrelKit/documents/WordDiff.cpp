#include "ZantrelKit/documents/WordDiff.h"

#include <algorithm>

namespace ZantrelKit::WordDiff {
namespace {

bool isWhiteSpace(char32_t c) {
    return QChar::isSpace(c);  // the White_Space set: separators, tab…carriage return, U+0085
}

Change change(std::int64_t oldStart, std::int64_t oldEnd, std::int64_t newStart, std::int64_t newEnd) {
    const IndexRange old{oldStart, oldEnd};
    const IndexRange added{newStart, newEnd};
    const Change::Kind kind = old.isEmpty()     ? Change::Kind::added
                              : added.isEmpty() ? Change::Kind::removed
                                                : Change::Kind::changed;
    return {old, added, kind};
}

}  // namespace

QString rawValue(Change::Kind kind) {
    switch (kind) {
    case Change::Kind::added: return QStringLiteral("added");
    case Change::Kind::removed: return QStringLiteral("removed");
    case Change::Kind::changed: return QStringLiteral("changed");
    }
    return {};
}

std::optional<Change::Kind> changeKindFromRawValue(QStringView text) {
    for (const Change::Kind kind : {Change::Kind::added, Change::Kind::removed, Change::Kind::changed})
        if (rawValue(kind) == text)
            return kind;
    return std::nullopt;
}

QStringList words(QStringView text) {
    QStringList result;
    qsizetype start = -1;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype at = i;
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        ++i;
        if (isWhiteSpace(c)) {
            if (start >= 0)
                result.append(text.sliced(start, at - start).toString());
            start = -1;
        } else if (start < 0) {
            start = at;
        }
    }
    if (start >= 0)
        result.append(text.sliced(start).toString());
    return result;
}

std::vector<Change> changes(const QStringList& oldWords, const QStringList& newWords) {
    const std::int64_t n = oldWords.size();
    const std::int64_t m = newWords.size();
    if (n * m > mostCells) {
        if (oldWords == newWords)
            return {};
        return {Change{{0, n}, {0, m}, Change::Kind::changed}};
    }

    // table[i][j]: the longest common run of old[i...] and new[j...].
    const std::int64_t columns = m + 1;
    std::vector<std::uint32_t> table(std::size_t((n + 1) * columns), 0);
    const auto at = [&](std::int64_t i, std::int64_t j) -> std::uint32_t& {
        return table[std::size_t(i * columns + j)];
    };
    for (std::int64_t i = n - 1; i >= 0; --i)
        for (std::int64_t j = m - 1; j >= 0; --j)
            at(i, j) = oldWords[i] == newWords[j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));

    std::vector<Change> result;
    std::int64_t i = 0;
    std::int64_t j = 0;
    std::int64_t pendingOld = 0;
    std::int64_t pendingNew = 0;
    const auto flush = [&] {
        if (pendingOld < i || pendingNew < j)
            result.push_back(change(pendingOld, i, pendingNew, j));
    };
    for (;;) {
        if (i == n && j == m) {
            flush();
            break;
        }
        if (i < n && j < m && oldWords[i] == newWords[j]) {
            flush();
            ++i;
            ++j;
            pendingOld = i;
            pendingNew = j;
        } else if (j == m) {
            ++i;
        } else if (i == n) {
            ++j;
        } else if (at(i, j + 1) < at(i + 1, j)) {
            ++i;
        } else {
            ++j;  // ties skip the new word first
        }
    }
    return result;
}

}  // namespace ZantrelKit::WordDiff
