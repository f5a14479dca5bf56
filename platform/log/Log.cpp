#include "platform/log/Log.h"

#include <syslog.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace Platform {
namespace {

std::mutex subsystemMutex;
QString& subsystemStorage() {
    static QString subsystem = QStringLiteral("org.glyphnab.Glyphnab");
    return subsystem;
}

std::atomic<LogLevel> minimumLevel{LogLevel::info};

int syslogPriority(LogLevel level) {
    switch (level) {
    case LogLevel::debug: return LOG_DEBUG;
    case LogLevel::info: return LOG_INFO;
    case LogLevel::notice: return LOG_NOTICE;
    case LogLevel::error: return LOG_ERR;
    case LogLevel::fault: return LOG_CRIT;
    }
    return LOG_INFO;
}

void writeToSystemLog(const LogEntry& entry) {
    static std::once_flag opened;
    std::call_once(opened, [] { openlog("glyphnab", LOG_PID, LOG_USER); });
    const QByteArray line =
        QStringLiteral("[%1:%2] %3").arg(entry.subsystem, entry.category, entry.message).toUtf8();
    syslog(syslogPriority(entry.level), "%s", line.constData());
}

// Length of a conversion after '%' (and after an optional {…} flag), or 0 when none.
qsizetype conversionLength(QStringView rest) {
    static const char* const conversions[] = {"lld", "llu", "ld", "lu", "zu", "s", "@", "d",
                                              "i",   "u",   "f",  "g",  "x"};
    for (const char* conversion : conversions) {
        const QLatin1StringView text(conversion);
        if (rest.startsWith(text))
            return text.size();
    }
    return 0;
}

}  // namespace

QString logLevelName(LogLevel level) {
    switch (level) {
    case LogLevel::debug: return QStringLiteral("debug");
    case LogLevel::info: return QStringLiteral("info");
    case LogLevel::notice: return QStringLiteral("notice");
    case LogLevel::error: return QStringLiteral("error");
    case LogLevel::fault: return QStringLiteral("fault");
    }
    return QStringLiteral("info");
}

LogStore::LogStore(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

LogStore& LogStore::shared() {
    static LogStore store;
    return store;
}

void LogStore::append(LogEntry entry) {
    const std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
    while (entries_.size() > capacity_)
        entries_.pop_front();
}

std::vector<LogEntry> LogStore::entries() const {
    const std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

std::vector<LogEntry> LogStore::entries(const QString& subsystem) const {
    const std::lock_guard lock(mutex_);
    std::vector<LogEntry> result;
    for (const LogEntry& entry : entries_)
        if (entry.subsystem == subsystem)
            result.push_back(entry);
    return result;
}

void LogStore::clear() {
    const std::lock_guard lock(mutex_);
    entries_.clear();
}

QString formatLogMessage(QStringView format, const std::vector<LogArgument>& arguments) {
    QString result;
    result.reserve(format.size());
    std::size_t next = 0;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            result.append(c);
            ++i;
            continue;
        }
        if (format[i + 1] == u'%') {
            result.append(u'%');
            i += 2;
            continue;
        }
        qsizetype at = i + 1;
        bool isPrivate = false;
        if (format[at] == u'{') {
            const qsizetype close = format.indexOf(u'}', at);
            if (close < 0) {
                result.append(c);
                ++i;
                continue;
            }
            isPrivate = format.sliced(at + 1, close - at - 1) == u"private";
            at = close + 1;
        }
        const qsizetype length = conversionLength(format.sliced(at));
        if (length == 0) {
            result.append(c);
            ++i;
            continue;
        }
        if (isPrivate)
            result.append(u"<private>");
        else if (next < arguments.size())
            result.append(arguments[next].text);
        else
            result.append(u"(null)");
        ++next;
        i = at + length;
    }
    return result;
}

void setDefaultLogSubsystem(const QString& subsystem) {
    const std::lock_guard lock(subsystemMutex);
    subsystemStorage() = subsystem;
}

QString defaultLogSubsystem() {
    const std::lock_guard lock(subsystemMutex);
    return subsystemStorage();
}

void setMinimumLogLevel(LogLevel level) { minimumLevel = level; }

Logger::Logger(QString category) : Logger(defaultLogSubsystem(), std::move(category)) {}

Logger::Logger(QString subsystem, QString category)
    : subsystem_(std::move(subsystem)), category_(std::move(category)) {}

void Logger::write(LogLevel level, QStringView format,
                   const std::vector<LogArgument>& arguments) const {
    if (level < minimumLevel.load())
        return;
    LogEntry entry{QDateTime::currentDateTime(), subsystem_, category_, level,
                   formatLogMessage(format, arguments)};
    writeToSystemLog(entry);
    LogStore::shared().append(std::move(entry));
}

void fatal(const QString& message) {
    Logger(QStringLiteral("fatal")).fault(u"%{public}s", message);
    std::fprintf(stderr, "Fatal error: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

}  // namespace Platform
