#pragma once

// Small values the PDF tools share: a job's compression level, how a document is split,
// page-range texts such as "1-3, 5, 8-" read into ranges of page numbers, and one
// comparison.

#include <QJsonValue>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <variant>
#include <vector>

namespace ZantrelKit {

enum class PDFCompression { balanced, smallest };
inline constexpr std::array<PDFCompression, 2> allPDFCompressions{PDFCompression::balanced,
                                                                  PDFCompression::smallest};
QString rawValue(PDFCompression compression);
// Exact, case-sensitive: "Smallest" gives nothing.
std::optional<PDFCompression> pdfCompressionFromRawValue(QStringView rawValue);
// Coded as the bare raw value; decoding throws JSONDecodingError for any other string or type.
QJsonValue toJson(PDFCompression compression);
PDFCompression pdfCompressionFromJson(const QJsonValue& json);

enum class SplitMode { everyPage, ranges };
inline constexpr std::array<SplitMode, 2> allSplitModes{SplitMode::everyPage, SplitMode::ranges};
QString rawValue(SplitMode mode);
std::optional<SplitMode> splitModeFromRawValue(QStringView rawValue);
QJsonValue toJson(SplitMode mode);
SplitMode splitModeFromJson(const QJsonValue& json);

// Page numbers counted from 1, both ends included, first <= last.
struct PageRange {
    std::int64_t first = 1;
    std::int64_t last = 1;

    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// Why a page-range text cannot be read. It carries no words: callers word it.
struct PageRangeError {
    // A piece that is no number, no "a-b", no "a-"; the whole trimmed piece.
    struct Unreadable {
        QString piece;
        friend bool operator==(const Unreadable&, const Unreadable&) = default;
    };
    // A number below 1 or above the page count.
    struct OutOfRange {
        std::int64_t page = 0;
        std::int64_t count = 0;
        friend bool operator==(const OutOfRange&, const OutOfRange&) = default;
    };
    // A range whose last number is smaller than its first, as written.
    struct Backwards {
        std::int64_t first = 0;
        std::int64_t last = 0;
        friend bool operator==(const Backwards&, const Backwards&) = default;
    };
    // No piece at all.
    struct Empty {
        friend bool operator==(const Empty&, const Empty&) = default;
    };

    std::variant<Unreadable, OutOfRange, Backwards, Empty> reason;

    static PageRangeError unreadable(QString piece) { return {Unreadable{std::move(piece)}}; }
    static PageRangeError outOfRange(std::int64_t page, std::int64_t count) { return {OutOfRange{page, count}}; }
    static PageRangeError backwards(std::int64_t first, std::int64_t last) { return {Backwards{first, last}}; }
    static PageRangeError empty() { return {Empty{}}; }

    friend bool operator==(const PageRangeError&, const PageRangeError&) = default;
};

namespace PageRanges {

// The ranges the text names, in the order written (not sorted, merged or made unique);
// the first error found, never a partial list.
std::expected<std::vector<PageRange>, PageRangeError> parse(QStringView text, std::int64_t pageCount);

// 1...1, 2...2, …, pageCount...pageCount; empty for a count below 1.
std::vector<PageRange> eachPage(std::int64_t pageCount);

// "7" for one page, "3-5" otherwise: the form `parse` reads back.
QString text(const PageRange& range);

}  // namespace PageRanges

namespace Verdict {

// True exactly when `second` is strictly less than `first`.
constexpr bool decide(std::int64_t first, std::int64_t second) { return second < first; }

}  // namespace Verdict

}  // namespace ZantrelKit
