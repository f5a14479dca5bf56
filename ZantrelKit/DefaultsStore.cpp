#include "ZantrelKit/DefaultsStore.h"

#include "platform/log/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace ZantrelKit {
namespace {

std::optional<bool> asBool(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toDouble() != 0.0;
    case QMetaType::QString: {
        // The INI file keeps every value as text.
        const QString text = value.toString().trimmed().toLower();
        if (text == u"true" || text == u"yes")
            return true;
        if (text == u"false" || text == u"no")
            return false;
        bool isNumber = false;
        const double number = text.toDouble(&isNumber);
        if (isNumber)
            return number != 0.0;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QString> asString(const QVariant& value) {
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return std::nullopt;
}

std::optional<QByteArray> asBytes(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return std::nullopt;
}

std::optional<qint64> asInteger(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::QString: {
        // The INI file keeps every value as text; only a whole number counts.
        bool isNumber = false;
        const qint64 number = value.toString().trimmed().toLongLong(&isNumber);
        return isNumber ? std::optional(number) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QString setAsidePath(const QString& fileName, int attempt) {
    const QFileInfo file(fileName);
    QString name = file.completeBaseName() + QStringLiteral(".unreadable-") +
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (attempt > 1)
        name += u'-' + QString::number(attempt);
    return file.dir().filePath(name + QStringLiteral(".ini"));
}

// Settings are a few kilobytes; a file past this is no settings file of ours.
constexpr qint64 maxSettingsBytes = qint64{4} << 20;

// QSettings reads whatever the name leads to: a pipe would block the start, a link to a
// device would be read until memory runs out. Such an entry is moved aside, as an
// unreadable file is, and the app starts with its defaults.
QString settingsFileChecked(const QString& path) {
    const QFileInfo entry(path);
    if (!entry.exists() || (entry.isFile() && entry.size() <= maxSettingsBytes))
        return path;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString target = setAsidePath(path, attempt);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        const bool moved = ::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0;
        Platform::Logger(QStringLiteral("store"))
            .error(moved ? u"%{public}s is not a settings file, moved to %{public}s"
                         : u"%{public}s is not a settings file and could not be moved to %{public}s",
                   entry.fileName(), QFileInfo(target).fileName());
        break;
    }
    return path;
}

// Where QSettings keeps the user's file for an organization and application.
QString userSettingsPath(const QString& organization, const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + organization + u'/' +
           application + QStringLiteral(".ini");
}

}  // namespace

bool rewritesWithoutLoss(const QByteArray& ini) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8(ini));
    if (utf8.hasError())
        return false;
    for (const QByteArray& raw : ini.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || (line.startsWith('[') && line.endsWith(']')))
            continue;
        // QSettings drops comments and lines that set nothing.
        if (line.startsWith(';') || line.startsWith('#') || !line.contains('='))
            return false;
        if (std::ranges::any_of(line, [](char c) { return static_cast<uchar>(c) < 0x20 && c != '\t'; }))
            return false;
    }
    return true;
}

void SettingsDefaultsStore::keepFileBeforeRewrite() {
    if (std::exchange(fileKept_, true))
        return;
    const QString fileName = settings_->fileName();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray original = file.readAll();
    if (settings_->status() == QSettings::NoError && rewritesWithoutLoss(original))
        return;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString target = setAsidePath(fileName, attempt);
        if (QFileInfo::exists(target))
            continue;
        if (QFile::copy(fileName, target))
            Platform::Logger(QStringLiteral("store")).error(u"%{public}s would lose lines when written, copied to %{public}s",
                                                          QFileInfo(fileName).fileName(), QFileInfo(target).fileName());
        return;
    }
}

SettingsDefaultsStore::SettingsDefaultsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(settingsFileChecked(iniPath), QSettings::IniFormat)) {}

SettingsDefaultsStore::SettingsDefaultsStore(const QString& organization, const QString& application)
    : SettingsDefaultsStore(userSettingsPath(organization, application)) {}

SettingsDefaultsStore::~SettingsDefaultsStore() = default;

QString SettingsDefaultsStore::fileName() const { return settings_->fileName(); }

std::optional<QVariant> SettingsDefaultsStore::read(const QString& key) const {
    const std::lock_guard lock(mutex_);
    if (!settings_->contains(key))
        return std::nullopt;
    return settings_->value(key);
}

void SettingsDefaultsStore::write(const QString& key, const QVariant& value) {
    const std::lock_guard lock(mutex_);
    keepFileBeforeRewrite();
    settings_->setValue(key, value);
    settings_->sync();
}

bool SettingsDefaultsStore::contains(const QString& key) const { return read(key).has_value(); }

std::optional<bool> SettingsDefaultsStore::boolValue(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asBool(*value) : std::nullopt;
}

std::optional<QString> SettingsDefaultsStore::string(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asString(*value) : std::nullopt;
}

std::optional<QByteArray> SettingsDefaultsStore::bytes(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asBytes(*value) : std::nullopt;
}

// Writing what is stored already would rewrite the whole file for nothing.
void SettingsDefaultsStore::setBool(const QString& key, bool value) {
    if (boolValue(key) != value)
        write(key, value);
}
void SettingsDefaultsStore::setString(const QString& key, const QString& value) {
    if (string(key) != value)
        write(key, value);
}
void SettingsDefaultsStore::setBytes(const QString& key, const QByteArray& value) {
    if (bytes(key) != value)
        write(key, value);
}
void SettingsDefaultsStore::setInteger(const QString& key, qint64 value) {
    if (integer(key) != value)
        write(key, value);
}

std::optional<qint64> SettingsDefaultsStore::integer(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asInteger(*value) : std::nullopt;
}

void SettingsDefaultsStore::remove(const QString& key) {
    if (!contains(key))
        return;
    const std::lock_guard lock(mutex_);
    keepFileBeforeRewrite();
    settings_->remove(key);
    settings_->sync();
}

std::optional<QVariant> MemoryDefaultsStore::read(const QString& key) const {
    const std::lock_guard lock(mutex_);
    const auto found = values_.constFind(key);
    if (found == values_.constEnd())
        return std::nullopt;
    return found.value();
}

void MemoryDefaultsStore::write(const QString& key, const QVariant& value) {
    const std::lock_guard lock(mutex_);
    values_.insert(key, value);
}

bool MemoryDefaultsStore::contains(const QString& key) const { return read(key).has_value(); }

std::optional<bool> MemoryDefaultsStore::boolValue(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asBool(*value) : std::nullopt;
}

std::optional<QString> MemoryDefaultsStore::string(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asString(*value) : std::nullopt;
}

std::optional<QByteArray> MemoryDefaultsStore::bytes(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asBytes(*value) : std::nullopt;
}

void MemoryDefaultsStore::setBool(const QString& key, bool value) { write(key, value); }
void MemoryDefaultsStore::setString(const QString& key, const QString& value) { write(key, value); }
void MemoryDefaultsStore::setBytes(const QString& key, const QByteArray& value) { write(key, value); }
void MemoryDefaultsStore::setInteger(const QString& key, qint64 value) { write(key, value); }

std::optional<qint64> MemoryDefaultsStore::integer(const QString& key) const {
    const std::optional<QVariant> value = read(key);
    return value ? asInteger(*value) : std::nullopt;
}

void MemoryDefaultsStore::remove(const QString& key) {
    const std::lock_guard lock(mutex_);
    values_.remove(key);
}

std::size_t MemoryDefaultsStore::count() const {
    const std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(values_.size());
}

}  // namespace ZantrelKit
