#pragma once

// The app's small persistent settings (flags, texts, encoded blobs) by key: the
// QSettings-backed store of the app and an in-memory one for tests.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>
#include <mutex>
#include <optional>

class QSettings;

namespace ZantrelKit {

class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    virtual bool contains(const QString& key) const = 0;
    // A stored flag; "true"/"false", "yes"/"no" and numbers read as flags too. Nothing
    // when the key is absent or holds something else.
    virtual std::optional<bool> boolValue(const QString& key) const = 0;
    virtual std::optional<QString> string(const QString& key) const = 0;
    virtual std::optional<QByteArray> bytes(const QString& key) const = 0;
    // A stored whole number (also one kept as text); nothing for anything else.
    virtual std::optional<qint64> integer(const QString& key) const = 0;

    virtual void setBool(const QString& key, bool value) = 0;
    virtual void setString(const QString& key, const QString& value) = 0;
    virtual void setBytes(const QString& key, const QByteArray& value) = 0;
    virtual void setInteger(const QString& key, qint64 value) = 0;
    virtual void remove(const QString& key) = 0;
};

// Stored in an INI file; every write is flushed at once. A file that cannot be written
// is not reported: the value simply is not kept. A write of the value already stored
// does nothing, and a file that a rewrite would not keep as it is (comments, lines that
// are no settings, broken text) is first copied aside as "<name>.unreadable-<time>.ini".
class SettingsDefaultsStore final : public DefaultsStore {
public:
    explicit SettingsDefaultsStore(const QString& iniPath);
    // The user's file for the app: ~/.config/<organization>/<application>.ini.
    SettingsDefaultsStore(const QString& organization, const QString& application);
    ~SettingsDefaultsStore() override;

    QString fileName() const;

    bool contains(const QString& key) const override;
    std::optional<bool> boolValue(const QString& key) const override;
    std::optional<QString> string(const QString& key) const override;
    std::optional<QByteArray> bytes(const QString& key) const override;
    std::optional<qint64> integer(const QString& key) const override;
    void setBool(const QString& key, bool value) override;
    void setString(const QString& key, const QString& value) override;
    void setBytes(const QString& key, const QByteArray& value) override;
    void setInteger(const QString& key, qint64 value) override;
    void remove(const QString& key) override;

private:
    std::optional<QVariant> read(const QString& key) const;
    void write(const QString& key, const QVariant& value);
    // Before the first write: a file that would lose something is copied aside.
    void keepFileBeforeRewrite();

    mutable std::mutex mutex_;
    std::unique_ptr<QSettings> settings_;
    bool fileKept_ = false;
};

// True when QSettings writes this INI text back without losing anything of it.
bool rewritesWithoutLoss(const QByteArray& ini);

class MemoryDefaultsStore final : public DefaultsStore {
public:
    bool contains(const QString& key) const override;
    std::optional<bool> boolValue(const QString& key) const override;
    std::optional<QString> string(const QString& key) const override;
    std::optional<QByteArray> bytes(const QString& key) const override;
    std::optional<qint64> integer(const QString& key) const override;
    void setBool(const QString& key, bool value) override;
    void setString(const QString& key, const QString& value) override;
    void setBytes(const QString& key, const QByteArray& value) override;
    void setInteger(const QString& key, qint64 value) override;
    void remove(const QString& key) override;

    std::size_t count() const;

private:
    std::optional<QVariant> read(const QString& key) const;
    void write(const QString& key, const QVariant& value);

    mutable std::mutex mutex_;
    QHash<QString, QVariant> values_;
};

}  // namespace ZantrelKit
