#pragma once

// Compact JSON text whose object keys keep the order they are given in: the document
// records are written field by field, in declaration order, where QJsonObject would sort.

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <initializer_list>

namespace ZantrelKit::OrderedJSON {

// One member of an object: its key and the JSON text of its value.
struct Member {
    QString key;
    QByteArray text;

    Member(QString key, QByteArray text) : key(std::move(key)), text(std::move(text)) {}
    Member(QString key, const QJsonValue& value);
};

QByteArray object(std::initializer_list<Member> members);

}  // namespace ZantrelKit::OrderedJSON
