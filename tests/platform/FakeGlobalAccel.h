#pragma once

// Plasma's KGlobalAccel service of the test's own on a private bus: components made by
// their first action, keys set and taken back, and the component's pressed signal. It
// answers on a thread of its own, since the client waits for each answer.

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QStringList>
#include <QThread>

#include <map>

class FakeGlobalAccel final : public QDBusVirtualObject {
public:
    explicit FakeGlobalAccel(QDBusConnection bus);
    ~FakeGlobalAccel() override;

    bool isServing() const { return serving_; }

    // Keys another component holds: setting them takes nothing.
    void holdElsewhere(int key);

    struct Seen {
        QList<QStringList> registered;       // doRegister's action ids, in order
        std::map<QString, QList<int>> keys;  // the present keys, by action
        QStringList inactive;                // actions set inactive
    };
    Seen seen() const;

    // The desktop's answer to the keys of `action` of `component` being pressed.
    void press(const QString& component, const QString& action);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QDBusConnection bus_;
    QThread thread_;
    bool serving_ = false;
    mutable QMutex lock_;
    Seen seen_;
    QSet<int> heldElsewhere_;
    QSet<QString> components_;
};
