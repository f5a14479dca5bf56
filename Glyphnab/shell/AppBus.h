#pragma once

// The running app on the session bus: it owns the name "org.glyphnab.Glyphnab" and answers
// the three actions, the copy-text service, opening files, choosing files and reopening at
// "/org/glyphnab/Glyphnab". Every call is answered later, so that a minute-long pick and
// the reading after it never hold up the event loop; a failure is an error reply that
// carries the message the user is shown. The client side finds the running instance and
// forwards commands to it.

#include <QCoroTask>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <stop_token>

namespace Platform {
class Pasteboard;
}

namespace Glyphnab {

namespace AppBusNames {
inline const QString service = QStringLiteral("org.glyphnab.Glyphnab");
inline const QString path = QStringLiteral("/org/glyphnab/Glyphnab");
inline const QString interface = QStringLiteral("org.glyphnab.Glyphnab");
// The error reply of an action or service call that failed; its message is the user's.
inline const QString failed = QStringLiteral("org.glyphnab.Glyphnab.Error.Failed");
inline const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
}  // namespace AppBusNames

// What the bus asks of the running app. The three actions may throw: the message of an
// IntentFailure, or the text of any other error, becomes the error reply.
struct AppBusTarget {
    // The stop is requested when the caller leaves the bus before the answer.
    std::function<QCoro::Task<QString>(std::stop_token)> grab;
    // The same grab with the other line handling.
    std::function<QCoro::Task<QString>(std::stop_token)> grabOther;
    std::function<QCoro::Task<QString>(QList<QUrl>, std::stop_token)> read;
    std::function<QCoro::Task<QString>(QUrl)> code;
    // Copies the text of what the board holds like any other grab; false when the app can
    // no longer do it (its model is gone).
    std::function<bool(const Platform::Pasteboard&)> copyText;
    std::function<void(QList<QUrl>)> openFiles;
    std::function<void()> reopen;
    // Asks for pictures or PDFs to read, as "Text from File…" does.
    std::function<void()> chooseFiles;
    // Why copying a text or opening files is refused now (the app is reading): the busy
    // notice's text, answered as the call's failure after the app was told (it beeps and
    // shows its busy notice). Nothing when the app is free.
    std::function<std::optional<QString>()> refusal;

    // The three actions run the app's intents; the rest is left empty for the caller.
    static AppBusTarget withIntents();
};

class AppBus final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.glyphnab.Glyphnab")

public:
    AppBus(AppBusTarget target, QDBusConnection connection, QObject* parent = nullptr);
    ~AppBus() override;

    // Exports the object at its path; false when the path is taken.
    bool exportObject();
    // Takes the well-known name; false when another process holds it.
    bool claimName();
    // Gives the name up (before a relaunch); claimName takes it back.
    void releaseName();
    bool ownsName() const { return owns_; }

    const QDBusConnection& connection() const { return connection_; }

public Q_SLOTS:
    Q_SCRIPTABLE QString GrabText(const QDBusMessage& message);
    Q_SCRIPTABLE QString GrabOtherText(const QDBusMessage& message);
    Q_SCRIPTABLE QString ReadText(const QStringList& paths, const QDBusMessage& message);
    Q_SCRIPTABLE QString ReadCode(const QString& path, const QDBusMessage& message);
    Q_SCRIPTABLE void CopyText(const QStringList& uris, const QByteArray& bytes, const QString& mimeType,
                               const QDBusMessage& message);
    Q_SCRIPTABLE void OpenFiles(const QStringList& uris, const QDBusMessage& message);
    Q_SCRIPTABLE void Reopen();
    Q_SCRIPTABLE void ChooseFiles();

private:
    QString grabLater(const std::function<QCoro::Task<QString>(std::stop_token)>& grab, const QDBusMessage& message);
    // A stop requested when the caller leaves the bus before its answer (its command was
    // interrupted); the watcher is removed when `finished` runs.
    std::pair<std::shared_ptr<std::stop_source>, std::function<void()>> callerStop(const QDBusMessage& message);

    AppBusTarget target_;
    QDBusConnection connection_;
    bool exported_ = false;
    bool owns_ = false;
};

// The client side: the running instance on a bus, and the commands forwarded to it.
namespace AppBusClient {

// Waits for a pick of up to a minute and a reading of up to five.
inline constexpr std::chrono::minutes actionTimeout{10};
inline constexpr std::chrono::seconds commandTimeout{25};
// A reading of files, bounded in the app as it is here.
inline constexpr std::chrono::seconds readTimeout{40};
// An instance that does not answer this soon is hung, or too busy to take work.
inline constexpr std::chrono::seconds probeTimeout{3};

struct Failure {
    enum class Kind {
        noInstance,  // nothing owns the name (any more)
        failed,      // the instance answered with a failure; `message` is the user's
        bus,         // the bus itself failed (timeout, refused); `message` says how
    };
    Kind kind = Kind::failed;
    QString message;
};

// The action's text; empty for open, reopen and choosing files.
using Answer = std::expected<QString, Failure>;

bool instanceRunning(const QDBusConnection& bus);
// True when the instance's event loop answers within the probe timeout.
QCoro::Task<bool> answers(QDBusConnection bus);

// None of these throws.
// `other`: the grab with the other line handling.
QCoro::Task<Answer> grab(QDBusConnection bus, bool other = false);
// Paths are made absolute here: the instance runs in another folder.
QCoro::Task<Answer> read(QDBusConnection bus, QStringList paths);
QCoro::Task<Answer> code(QDBusConnection bus, QString path);
QCoro::Task<Answer> openFiles(QDBusConnection bus, QList<QUrl> files);
QCoro::Task<Answer> reopen(QDBusConnection bus);
QCoro::Task<Answer> chooseFiles(QDBusConnection bus);

}  // namespace AppBusClient

}  // namespace Glyphnab
