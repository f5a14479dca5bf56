#pragma once

// Compares two texts word by word (exact comparison, no folding) and reports the stretches
// that differ. Pure.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace ZantrelKit::WordDiff {

// Word indices start..<end.
struct IndexRange {
    std::int64_t start = 0;
    std::int64_t end = 0;

    bool isEmpty() const { return start >= end; }
    friend bool operator==(const IndexRange&, const IndexRange&) = default;
};

struct Change {
    enum class Kind { added, removed, changed };

    IndexRange old;
    IndexRange new_;  // the new words' range ("new" is taken by the language)
    Kind kind = Kind::changed;

    friend bool operator==(const Change&, const Change&) = default;
};

QString rawValue(Change::Kind kind);
std::optional<Change::Kind> changeKindFromRawValue(QStringView rawValue);

// Above this many table cells (old words × new words) differing texts count as one
// whole change.
inline constexpr std::int64_t mostCells = 4'000'000;

// The text split at every white-space character, empty pieces dropped.
QStringList words(QStringView text);

// Every maximal run of unmatched words between matched ones (or the ends), in order.
std::vector<Change> changes(const QStringList& oldWords, const QStringList& newWords);

}  // namespace ZantrelKit::WordDiff
