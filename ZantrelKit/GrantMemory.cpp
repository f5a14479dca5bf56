#include "ZantrelKit/GrantMemory.h"

namespace ZantrelKit::GrantMemory {

QString key(const Permission& permission) {
    return QStringLiteral("grant.") + permission.id + QStringLiteral(".seen");
}

void remember(const Permission& permission, bool granted, DefaultsStore& defaults) {
    if (granted)
        defaults.setBool(key(permission), true);
}

bool lost(const Permission& permission, bool granted, DefaultsStore& defaults) {
    if (granted) {
        remember(permission, true, defaults);
        return false;
    }
    const QString seen = key(permission);
    if (defaults.boolValue(seen).value_or(false)) {
        defaults.remove(seen);
        return true;
    }
    return false;
}

}  // namespace ZantrelKit::GrantMemory
