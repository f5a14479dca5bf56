#include "Glyphnab/shell/ProcessSetup.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <sys/signalfd.h>
#include <unistd.h>

namespace Glyphnab {

void ensureSingleThreadedOpenMP(char** argv) {
    if (std::getenv("OMP_THREAD_LIMIT") != nullptr)
        return;
    setenv("OMP_THREAD_LIMIT", "1", 1);
    execv("/proc/self/exe", argv);
    // Could not start again: go on; recognition is only slower.
}

namespace {
sigset_t terminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}
}  // namespace

void blockTerminationSignals() {
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void quitOnTerminationSignals() { onTerminationSignals([] { QCoreApplication::quit(); }); }

void onTerminationSignals(std::function<void()> act) {
    const sigset_t set = terminationSignals();
    const int fd = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd < 0)
        return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd, act = std::move(act)] {
        signalfd_siginfo info{};
        while (read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        act();
    });
}

}  // namespace Glyphnab
