#pragma once

// The app's logger: every entry goes to the system log (the journal picks it up) and to
// a bounded in-process store that the support report reads back.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <concepts>
#include <cstddef>
#include <mutex>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

enum class LogLevel { debug, info, notice, error, fault };

QString logLevelName(LogLevel level);

struct LogEntry {
    QDateTime time;
    QString subsystem;
    QString category;
    LogLevel level = LogLevel::info;
    QString message;

    friend bool operator==(const LogEntry&, const LogEntry&) = default;
};

// The newest entries of this process, oldest first.
class LogStore {
public:
    static constexpr std::size_t defaultCapacity = 5000;

    explicit LogStore(std::size_t capacity = defaultCapacity);

    static LogStore& shared();

    void append(LogEntry entry);
    std::vector<LogEntry> entries() const;
    std::vector<LogEntry> entries(const QString& subsystem) const;
    void clear();
    std::size_t capacity() const { return capacity_; }

private:
    mutable std::mutex mutex_;
    std::deque<LogEntry> entries_;
    std::size_t capacity_;
};

// One argument of a log message, already turned into text.
struct LogArgument {
    QString text;

    LogArgument(const QString& value) : text(value) {}
    LogArgument(QStringView value) : text(value.toString()) {}
    LogArgument(const char* value) : text(QString::fromUtf8(value)) {}
    LogArgument(const std::string& value) : text(QString::fromStdString(value)) {}
    LogArgument(std::string_view value)
        : text(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))) {}
    LogArgument(const QByteArray& value) : text(QString::fromUtf8(value)) {}
    LogArgument(bool value) : text(value ? QStringLiteral("true") : QStringLiteral("false")) {}
    LogArgument(double value) : text(QString::number(value)) {}
    template <std::integral T>
    LogArgument(T value) : text(QString::number(value)) {}
};

// Fills a message in the system log's style: "%{public}s", "%{public}@", "%s", "%@",
// "%d", "%ld", "%lld", "%u", "%lu", "%zu", "%f", "%g" take the next argument in order;
// "%{private}…" shows as "<private>"; "%%" is a percent sign. Missing arguments show as
// "(null)", surplus ones are dropped.
QString formatLogMessage(QStringView format, const std::vector<LogArgument>& arguments);

// The subsystem that loggers made without one use: the bundle identifier.
void setDefaultLogSubsystem(const QString& subsystem);
QString defaultLogSubsystem();

// Entries below this level are not written (still kept out of the store too); info by default.
void setMinimumLogLevel(LogLevel level);

class Logger {
public:
    explicit Logger(QString category);
    Logger(QString subsystem, QString category);

    const QString& subsystem() const { return subsystem_; }
    const QString& category() const { return category_; }

    template <class... Args>
    void debug(QStringView format, const Args&... args) const {
        write(LogLevel::debug, format, {LogArgument(args)...});
    }
    template <class... Args>
    void info(QStringView format, const Args&... args) const {
        write(LogLevel::info, format, {LogArgument(args)...});
    }
    template <class... Args>
    void notice(QStringView format, const Args&... args) const {
        write(LogLevel::notice, format, {LogArgument(args)...});
    }
    template <class... Args>
    void error(QStringView format, const Args&... args) const {
        write(LogLevel::error, format, {LogArgument(args)...});
    }
    template <class... Args>
    void fault(QStringView format, const Args&... args) const {
        write(LogLevel::fault, format, {LogArgument(args)...});
    }

    void write(LogLevel level, QStringView format, const std::vector<LogArgument>& arguments) const;

private:
    QString subsystem_;
    QString category_;
};

// Stops the process: a state the program cannot go on from. The message goes to standard
// error (death tests match it) and to the log.
[[noreturn]] void fatal(const QString& message);

}  // namespace Platform
