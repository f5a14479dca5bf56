#include "ZantrelUI/desktop/PermissionMonitor.h"

#include "ZantrelKit/GrantMemory.h"
#include "ZantrelUI/desktop/PermissionProbe.h"
#include "platform/async/MainThread.h"

#include <QGuiApplication>
#include <QPointer>

namespace ZantrelUI {
namespace {

// The loops hold the monitor weakly and end as soon as it is gone or told to stop.
QCoro::Task<> pollEverySecond(QPointer<PermissionMonitor> monitor, Platform::Clock& clock, std::stop_token stop) {
    while (true) {
        const bool slept = co_await clock.sleep(PermissionMonitor::pollInterval, stop);
        if (!slept || stop.stop_requested() || !monitor)
            co_return;
        Platform::assertMain();
        monitor->refresh();
    }
}

QCoro::Task<> recheckAfterDelay(QPointer<PermissionMonitor> monitor, Platform::Clock& clock, std::stop_token stop) {
    const bool slept = co_await clock.sleep(PermissionMonitor::recheckDelay, stop);
    if (!slept || stop.stop_requested() || !monitor)
        co_return;
    Platform::assertMain();
    monitor->refresh();
}

}  // namespace

PermissionMonitor::PermissionMonitor(ZantrelKit::Permission permission, Check check, ZantrelKit::DefaultsStore* memory,
                                     Platform::Clock* clock, QObject* parent)
    : QObject(parent),
      permission_(std::move(permission)),
      check_(check ? std::move(check) : Check([p = permission_] { return PermissionProbe::isGrantedOnMain(p); })),
      memory_(memory),
      clock_(clock ? *clock : Platform::Clock::shared()) {
    Platform::assertMain();
    granted_ = check_();
    if (memory_)
        ZantrelKit::GrantMemory::remember(permission_, granted_, *memory_);
    watch_.granted = granted_;
    // X11 announces no permission changes; coming back from the settings is the moment
    // the user has most likely flipped the switch.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                recheckSoon();
        });
    }
    updatePolling();
}

PermissionMonitor::~PermissionMonitor() {
    life_.request_stop();
    if (polling_)
        polling_->request_stop();
}

void PermissionMonitor::refresh() {
    Platform::assertMain();
    const bool value = check_();
    if (granted_ != value) {
        granted_ = value;
        Q_EMIT grantedChanged(value);
    }
    if (memory_)
        ZantrelKit::GrantMemory::remember(permission_, value, *memory_);
    if (const auto change = watch_.update(value); change && onChange)
        onChange(*change);
    updatePolling();
}

void PermissionMonitor::recheckSoon() {
    Platform::assertMain();
    recheckAfterDelay(QPointer(this), clock_, life_.get_token());
}

bool PermissionMonitor::grantLost() {
    if (!memory_)
        return false;
    return ZantrelKit::GrantMemory::lost(permission_, check_(), *memory_);
}

void PermissionMonitor::updatePolling() {
    if (granted_) {
        if (polling_) {
            polling_->request_stop();
            polling_.reset();
        }
        return;
    }
    if (polling_)
        return;
    polling_.emplace();
    pollEverySecond(QPointer(this), clock_, polling_->get_token());
}

}  // namespace ZantrelUI
