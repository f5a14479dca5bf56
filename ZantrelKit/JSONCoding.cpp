#include "ZantrelKit/JSONCoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QVariant>

#include <cmath>

namespace ZantrelKit::JSONCoding {
namespace {

QString typeName(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("a Boolean");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

}  // namespace

QByteArray encode(const QJsonValue& value) {
    // A document holds only objects and arrays: wrap the value in a one-element array and
    // take the brackets off again, so that bare values code the same way.
    QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

QJsonValue decode(const QByteArray& text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson("[" + text + "]", &error);
    if (error.error != QJsonParseError::NoError)
        throw JSONDecodingError(QStringLiteral("The data is not valid JSON: %1.").arg(error.errorString()));
    // "1,2" or "1],[2" parse as more than one element once wrapped.
    const QJsonArray values = document.array();
    if (values.size() != 1)
        throw JSONDecodingError(QStringLiteral("The data is not one JSON value."));
    return values.first();
}

QJsonObject object(const QJsonValue& value) {
    if (!value.isObject())
        throw JSONDecodingError(QStringLiteral("Expected an object but found %1.").arg(typeName(value)));
    return value.toObject();
}

QJsonValue required(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        throw JSONDecodingError(QStringLiteral("No value for the key \"%1\".").arg(key));
    if (value.isNull())
        throw JSONDecodingError(QStringLiteral("The key \"%1\" holds null.").arg(key));
    return value;
}

std::int64_t integer(const QJsonValue& value, std::int64_t minimum, std::int64_t maximum,
                     const QString& what) {
    if (!value.isDouble())
        throw JSONDecodingError(
            QStringLiteral("Expected a number for %1 but found %2.").arg(what, typeName(value)));
    const auto outOfRange = [&](const QString& shown) {
        return JSONDecodingError(QStringLiteral("The number %1 for %2 is not a whole number from %3 to %4.")
                                     .arg(shown, what, QString::number(minimum), QString::number(maximum)));
    };
    // A number written as an integer keeps its exact 64-bit value; one written with a
    // fraction or an exponent arrives as a double and must still be whole.
    const QVariant stored = value.toVariant();
    std::int64_t whole = 0;
    if (stored.typeId() == QMetaType::LongLong) {
        whole = stored.toLongLong();
    } else {
        const double number = value.toDouble();
        constexpr double limit = 9223372036854775808.0;  // 2^63
        if (!std::isfinite(number) || std::trunc(number) != number || number < -limit || number >= limit)
            throw outOfRange(QString::number(number, 'g', 17));
        whole = static_cast<std::int64_t>(number);
    }
    if (whole < minimum || whole > maximum)
        throw outOfRange(QString::number(whole));
    return whole;
}

QJsonValue date(const QDateTime& moment) { return moment.toUTC().toString(Qt::ISODate); }

QDateTime date(const QJsonValue& value, const QString& what) {
    if (!value.isString())
        throw JSONDecodingError(QStringLiteral("Expected a date string for %1 but found %2.").arg(what, typeName(value)));
    const QString text = value.toString();
    // An internet date-time: whole seconds and always a zone.
    static const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}(Z|[+-]\\d{2}:\\d{2})$"));
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!shape.match(text).hasMatch() || !moment.isValid())
        throw JSONDecodingError(QStringLiteral("\"%1\" for %2 is not an ISO 8601 date.").arg(text, what));
    return moment;
}

}  // namespace ZantrelKit::JSONCoding
