#pragma once

// A desktop portal of the test's own on a private bus: the documented Screenshot and
// GlobalShortcuts interfaces of org.freedesktop.portal.Desktop, answering through request
// objects as the real portal does. It answers on the test's event loop, so only calls
// that wait on that loop reach it.

#include "platform/portal/PortalShortcuts.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <map>

class FakePortal final : public QDBusVirtualObject {
public:
    explicit FakePortal(QDBusConnection bus);
    ~FakePortal() override;

    bool isServing() const { return serving_; }

    // How the next requests are answered.
    bool answers = true;
    uint code = 0;
    QImage picture;          // what a screenshot shows
    QString pictureFolder;   // where the portal leaves its file
    std::map<QString, QString> triggers;  // what BindShortcuts reports, by id
    bool reportsShortcuts = true;         // false: success with an empty list
    bool needsFolder = false;             // refuses a screenshot while pictureFolder is missing
    bool offersShortcuts = true;

    // What was asked.
    struct Seen {
        QStringList calls;                     // member names, in order
        QVariantMap screenshotOptions;
        Platform::Portal::ShortcutList bound;  // the last BindShortcuts list
        QStringList closed;                    // request paths closed
        QString session;
    };
    Seen seen() const;

    // Answers the last request that was left unanswered, as a user's late answer does.
    void answerLate();

    // Signals of the shortcuts session, as the desktop sends them.
    void activate(const QString& id);
    void changeTriggers(const std::map<QString, QString>& triggers);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    void respond(const QDBusMessage& call, const QVariantMap& options, const QVariantMap& results);

    QDBusConnection bus_;
    bool serving_ = false;
    QString latePath_;
    QString lateMember_;
    QVariantMap lateOptions_;
    mutable QMutex lock_;
    Seen seen_;
    int sessions_ = 0;
};
