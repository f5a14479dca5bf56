#include "ZantrelUI/desktop/HotKeys.h"

#include "platform/async/MainThread.h"
#include "platform/log/Log.h"

namespace ZantrelUI {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("hotkeys"));
    return logger;
}

}  // namespace

HotKeys& HotKeys::shared() {
    static HotKeys instance(Platform::makeDesktopHotKeyService());
    return instance;
}

HotKeys::HotKeys(std::unique_ptr<Platform::HotKeyService> service) : service_(std::move(service)) {}

HotKeys::~HotKeys() {
    for (auto it = names_.cbegin(); it != names_.cend(); ++it)
        service_->unregisterKey(it.key());
}

QSet<QString> HotKeys::set(QMap<QString, ZantrelKit::Shortcut> bindings, Handler handler) {
    bindings_ = std::move(bindings);
    handler_ = std::move(handler);
    return reinstall();
}

QSet<QString> HotKeys::reinstall() {
    for (auto it = names_.cbegin(); it != names_.cend(); ++it)
        service_->unregisterKey(it.key());
    names_.clear();
    if (!holds_.isEmpty())
        return {};
    if (!installed_) {
        installed_ = true;
        service_->installHandler([this](std::uint32_t number) { dispatch(number); });
        service_->installChangeHandler([this] {
            if (isHeld())
                return;
            reinstall();
            if (onChanged_)
                onChanged_();
        });
    }
    unavailable_.clear();
    QSet<QString> refused;
    std::uint32_t number = 0;
    // QMap keeps its keys in ascending order: the ids follow the names.
    for (auto it = bindings_.cbegin(); it != bindings_.cend(); ++it) {
        ++number;
        const ZantrelKit::Shortcut& shortcut = it.value();
        service_->nameKey(number, it.key().toStdString());
        const auto status = service_->registerKey(shortcut.keyCode, shortcut.modifiers.carbonFlags(), number);
        if (status == Platform::HotKeyStatus::registered) {
            names_.insert(number, it.key());
        } else {
            refused.insert(it.key());
            if (status == Platform::HotKeyStatus::unavailable) {
                unavailable_.insert(it.key());
                log().error(u"hot key unavailable here: %{public}s", it.key());
            } else {
                log().error(u"hot key refused: %{public}s", it.key());
            }
        }
    }
    if (!refused.isEmpty() && onRefused_)
        onRefused_(refused);
    return refused;
}

QString HotKeys::trigger(const QString& name) const {
    for (auto it = names_.cbegin(); it != names_.cend(); ++it) {
        if (it.value() == name)
            return QString::fromStdString(service_->trigger(it.key()));
    }
    return {};
}

void HotKeys::hold(const QString& reason, bool on) {
    const bool wasHeld = isHeld();
    if (on)
        holds_.insert(reason);
    else
        holds_.remove(reason);
    if (wasHeld != isHeld())
        reinstall();
}

void HotKeys::dispatch(std::uint32_t number) {
    Platform::assertMain();
    const auto it = names_.constFind(number);
    if (it == names_.cend() || !handler_)
        return;
    // The handler may replace the bindings and itself.
    const QString name = it.value();
    const Handler handler = handler_;
    handler(name);
}

bool HotKeys::allowed(const QStringList& arguments, bool gate, bool blocked) {
    if (!gate)
        return true;
    if (blocked)
        return false;
    return !arguments.contains(QStringLiteral("--no-hotkeys"));
}

}  // namespace ZantrelUI
