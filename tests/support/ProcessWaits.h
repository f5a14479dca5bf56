#pragma once

// What a running process's threads are waiting for, read from /proc without stopping it:
// a thread blocked with a timeout, or an armed timer file, wakes it again by itself;
// a thread blocked without one sleeps until something happens.

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace TestSupport {

struct ThreadWait {
    long tid = 0;
    QString name;
    // The system call it is blocked in ("poll", "futex"…), or "running".
    QString call;
    // Blocked with a timeout, or running: it wakes without being woken.
    bool timed = false;
    // For poll and epoll waits, the timeout in milliseconds.
    std::optional<int> timeoutMs;
};

std::vector<ThreadWait> threadWaits(long pid);

// Armed timer files (timerfd): seconds until each fires next.
std::vector<double> armedTimerFiles(long pid);

// Context switches, voluntary and not, per thread. Each time a sleeping thread wakes it
// switches out again when it sleeps: the count is an upper bound on its wakeups.
std::map<long, long> threadSwitches(long pid);

// A "Name: value" field of one of a process's /proc files ("status", "smaps_rollup") as a
// number (kilobytes for sizes); 0 when the process or the field is gone.
long procField(long pid, const QString& file, const QByteArray& name);
// The same, in the text of such a file already read.
long procField(const QByteArray& text, const QByteArray& name);

// The system's load average over 1, 5 and 15 minutes, as /proc/loadavg gives it.
QByteArray loadAverage();

// The wakeups between two readings of threadSwitches: a thread that started or ended
// in between counts at least once, so threads that come and go are not missed.
long wakeupsBetween(const std::map<long, long>& before, const std::map<long, long>& after);

}  // namespace TestSupport
