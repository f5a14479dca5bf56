#pragma once

// The desktop portal's request pattern: a method call names a handle token, and the answer
// comes later as the Response signal of a request object whose path follows from the
// caller's bus name and that token. The signal is listened for before the call goes out,
// so an answer that comes at once is not missed.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>

#include <QCoroTask>

#include <chrono>
#include <expected>

namespace Platform::Portal {

inline constexpr auto service = "org.freedesktop.portal.Desktop";
inline constexpr auto path = "/org/freedesktop/portal/desktop";

struct Response {
    // 0 success, 1 cancelled by the user, 2 ended another way.
    uint code = 2;
    QVariantMap results;
};

// The request object a call with `token` answers on, for the connection's unique name.
QString requestPath(const QString& uniqueName, const QString& token);

// A fresh handle token: letters, digits and underscores only.
QString newToken();

// Whether the portal offers `interface` on the bus (its "version" property can be read).
// Blocks for at most `limit`; false when nothing answers.
bool offers(const QDBusConnection& bus, const QString& interface,
            std::chrono::milliseconds limit = std::chrono::milliseconds(2000));

// Sends `call`, whose options carry `token` as "handle_token", and waits for the answer.
// An error reply, or no answer within `limit` on the shared clock, is a failure with a
// sentence that says so; a request left unanswered is closed.
QCoro::Task<std::expected<Response, QString>> request(QDBusConnection bus, QDBusMessage call, QString token,
                                                      std::chrono::nanoseconds limit);

}  // namespace Platform::Portal
