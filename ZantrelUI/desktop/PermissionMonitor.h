#pragma once

// Watches one permission while a screen that asks for it is open: probes it once a second
// while it is missing, stops once it is granted, and re-checks shortly after the desktop
// may have changed it (the app coming back to the front, or an owner's hint). It can
// remember grants in a defaults store, so a later launch can tell a permission that was
// lost from one that was never given.

#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelKit/GrantWatch.h"
#include "ZantrelKit/Permission.h"
#include "platform/async/Clock.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>

namespace ZantrelUI {

class PermissionMonitor final : public QObject {
    Q_OBJECT
public:
    using Check = std::function<bool()>;

    static constexpr std::chrono::milliseconds pollInterval{1000};
    static constexpr std::chrono::milliseconds recheckDelay{400};

    // `check` none = the permission's own probe; `memory` none = remember nothing (it must
    // outlive the monitor); `clock` none = the shared clock.
    explicit PermissionMonitor(ZantrelKit::Permission permission, Check check = {},
                               ZantrelKit::DefaultsStore* memory = nullptr, Platform::Clock* clock = nullptr,
                               QObject* parent = nullptr);
    ~PermissionMonitor() override;

    const ZantrelKit::Permission& permission() const { return permission_; }
    bool granted() const { return granted_; }
    const ZantrelKit::GrantWatch& watch() const { return watch_; }
    // The 1 s poll runs (only while the permission is missing).
    bool isPolling() const { return polling_.has_value(); }

    // Told when the permission is granted (`landed`) or withdrawn (`lost`) between two checks.
    std::function<void(ZantrelKit::GrantWatch::Change)> onChange;

    // One check now.
    void refresh();
    // A re-check 0.4 s from now: the desktop may have changed the permission.
    void recheckSoon();
    // True exactly when the permission was seen granted before and is off now; the mark
    // is then cleared. Always false without a memory.
    bool grantLost();

Q_SIGNALS:
    // Only on a real change.
    void grantedChanged(bool granted);

private:
    void updatePolling();

    ZantrelKit::Permission permission_;
    Check check_;
    ZantrelKit::DefaultsStore* memory_;
    Platform::Clock& clock_;
    bool granted_ = false;
    ZantrelKit::GrantWatch watch_;
    std::optional<std::stop_source> polling_;
    std::stop_source life_;
};

}  // namespace ZantrelUI
