#pragma once

// The kit's JSON coding: a value type codes itself with `toJson()` and a static
// `fromJson(const QJsonValue&)` that throws JSONDecodingError. The text form is compact
// with object keys in sorted order; dates are ISO 8601 in UTC with whole seconds.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <concepts>
#include <cstdint>
#include <stdexcept>

namespace ZantrelKit {

// A JSON text that is not a value of the expected type: bad syntax, another shape, a
// missing key or a number out of range.
class JSONDecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit JSONDecodingError(const QString& description)
        : std::runtime_error(description.toStdString()) {}
};

template <class T>
concept JSONCodable = requires(const T& value, const QJsonValue& json) {
    { value.toJson() } -> std::convertible_to<QJsonValue>;
    { T::fromJson(json) } -> std::same_as<T>;
};

namespace JSONCoding {

// Compact UTF-8 text of any JSON value, objects with their keys sorted.
QByteArray encode(const QJsonValue& value);

// Parses one JSON value of any kind (an object, an array, or a bare number, string,
// Boolean or null); throws JSONDecodingError for anything else.
QJsonValue decode(const QByteArray& text);

// The value as an object; throws when it is of another type.
QJsonObject object(const QJsonValue& value);

// The member under the key; throws when it is missing or null.
QJsonValue required(const QJsonObject& object, const QString& key);

// A whole number within [minimum, maximum]; throws for fractions, other types and
// numbers out of range. `what` names the value in the error.
std::int64_t integer(const QJsonValue& value, std::int64_t minimum, std::int64_t maximum,
                     const QString& what);

// "2026-12-08T08:17:33Z"; decoding throws for a text that is not such a date.
QJsonValue date(const QDateTime& moment);
QDateTime date(const QJsonValue& value, const QString& what);

}  // namespace JSONCoding

}  // namespace ZantrelKit
