#pragma once

// A rename that never replaces what is already at the target.

#include <QString>

namespace ZantrelKit {

// Moves `from` to `to` unless something (a dangling link included) is there already.
// 0 on success, else the errno of the failure: EEXIST for a taken target, EXDEV across
// file systems.
int renameWithoutReplacing(const QString& from, const QString& to);

}  // namespace ZantrelKit
