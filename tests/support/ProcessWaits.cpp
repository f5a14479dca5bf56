#include "tests/support/ProcessWaits.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdint>

namespace TestSupport {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList tasks(long pid) {
    return QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// x86-64 system call numbers of the blocking calls, and whether the arguments in
// /proc/…/syscall carry a timeout.
void classify(ThreadWait& wait, const QList<QByteArray>& fields) {
    if (fields.isEmpty() || fields.front() == "running") {
        wait.call = QStringLiteral("running");
        wait.timed = true;
        return;
    }
    const long number = fields.front().toLong();
    std::uint64_t args[6] = {};
    for (int i = 0; i < 6 && i + 1 < fields.size(); ++i)
        args[i] = fields[i + 1].toULongLong(nullptr, 16);
    const auto asInt = [](std::uint64_t value) { return static_cast<int>(static_cast<std::int32_t>(value)); };
    switch (number) {
    case 7:  // poll(fds, count, timeout)
        wait.call = QStringLiteral("poll");
        wait.timeoutMs = asInt(args[2]);
        wait.timed = *wait.timeoutMs >= 0;
        return;
    case 232:  // epoll_wait(fd, events, count, timeout)
    case 281:  // epoll_pwait
        wait.call = QStringLiteral("epoll_wait");
        wait.timeoutMs = asInt(args[3]);
        wait.timed = *wait.timeoutMs >= 0;
        return;
    case 271:  // ppoll(fds, count, timespec*, …)
        wait.call = QStringLiteral("ppoll");
        wait.timed = args[2] != 0;
        return;
    case 23:   // select(n, r, w, e, timeval*)
    case 270:  // pselect6
        wait.call = QStringLiteral("select");
        wait.timed = args[4] != 0;
        return;
    case 202: {  // futex(address, op, value, timespec*, …)
        wait.call = QStringLiteral("futex");
        const std::uint64_t op = args[1] & 127;
        wait.timed = (op == 0 || op == 9) && args[3] != 0;  // WAIT, WAIT_BITSET
        return;
    }
    case 35:   // nanosleep
    case 230:  // clock_nanosleep
    case 219:  // restart_syscall: only calls with a timeout are restarted this way
        wait.call = QStringLiteral("sleep");
        wait.timed = true;
        return;
    default:
        wait.call = QStringLiteral("call %1").arg(number);
        return;
    }
}

}  // namespace

long procField(const QByteArray& text, const QByteArray& name) {
    const qsizetype at = ("\n" + text).indexOf("\n" + name + ":");
    if (at < 0)
        return 0;
    return QByteArray(text.mid(at + name.size() + 1, 32)).trimmed().split(' ').front().toLong();
}

long procField(long pid, const QString& file, const QByteArray& name) {
    return procField(readAll(QStringLiteral("/proc/%1/%2").arg(pid).arg(file)), name);
}

std::vector<ThreadWait> threadWaits(long pid) {
    std::vector<ThreadWait> waits;
    for (const QString& task : tasks(pid)) {
        const QString base = QStringLiteral("/proc/%1/task/%2/").arg(pid).arg(task);
        ThreadWait wait;
        wait.tid = task.toLong();
        wait.name = QString::fromLocal8Bit(readAll(base + QStringLiteral("comm")).trimmed());
        classify(wait, readAll(base + QStringLiteral("syscall")).trimmed().split(' '));
        waits.push_back(wait);
    }
    return waits;
}

std::vector<double> armedTimerFiles(long pid) {
    std::vector<double> armed;
    static const QRegularExpression value(QStringLiteral("it_value:\\s*\\((\\d+), (\\d+)\\)"));
    const QString folder = QStringLiteral("/proc/%1/fdinfo").arg(pid);
    for (const QString& fd : QDir(folder).entryList(QDir::Files)) {
        const QString info = QString::fromLatin1(readAll(folder + u'/' + fd));
        if (!info.contains(QLatin1String("clockid:")))
            continue;
        const QRegularExpressionMatch match = value.match(info);
        if (!match.hasMatch())
            continue;
        const double seconds = match.captured(1).toDouble() + match.captured(2).toDouble() / 1e9;
        if (seconds > 0)
            armed.push_back(seconds);
    }
    return armed;
}

std::map<long, long> threadSwitches(long pid) {
    std::map<long, long> switches;
    for (const QString& task : tasks(pid)) {
        const QByteArray status = readAll(QStringLiteral("/proc/%1/task/%2/status").arg(pid).arg(task));
        if (status.isEmpty())
            continue;  // ended while listed
        switches[task.toLong()] =
            procField(status, "voluntary_ctxt_switches") + procField(status, "nonvoluntary_ctxt_switches");
    }
    return switches;
}

QByteArray loadAverage() {
    const QList<QByteArray> fields = readAll(QStringLiteral("/proc/loadavg")).split(' ');
    return fields.size() >= 3 ? fields.mid(0, 3).join(' ') : QByteArray("?");
}

long wakeupsBetween(const std::map<long, long>& before, const std::map<long, long>& after) {
    long wakeups = 0;
    for (const auto& [tid, count] : after) {
        const auto earlier = before.find(tid);
        wakeups += earlier == before.end() ? count + 1 : count - earlier->second;
    }
    for (const auto& [tid, count] : before)
        wakeups += after.count(tid) ? 0 : 1;
    return wakeups;
}

}  // namespace TestSupport
