#include "ZantrelKit/documents/PageMarks.h"

#include "ZantrelKit/JSONCoding.h"
#include "ZantrelKit/documents/OrderedJSON.h"
#include "ZantrelKit/documents/PDFJobOptions.h"

#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace ZantrelKit {
namespace {

using Slot = PageMark::Slot;
using Role = PageMark::Role;
using Content = PageMark::Content;

constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();

QJsonValue member(const QJsonObject& object, const char* key) {
    return JSONCoding::required(object, QLatin1String(key));
}

std::int64_t integer(const QJsonObject& object, const char* key) {
    return JSONCoding::integer(member(object, key), int64Min, int64Max, QLatin1String(key));
}

double number(const QJsonObject& object, const char* key) {
    const QJsonValue value = member(object, key);
    if (!value.isDouble())
        throw JSONDecodingError(QStringLiteral("Expected a number for \"%1\".").arg(QLatin1String(key)));
    return value.toDouble();
}

QString string(const QJsonObject& object, const char* key) {
    const QJsonValue value = member(object, key);
    if (!value.isString())
        throw JSONDecodingError(QStringLiteral("Expected a string for \"%1\".").arg(QLatin1String(key)));
    return value.toString();
}

bool boolean(const QJsonObject& object, const char* key) {
    const QJsonValue value = member(object, key);
    if (!value.isBool())
        throw JSONDecodingError(QStringLiteral("Expected a Boolean for \"%1\".").arg(QLatin1String(key)));
    return value.toBool();
}

template <class Enum, std::size_t N>
Enum rawCase(const QJsonObject& object, const char* key, const std::array<Enum, N>& all) {
    const QString text = string(object, key);
    for (const Enum value : all)
        if (rawValue(value) == text)
            return value;
    throw JSONDecodingError(
        QStringLiteral("\"%1\" is not a valid value for \"%2\".").arg(text, QLatin1String(key)));
}

constexpr const char* caseKeys[] = {"text", "bates", "lineNumbers", "picture"};

}  // namespace

QString rawValue(Slot slot) {
    switch (slot) {
    case Slot::topLeft: return QStringLiteral("topLeft");
    case Slot::topCenter: return QStringLiteral("topCenter");
    case Slot::topRight: return QStringLiteral("topRight");
    case Slot::middle: return QStringLiteral("middle");
    case Slot::bottomLeft: return QStringLiteral("bottomLeft");
    case Slot::bottomCenter: return QStringLiteral("bottomCenter");
    case Slot::bottomRight: return QStringLiteral("bottomRight");
    }
    return {};
}

std::optional<Slot> pageMarkSlotFromRawValue(QStringView text) {
    for (const Slot slot : allPageMarkSlots)
        if (rawValue(slot) == text)
            return slot;
    return std::nullopt;
}

QString rawValue(Role role) {
    switch (role) {
    case Role::header: return QStringLiteral("header");
    case Role::footer: return QStringLiteral("footer");
    case Role::watermark: return QStringLiteral("watermark");
    case Role::lineNumbers: return QStringLiteral("lineNumbers");
    case Role::bates: return QStringLiteral("bates");
    case Role::pageNumber: return QStringLiteral("pageNumber");
    }
    return {};
}

std::optional<Role> pageMarkRoleFromRawValue(QStringView text) {
    for (const Role role : allPageMarkRoles)
        if (rawValue(role) == text)
            return role;
    return std::nullopt;
}

QByteArray Content::jsonText() const {
    using OrderedJSON::object;
    struct Coder {
        QByteArray operator()(const Text& text) const {
            return object({{QStringLiteral("text"), object({{QStringLiteral("_0"), QJsonValue(text.text)}})}});
        }
        QByteArray operator()(const Bates& bates) const {
            return object({{QStringLiteral("bates"),
                            object({{QStringLiteral("prefix"), QJsonValue(bates.prefix)},
                                    {QStringLiteral("digits"), QJsonValue(qint64(bates.digits))},
                                    {QStringLiteral("start"), QJsonValue(qint64(bates.start))},
                                    {QStringLiteral("suffix"), QJsonValue(bates.suffix)}})}});
        }
        QByteArray operator()(const LineNumbers& lines) const {
            return object({{QStringLiteral("lineNumbers"),
                            object({{QStringLiteral("every"), QJsonValue(qint64(lines.every))},
                                    {QStringLiteral("restartEachPage"), QJsonValue(lines.restartEachPage)}})}});
        }
        QByteArray operator()(const Picture& picture) const {
            return object({{QStringLiteral("picture"),
                            object({{QStringLiteral("_0"), QJsonValue(QString::fromLatin1(picture.data.toBase64()))},
                                    {QStringLiteral("scale"), QJsonValue(picture.scale)}})}});
        }
    };
    return std::visit(Coder{}, value);
}

Content Content::fromJson(const QJsonValue& json) {
    const QJsonObject object = JSONCoding::object(json);
    const char* found = nullptr;
    int count = 0;
    for (const char* key : caseKeys) {
        if (object.contains(QLatin1String(key))) {
            found = key;
            ++count;
        }
    }
    if (count != 1)
        throw JSONDecodingError(QStringLiteral("Invalid number of keys found, expected one."));

    const QJsonObject values = JSONCoding::object(member(object, found));
    const std::string_view kind = found;
    if (kind == "text")
        return {Text{string(values, "_0")}};
    if (kind == "bates")
        return {Bates{string(values, "prefix"), integer(values, "digits"), integer(values, "start"),
                      string(values, "suffix")}};
    if (kind == "lineNumbers")
        return {LineNumbers{integer(values, "every"), boolean(values, "restartEachPage")}};
    const auto bytes = QByteArray::fromBase64Encoding(string(values, "_0").toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        throw JSONDecodingError(QStringLiteral("The picture's data is not Base64."));
    return {Picture{*bytes, number(values, "scale")}};
}

PageMark PageMark::pageNumber(QString text, Slot slot) {
    return PageMark(Content::text(std::move(text)), Role::pageNumber, slot);
}

PageMark PageMark::watermark(QString text) {
    PageMark mark(Content::text(std::move(text)), Role::watermark, Slot::middle);
    mark.size = 72;
    mark.color = 0x8A1C1C;
    mark.opacity = 0.18;
    mark.angle = 45;
    mark.behind = true;
    return mark;
}

QByteArray PageMark::jsonText() const {
    return OrderedJSON::object({{QStringLiteral("content"), content.jsonText()},
                                {QStringLiteral("role"), QJsonValue(rawValue(role))},
                                {QStringLiteral("slot"), QJsonValue(rawValue(slot))},
                                {QStringLiteral("size"), QJsonValue(size)},
                                {QStringLiteral("color"), QJsonValue(qint64(color))},
                                {QStringLiteral("opacity"), QJsonValue(opacity)},
                                {QStringLiteral("angle"), QJsonValue(angle)},
                                {QStringLiteral("behind"), QJsonValue(behind)},
                                {QStringLiteral("margin"), QJsonValue(margin)},
                                {QStringLiteral("pages"), QJsonValue(pages)}});
}

QJsonValue PageMark::toJson() const { return JSONCoding::decode(jsonText()); }

PageMark PageMark::fromJson(const QJsonValue& json) {
    const QJsonObject object = JSONCoding::object(json);
    PageMark mark(Content::fromJson(member(object, "content")), rawCase(object, "role", allPageMarkRoles),
                  rawCase(object, "slot", allPageMarkSlots));
    mark.size = number(object, "size");
    mark.color = std::uint32_t(JSONCoding::integer(member(object, "color"), 0,
                                                   std::numeric_limits<std::uint32_t>::max(), QStringLiteral("color")));
    mark.opacity = number(object, "opacity");
    mark.angle = number(object, "angle");
    mark.behind = boolean(object, "behind");
    mark.margin = number(object, "margin");
    mark.pages = string(object, "pages");
    return mark;
}

namespace PageMarks {

std::optional<std::vector<std::int64_t>> pageIndexes(const PageMark& mark, std::int64_t pageCount) {
    QStringView pages = mark.pages;
    while (!pages.isEmpty() && (pages.front() == u' ' || pages.front() == u'\t'))
        pages = pages.sliced(1);
    while (!pages.isEmpty() && (pages.back() == u' ' || pages.back() == u'\t'))
        pages.chop(1);

    std::vector<std::int64_t> indexes;
    if (pages.isEmpty()) {
        for (std::int64_t index = 0; index < pageCount; ++index)
            indexes.push_back(index);
        return indexes;
    }
    const auto ranges = PageRanges::parse(pages, pageCount);
    if (!ranges)
        return std::nullopt;
    for (const PageRange& range : *ranges)
        for (std::int64_t page = range.first; page <= range.last; ++page)
            indexes.push_back(page - 1);
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

QString expand(QString template_, std::int64_t pageIndex, std::int64_t pageCount, const QString& date,
               const QString& file, const std::optional<QString>& label) {
    template_.replace(QLatin1String("{page}"), label ? *label : QString::number(pageIndex + 1));
    template_.replace(QLatin1String("{pages}"), QString::number(pageCount));
    template_.replace(QLatin1String("{date}"), date);
    template_.replace(QLatin1String("{file}"), file);
    return template_;
}

QString batesNumber(const QString& prefix, std::int64_t digits, std::int64_t start, const QString& suffix,
                    std::int64_t pageIndex) {
    const QString number = QString::number(start + pageIndex);
    const std::int64_t width = std::min<std::int64_t>(digits, 12);
    const std::int64_t zeros = width - number.size();
    return prefix + QString(qsizetype(std::max<std::int64_t>(zeros, 0)), u'0') + number + suffix;
}

std::vector<NumberedLine> lineNumbers(std::int64_t count, std::int64_t every, bool restartEachPage,
                                      std::int64_t linesBefore) {
    const std::int64_t step = every > 1 ? every : 1;
    const std::int64_t base = restartEachPage ? 0 : linesBefore;
    std::vector<NumberedLine> numbered;
    for (std::int64_t line = 0; line < count; ++line) {
        const std::int64_t number = base + line + 1;
        if (number % step == 0)
            numbered.push_back({line, number});
    }
    return numbered;
}

QPointF origin(Slot slot, QSizeF size, QSizeF page, double margin) {
    const double w = size.width();
    const double h = size.height();
    const double centreX = (page.width() - w) / 2;
    const double top = page.height() - margin - h;
    const double right = page.width() - margin - w;
    switch (slot) {
    case Slot::topLeft: return {margin, top};
    case Slot::topCenter: return {centreX, top};
    case Slot::topRight: return {right, top};
    case Slot::middle: return {centreX, (page.height() - h) / 2};
    case Slot::bottomLeft: return {margin, margin};
    case Slot::bottomCenter: return {centreX, margin};
    case Slot::bottomRight: return {right, margin};
    }
    return {};
}

}  // namespace PageMarks

}  // namespace ZantrelKit
