#include "ZantrelKit/documents/OrderedJSON.h"

#include "ZantrelKit/JSONCoding.h"

namespace ZantrelKit::OrderedJSON {

Member::Member(QString key, const QJsonValue& value) : key(std::move(key)), text(JSONCoding::encode(value)) {}

QByteArray object(std::initializer_list<Member> members) {
    QByteArray text = "{";
    bool first = true;
    for (const Member& member : members) {
        if (!first)
            text += ',';
        first = false;
        text += JSONCoding::encode(member.key);  // quoted and escaped
        text += ':';
        text += member.text;
    }
    return text + '}';
}

}  // namespace ZantrelKit::OrderedJSON
