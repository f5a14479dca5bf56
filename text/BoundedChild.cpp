#include "text/BoundedChild.h"

#include <QFile>
#include <QThread>
#include <QThreadPool>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <future>
#include <mutex>
#include <set>

namespace ZantrelText::BoundedChild {

namespace {

using Clock = std::chrono::steady_clock;

// The children running now, so that closing can end them. A child leaves the list before
// it is reaped: its number is never reused while it is here.
struct Running {
    std::mutex lock;
    std::set<pid_t> children;
    bool closing = false;
};

Running& running() {
    static Running state;
    return state;
}

// A child of a process that is closing is killed at once.
void enlist(pid_t child) {
    Running& state = running();
    const std::lock_guard hold(state.lock);
    state.children.insert(child);
    if (state.closing)
        ::kill(child, SIGKILL);
}

void dismiss(pid_t child) {
    Running& state = running();
    const std::lock_guard hold(state.lock);
    state.children.erase(child);
}

// What the process has mapped: the child's cap counts from there, since what it shares
// with the parent counts against it too.
std::int64_t mappedNow() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').front().toLongLong() * 1024;
    return 0;
}

void capChild(std::int64_t addressSpace, std::chrono::milliseconds time) {
    // Decoders print their complaints ("libpng error: …") straight to standard error,
    // where they would reach the user's terminal with no file named; the parent says
    // what went wrong instead.
    if (const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC); quiet >= 0) {
        ::dup2(quiet, STDERR_FILENO);
        ::close(quiet);
    }
    // Killed with the thread that forked it, so that no child outlives an interrupted caller.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // A backstop for the wall-time kill: a child that somehow outlives it stops itself.
    const auto seconds = static_cast<rlim_t>(std::chrono::ceil<std::chrono::seconds>(time).count() + 1);
    const rlimit cpu{seconds, seconds + 1};
    ::setrlimit(RLIMIT_CPU, &cpu);
    // The sanitizers reserve their own address space and fail under a cap.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    const rlimit cap{static_cast<rlim_t>(addressSpace), static_cast<rlim_t>(addressSpace)};
    ::setrlimit(RLIMIT_AS, &cap);
#else
    (void)addressSpace;
#endif
}

struct Outcome {
    Ending ending = Ending::failed;
    // Asleep through its whole time without a word: stuck on a lock that another thread
    // of the parent held when it forked, not working on its input.
    bool stalled = false;
};

Outcome runHere(const Limits& limits, const std::function<void(const Sender&)>& work,
                const std::function<bool(Receiver&)>& receive) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    const std::int64_t addressSpace = mappedNow() + limits.memoryBytes;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return {};
    }
    if (pid == 0) {
        ::close(ends[0]);
        capChild(addressSpace, limits.time);
        work(Sender(ends[1]));
        ::_exit(0);
    }
    ::close(ends[1]);
    enlist(pid);
    Receiver in(ends[0], pid, Clock::now() + limits.time);
    const bool complete = receive(in);
    ::close(ends[0]);
    dismiss(pid);
    // A child that said everything exits at once; one that did not is stopped.
    if (!complete)
        ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (complete)
        return {Ending::answered};
    if (in.timedOut() || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
        const auto cpu = std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
        return {Ending::tooLong, in.timedOut() && !in.heard() && cpu < limits.time / 20};
    }
    return {};
}

// A child stuck from its start is started once more: whatever held the lock has let go.
Ending runTwiceIfStalled(const Limits& limits, const std::function<void(const Sender&)>& work,
                         const std::function<bool(Receiver&)>& receive) {
    const Outcome first = runHere(limits, work, receive);
    return first.stalled ? runHere(limits, work, receive).ending : first.ending;
}

}  // namespace

void Sender::bytes(const void* data, std::size_t size) const {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, at, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            ::_exit(3);  // the parent is gone
        at += written;
        size -= static_cast<std::size_t>(written);
    }
}

void Sender::picture(const QImage& picture) const {
    const bool alpha = picture.hasAlphaChannel();
    const QImage::Format wire = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    number(alpha ? 1 : 0);
    number(picture.width());
    number(picture.height());
    const auto rowBytes = static_cast<std::size_t>(picture.width()) * 4;
    for (int y = 0; y < picture.height(); ++y) {
        if (picture.format() == wire) {
            bytes(picture.constScanLine(y), rowBytes);
        } else {
            const QImage row = picture.copy(0, y, picture.width(), 1).convertToFormat(wire);
            bytes(row.constScanLine(0), rowBytes);
        }
    }
}

bool Receiver::bytes(void* data, std::size_t size) {
    char* at = static_cast<char*>(data);
    while (size > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        if (left.count() <= 0) {
            timedOut_ = true;
            return false;
        }
        pollfd wanted{fd_, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, static_cast<int>(std::min<long long>(left.count(), 200)));
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready == 0 && childGone())
            return false;
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(fd_, at, size);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        // The end of the pipe, or a child that died: another child forked meanwhile may
        // hold the pipe open, so the child's state decides, not the pipe alone.
        if (got <= 0)
            return false;
        heard_ = true;
        at += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::optional<QImage> Receiver::picture(std::int64_t maxPixels) {
    std::int32_t alpha = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (!number(alpha) || !number(width) || !number(height) || width <= 0 || height <= 0 ||
        std::int64_t{width} * height > maxPixels)
        return std::nullopt;
    QImage picture(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull())
        return std::nullopt;
    for (int y = 0; y < height; ++y)
        if (!bytes(picture.scanLine(y), static_cast<std::size_t>(width) * 4))
            return std::nullopt;
    return picture;
}

// Looked at without reaping it: the caller waits for it afterwards.
bool Receiver::childGone() const {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(child_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child_;
}

void setClosing(bool closing) {
    Running& state = running();
    const std::lock_guard hold(state.lock);
    state.closing = closing;
    if (closing)
        for (const pid_t child : state.children)
            ::kill(child, SIGKILL);
}

Ending run(const Limits& limits, const std::function<void(const Sender&)>& work,
           const std::function<bool(Receiver&)>& receive) {
    // Qt's image code hands large conversions to the global thread pool, unless it runs
    // on one of the pool's threads; in the child, a pool thread that idled in the parent
    // does not exist, and the work would wait for it forever. So the fork happens on a
    // pool thread.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool == nullptr || pool->contains(QThread::currentThread()))
        return runTwiceIfStalled(limits, work, receive);
    std::promise<Ending> ended;
    std::future<Ending> ending = ended.get_future();
    pool->start([&] { ended.set_value(runTwiceIfStalled(limits, work, receive)); });
    return ending.get();
}

}  // namespace ZantrelText::BoundedChild
