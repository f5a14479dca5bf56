#include "ZantrelKit/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QVariantList>
#include <QXmlStreamReader>

namespace ZantrelKit::PropertyList {
namespace {

std::optional<QVariant> readValue(QXmlStreamReader& xml);

std::optional<QVariant> readDict(QXmlStreamReader& xml) {
    QVariantMap dict;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"key")
            return std::nullopt;
        const QString key = xml.readElementText();
        if (!xml.readNextStartElement())
            return std::nullopt;
        std::optional<QVariant> value = readValue(xml);
        if (!value)
            return std::nullopt;
        dict.insert(key, *value);
    }
    return dict;
}

std::optional<QVariant> readArray(QXmlStreamReader& xml) {
    QVariantList list;
    while (xml.readNextStartElement()) {
        std::optional<QVariant> value = readValue(xml);
        if (!value)
            return std::nullopt;
        list.append(*value);
    }
    return list;
}

// Reads the element the reader stands on, leaving it at that element's end.
std::optional<QVariant> readValue(QXmlStreamReader& xml) {
    const QStringView name = xml.name();
    if (name == u"dict")
        return readDict(xml);
    if (name == u"array")
        return readArray(xml);
    if (name == u"string")
        return QVariant(xml.readElementText());
    if (name == u"integer") {
        bool ok = false;
        const qlonglong number = xml.readElementText().trimmed().toLongLong(&ok);
        return ok ? std::optional<QVariant>(QVariant(number)) : std::nullopt;
    }
    if (name == u"real") {
        bool ok = false;
        const double number = xml.readElementText().trimmed().toDouble(&ok);
        return ok ? std::optional<QVariant>(QVariant(number)) : std::nullopt;
    }
    if (name == u"true" || name == u"false") {
        const bool value = name == u"true";
        xml.skipCurrentElement();
        return QVariant(value);
    }
    if (name == u"date")
        return QVariant(QDateTime::fromString(xml.readElementText().trimmed(), Qt::ISODate));
    if (name == u"data")
        return QVariant(QByteArray::fromBase64(xml.readElementText().simplified().toLatin1()));
    return std::nullopt;
}

}  // namespace

std::optional<QVariantMap> read(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != u"plist")
        return std::nullopt;
    if (!xml.readNextStartElement() || xml.name() != u"dict")
        return std::nullopt;
    std::optional<QVariant> dict = readDict(xml);
    if (!dict || xml.hasError())
        return std::nullopt;
    return dict->toMap();
}

std::optional<QVariantMap> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read(file.readAll());
}

}  // namespace ZantrelKit::PropertyList
