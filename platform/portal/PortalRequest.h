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
#include <functional>
#include <stop_token>

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

enum class Offer {
    offered,  // its "version" property can be read
    absent,   // no portal on the bus, or one without the interface
    silent,   // the portal is there but did not answer in time: a busy desktop, not a missing one
};

// What the portal says of `interface` on the bus. Blocks for at most `limit`.
Offer offer(const QDBusConnection& bus, const QString& interface,
            std::chrono::milliseconds limit = std::chrono::milliseconds(2000));

// Whether the portal offers `interface`; false when it does not answer in time.
bool offers(const QDBusConnection& bus, const QString& interface,
            std::chrono::milliseconds limit = std::chrono::milliseconds(2000));

struct RequestFailure {
    enum class Kind {
        refused,     // the portal answered the call with an error
        unanswered,  // no answer within the limit
        cancelled,   // the caller stopped waiting
    };
    Kind kind;
    QString message;  // a sentence for the log
};

// Sends `call`, whose options carry `token` as "handle_token", and waits for the answer.
// An error reply, no answer within `limit` on the shared clock, or a stop is a failure
// with a sentence that says so. Only a stop closes the request: the desktop may be showing
// a prompt, and closing it would throw the user's late answer away. An answer that comes
// after the limit goes to `late`.
QCoro::Task<std::expected<Response, RequestFailure>> request(QDBusConnection bus, QDBusMessage call, QString token,
                                                             std::chrono::nanoseconds limit, std::stop_token stop = {},
                                                             std::function<void(const Response&)> late = {});

}  // namespace Platform::Portal
