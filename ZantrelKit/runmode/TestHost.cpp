// Test programs run as the test host: live system calls refuse to run there.

#include "ZantrelKit/RunModes.h"

namespace ZantrelKit {

bool TestHost::isActive() noexcept { return true; }
bool ScriptedRun::isActive() noexcept { return false; }

}  // namespace ZantrelKit
