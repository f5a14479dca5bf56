#include "ZantrelKit/documents/PageLabels.h"

#include "ZantrelKit/JSONCoding.h"
#include "ZantrelKit/documents/OrderedJSON.h"

#include <QHashFunctions>

#include <algorithm>
#include <limits>
#include <utility>

namespace ZantrelKit {
namespace {

using Style = PageLabelRange::Style;

constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();

// A letter label repeats its letter (n - 1) / 26 + 1 times; past this many repeats the
// text would only exhaust memory, so such numbers are written in decimal, as Roman
// numerals past 3999 are.
constexpr std::int64_t mostLetterRepeats = 1000;

QString roman(std::int64_t number) {
    static constexpr std::pair<int, const char*> pairs[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    if (number < 1 || number > 3999)
        return QString::number(number);
    QString text;
    for (const auto& [value, symbol] : pairs) {
        while (number >= value) {
            text += QLatin1String(symbol);
            number -= value;
        }
    }
    return text;
}

QString letters(std::int64_t number) {
    if (number < 1)
        return {};
    const std::int64_t repeats = (number - 1) / 26 + 1;
    if (repeats > mostLetterRepeats)
        return QString::number(number);
    return QString(qsizetype(repeats), QChar(u'A' + int((number - 1) % 26)));
}

}  // namespace

QString rawValue(Style style) {
    switch (style) {
    case Style::numbers: return QStringLiteral("numbers");
    case Style::romanUpper: return QStringLiteral("romanUpper");
    case Style::romanLower: return QStringLiteral("romanLower");
    case Style::lettersUpper: return QStringLiteral("lettersUpper");
    case Style::lettersLower: return QStringLiteral("lettersLower");
    case Style::none: return QStringLiteral("none");
    }
    return {};
}

std::optional<Style> pageLabelStyleFromRawValue(QStringView text) {
    for (const Style style : allPageLabelStyles)
        if (rawValue(style) == text)
            return style;
    return std::nullopt;
}

std::optional<QString> pdfLetter(Style style) {
    switch (style) {
    case Style::numbers: return QStringLiteral("D");
    case Style::romanUpper: return QStringLiteral("R");
    case Style::romanLower: return QStringLiteral("r");
    case Style::lettersUpper: return QStringLiteral("A");
    case Style::lettersLower: return QStringLiteral("a");
    case Style::none: return std::nullopt;
    }
    return std::nullopt;
}

QByteArray PageLabelRange::jsonText() const {
    return OrderedJSON::object({{QStringLiteral("startPage"), QJsonValue(qint64(startPage))},
                                {QStringLiteral("style"), QJsonValue(rawValue(style))},
                                {QStringLiteral("prefix"), QJsonValue(prefix)},
                                {QStringLiteral("firstNumber"), QJsonValue(qint64(firstNumber))}});
}

QJsonValue PageLabelRange::toJson() const { return JSONCoding::decode(jsonText()); }

PageLabelRange PageLabelRange::fromJson(const QJsonValue& json) {
    const QJsonObject object = JSONCoding::object(json);
    PageLabelRange range;
    range.startPage = JSONCoding::integer(JSONCoding::required(object, QStringLiteral("startPage")), int64Min,
                                          int64Max, QStringLiteral("startPage"));
    const QJsonValue style = JSONCoding::required(object, QStringLiteral("style"));
    const std::optional<Style> known = pageLabelStyleFromRawValue(style.toString());
    if (!style.isString() || !known)
        throw JSONDecodingError(QStringLiteral("\"style\" is not a page label style."));
    range.style = *known;
    const QJsonValue prefix = JSONCoding::required(object, QStringLiteral("prefix"));
    if (!prefix.isString())
        throw JSONDecodingError(QStringLiteral("Expected a string for \"prefix\"."));
    range.prefix = prefix.toString();
    range.firstNumber = JSONCoding::integer(JSONCoding::required(object, QStringLiteral("firstNumber")), int64Min,
                                            int64Max, QStringLiteral("firstNumber"));
    return range;
}

std::size_t qHash(const PageLabelRange& range, std::size_t seed) noexcept {
    return qHashMulti(seed, qint64(range.startPage), int(range.style), range.prefix, qint64(range.firstNumber));
}

namespace PageLabels {

std::optional<QString> label(std::int64_t page, const std::vector<PageLabelRange>& ranges) {
    const PageLabelRange* owner = nullptr;
    for (const PageLabelRange& range : ranges)
        if (range.startPage <= page && (!owner || range.startPage > owner->startPage))
            owner = &range;
    if (!owner)
        return std::nullopt;
    // Numbers at the ends of the 64-bit range have no neighbour to count on to.
    std::int64_t offset = 0;
    std::int64_t number = 0;
    if (__builtin_sub_overflow(page, owner->startPage, &offset) ||
        __builtin_add_overflow(owner->firstNumber, offset, &number))
        return std::nullopt;
    return owner->prefix + numberText(number, owner->style);
}

QString numberText(std::int64_t number, Style style) {
    switch (style) {
    case Style::numbers: return QString::number(number);
    case Style::romanUpper: return roman(number);
    case Style::romanLower: return roman(number).toLower();
    case Style::lettersUpper: return letters(number);
    case Style::lettersLower: return letters(number).toLower();
    case Style::none: return {};
    }
    return {};
}

std::vector<PageLabelRange> normalized(const std::vector<PageLabelRange>& ranges, std::int64_t pageCount) {
    std::vector<PageLabelRange> kept;
    for (const PageLabelRange& range : ranges) {
        const bool inside = range.startPage >= 0 && (pageCount > 0 ? range.startPage < pageCount : range.startPage == 0);
        if (!inside)
            continue;
        const auto same = std::find_if(kept.begin(), kept.end(), [&](const PageLabelRange& earlier) {
            return earlier.startPage == range.startPage;
        });
        if (same != kept.end())
            *same = range;
        else
            kept.push_back(range);
    }
    if (std::none_of(kept.begin(), kept.end(), [](const PageLabelRange& range) { return range.startPage == 0; }))
        kept.push_back({0, Style::numbers, QString(), 1});
    std::stable_sort(kept.begin(), kept.end(), [](const PageLabelRange& a, const PageLabelRange& b) {
        return a.startPage < b.startPage;
    });
    return kept;
}

}  // namespace PageLabels

}  // namespace ZantrelKit
