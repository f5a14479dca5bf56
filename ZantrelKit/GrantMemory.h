#pragma once

// Remembers that a permission was once granted, so that a later loss can be explained.

#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelKit/Permission.h"

namespace ZantrelKit::GrantMemory {

// "grant.<id>.seen".
QString key(const Permission& permission);

// Granted: stores true under the permission's key; otherwise nothing.
void remember(const Permission& permission, bool granted, DefaultsStore& defaults);

// True once when a remembered grant is gone (the memory is cleared then); granted now
// remembers the grant and answers false.
bool lost(const Permission& permission, bool granted, DefaultsStore& defaults);

}  // namespace ZantrelKit::GrantMemory
