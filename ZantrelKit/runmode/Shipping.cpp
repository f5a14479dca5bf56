// The app's run modes: never a test host. An automation build (the default for
// developers and CI) recognizes a scripted run once, from the start-up environment and
// arguments; a packaged build has it off.

#include "ZantrelKit/RunModes.h"

namespace ZantrelKit {

bool TestHost::isActive() noexcept { return false; }

bool ScriptedRun::isActive() noexcept {
#ifdef GLYPHNAB_AUTOMATION
    static const bool active = detect(processEnvironment(), processArguments(), false);
    return active;
#else
    return false;
#endif
}

}  // namespace ZantrelKit
