#include "ZantrelKit/documents/PDFJobOptions.h"

#include "ZantrelKit/JSONCoding.h"

#include <limits>

namespace ZantrelKit {
namespace {

template <class Enum, std::size_t N>
std::optional<Enum> fromRaw(const std::array<Enum, N>& all, QStringView text) {
    for (const Enum value : all)
        if (rawValue(value) == text)
            return value;
    return std::nullopt;
}

template <class Enum, std::size_t N>
Enum fromJsonString(const std::array<Enum, N>& all, const QJsonValue& json, const char* type) {
    if (!json.isString())
        throw JSONDecodingError(QStringLiteral("Expected a string for %1.").arg(QLatin1String(type)));
    if (const std::optional<Enum> value = fromRaw(all, json.toString()))
        return *value;
    throw JSONDecodingError(QStringLiteral("Cannot initialize %1 from invalid String value %2")
                                .arg(QLatin1String(type), json.toString()));
}

// Space separators and the tab; line breaks stay, so a piece holding one is unreadable.
bool isBlank(QChar c) { return c == u'\t' || c.category() == QChar::Separator_Space; }

QStringView trimmed(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start);
}

// "+"? ASCII digits, within 64 bits; nothing for anything else.
std::optional<std::int64_t> decimal(QStringView text) {
    if (text.startsWith(u'+'))
        text = text.sliced(1);
    if (text.isEmpty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::expected<std::int64_t, PageRangeError> pageNumber(QStringView part, const QString& piece,
                                                       std::int64_t pageCount) {
    const std::optional<std::int64_t> number = decimal(trimmed(part));
    if (!number)
        return std::unexpected(PageRangeError::unreadable(piece));
    if (*number < 1 || *number > pageCount)
        return std::unexpected(PageRangeError::outOfRange(*number, pageCount));
    return *number;
}

std::expected<PageRange, PageRangeError> range(const QString& piece, std::int64_t pageCount) {
    const QList<QStringView> parts = QStringView(piece).split(u'-');
    if (parts.size() == 1) {
        const auto page = pageNumber(parts[0], piece, pageCount);
        if (!page)
            return std::unexpected(page.error());
        return PageRange{*page, *page};
    }
    if (parts.size() > 2)
        return std::unexpected(PageRangeError::unreadable(piece));
    const auto first = pageNumber(parts[0], piece, pageCount);
    if (!first)
        return std::unexpected(first.error());
    std::int64_t last = pageCount;  // "5-" runs to the last page
    if (!trimmed(parts[1]).isEmpty()) {
        const auto second = pageNumber(parts[1], piece, pageCount);
        if (!second)
            return std::unexpected(second.error());
        last = *second;
    }
    if (last < *first)
        return std::unexpected(PageRangeError::backwards(*first, last));
    return PageRange{*first, last};
}

}  // namespace

QString rawValue(PDFCompression compression) {
    switch (compression) {
    case PDFCompression::balanced: return QStringLiteral("balanced");
    case PDFCompression::smallest: return QStringLiteral("smallest");
    }
    return {};
}

std::optional<PDFCompression> pdfCompressionFromRawValue(QStringView text) {
    return fromRaw(allPDFCompressions, text);
}

QJsonValue toJson(PDFCompression compression) { return rawValue(compression); }

PDFCompression pdfCompressionFromJson(const QJsonValue& json) {
    return fromJsonString(allPDFCompressions, json, "PDFCompression");
}

QString rawValue(SplitMode mode) {
    switch (mode) {
    case SplitMode::everyPage: return QStringLiteral("everyPage");
    case SplitMode::ranges: return QStringLiteral("ranges");
    }
    return {};
}

std::optional<SplitMode> splitModeFromRawValue(QStringView text) { return fromRaw(allSplitModes, text); }

QJsonValue toJson(SplitMode mode) { return rawValue(mode); }

SplitMode splitModeFromJson(const QJsonValue& json) { return fromJsonString(allSplitModes, json, "SplitMode"); }

namespace PageRanges {

std::expected<std::vector<PageRange>, PageRangeError> parse(QStringView text, std::int64_t pageCount) {
    QString dashed = text.toString();
    dashed.replace(QChar(0x2013), u'-').replace(QChar(0x2014), u'-');

    QStringList pieces;
    for (const QStringView stretch : QStringView(dashed).split(u',', Qt::SkipEmptyParts)) {
        const QStringView piece = trimmed(stretch);
        if (!piece.isEmpty())
            pieces.append(piece.toString());
    }
    if (pieces.isEmpty())
        return std::unexpected(PageRangeError::empty());

    std::vector<PageRange> ranges;
    ranges.reserve(std::size_t(pieces.size()));
    for (const QString& piece : pieces) {
        const auto read = range(piece, pageCount);
        if (!read)
            return std::unexpected(read.error());
        ranges.push_back(*read);
    }
    return ranges;
}

std::vector<PageRange> eachPage(std::int64_t pageCount) {
    std::vector<PageRange> ranges;
    for (std::int64_t page = 1; page <= pageCount; ++page)
        ranges.push_back({page, page});
    return ranges;
}

QString text(const PageRange& range) {
    if (range.first == range.last)
        return QString::number(range.first);
    return QString::number(range.first) + u'-' + QString::number(range.last);
}

}  // namespace PageRanges

}  // namespace ZantrelKit
