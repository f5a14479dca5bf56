#include "tests/platform/FakeGlobalAccel.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMutexLocker>

namespace {

QString componentPath(QString component) {
    return QStringLiteral("/component/") + component.replace(u'.', u'_');
}

}  // namespace

FakeGlobalAccel::FakeGlobalAccel(QDBusConnection bus) : bus_(std::move(bus)) {
    thread_.start();
    moveToThread(&thread_);
    serving_ = bus_.registerVirtualObject(QStringLiteral("/kglobalaccel"), this) &&
               bus_.registerService(QStringLiteral("org.kde.kglobalaccel"));
}

FakeGlobalAccel::~FakeGlobalAccel() {
    bus_.unregisterObject(QStringLiteral("/kglobalaccel"));
    bus_.unregisterService(QStringLiteral("org.kde.kglobalaccel"));
    thread_.quit();
    thread_.wait();
}

void FakeGlobalAccel::holdElsewhere(int key) {
    const QMutexLocker guard(&lock_);
    heldElsewhere_.insert(key);
}

FakeGlobalAccel::Seen FakeGlobalAccel::seen() const {
    const QMutexLocker guard(&lock_);
    return seen_;
}

void FakeGlobalAccel::press(const QString& component, const QString& action) {
    QDBusMessage signal = QDBusMessage::createSignal(componentPath(component),
                                                     QStringLiteral("org.kde.kglobalaccel.Component"),
                                                     QStringLiteral("globalShortcutPressed"));
    signal << component << action << qlonglong(0);
    bus_.send(signal);
}

QString FakeGlobalAccel::introspect(const QString&) const {
    return {};
}

bool FakeGlobalAccel::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    const QStringList action = args.value(0).toStringList();
    const QMutexLocker guard(&lock_);
    if (member == u"doRegister") {
        seen_.registered.append(action);
        components_.insert(action.value(0));
        bus_.send(message.createReply());
    } else if (member == u"getComponent") {
        const QString component = args.value(0).toString();
        if (components_.contains(component))
            bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(componentPath(component)))));
        else
            bus_.send(message.createErrorReply(QStringLiteral("org.kde.kglobalaccel.NoSuchComponent"), component));
    } else if (member == u"setShortcut") {
        const auto keys = qdbus_cast<QList<int>>(args.value(1));
        const uint flags = args.value(2).toUInt();
        QList<int> taken;
        for (const int key : keys) {
            if (!heldElsewhere_.contains(key))
                taken.append(key);
        }
        if ((flags & 2) != 0)
            seen_.keys[action.value(1)] = taken;
        bus_.send(message.createReply(QVariant::fromValue(taken)));
    } else if (member == u"setInactive") {
        seen_.inactive.append(action.value(1));
        seen_.keys.erase(action.value(1));
        bus_.send(message.createReply());
    } else {
        bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member));
    }
    return true;
}
