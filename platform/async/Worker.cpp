#include "platform/async/Worker.h"

namespace Platform {

QThreadPool& workerPool() {
    // The global pool sizes itself to the machine's cores.
    return *QThreadPool::globalInstance();
}

}  // namespace Platform
