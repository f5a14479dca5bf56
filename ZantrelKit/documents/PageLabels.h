#pragma once

// Printed page names of a PDF (i, ii, iii, then 1, 2, 3; or A-1, A-2): a list of ranges,
// each numbering its pages from a start page on in one style with an optional prefix.

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ZantrelKit {

struct PageLabelRange {
    enum class Style { numbers, romanUpper, romanLower, lettersUpper, lettersLower, none };

    std::int64_t startPage = 0;  // zero-based; the range runs up to the next range's start
    Style style = Style::numbers;
    QString prefix;
    std::int64_t firstNumber = 1;

    // {"startPage":…,"style":"romanLower","prefix":…,"firstNumber":…}, keys in that order;
    // every key is required when decoding, which throws JSONDecodingError.
    QByteArray jsonText() const;
    QJsonValue toJson() const;
    static PageLabelRange fromJson(const QJsonValue& json);

    friend bool operator==(const PageLabelRange&, const PageLabelRange&) = default;
};

inline constexpr std::array<PageLabelRange::Style, 6> allPageLabelStyles{
    PageLabelRange::Style::numbers,      PageLabelRange::Style::romanUpper,   PageLabelRange::Style::romanLower,
    PageLabelRange::Style::lettersUpper, PageLabelRange::Style::lettersLower, PageLabelRange::Style::none};

QString rawValue(PageLabelRange::Style style);
std::optional<PageLabelRange::Style> pageLabelStyleFromRawValue(QStringView rawValue);
// The PDF /S letter: "D", "R", "r", "A", "a"; nothing for `none`.
std::optional<QString> pdfLetter(PageLabelRange::Style style);

std::size_t qHash(const PageLabelRange& range, std::size_t seed = 0) noexcept;

namespace PageLabels {

// Prefix and number of the range with the greatest start at or before the page (the
// first of equals); nothing when no range starts there or before. The list is taken as
// it is, not normalized.
std::optional<QString> label(std::int64_t page, const std::vector<PageLabelRange>& ranges);

// Decimal; Roman for 1…3999 (decimal otherwise); letters A…Z, AA…ZZ, … for n >= 1 (empty
// below 1); empty for `none`.
QString numberText(std::int64_t number, PageLabelRange::Style style);

// Only ranges starting inside the document (page 0 alone for an empty one), the last of
// equal starts winning, a plain 1, 2, 3 range at page 0 when none starts there, sorted.
std::vector<PageLabelRange> normalized(const std::vector<PageLabelRange>& ranges, std::int64_t pageCount);

}  // namespace PageLabels

}  // namespace ZantrelKit
