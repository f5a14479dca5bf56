#include "Glyphnab/Updater.h"

#include "ZantrelUI/AppContext.h"

namespace Glyphnab {

Updater::Updater(const ZantrelKit::OwnerConfig& config, QObject* parent) : QObject(parent)
{
    configured_ = config.value(QStringLiteral("SUFeedURL")).has_value()
                  && config.value(QStringLiteral("SUPublicEDKey")).has_value();
    setCanCheck(configured_);
}

Updater::~Updater() = default;

Updater& Updater::shared()
{
    static Updater updater{[] {
        const ZantrelUI::AppContext* context = ZantrelUI::AppContext::current();
        return context ? context->config() : ZantrelKit::OwnerConfig{};
    }()};
    return updater;
}

void Updater::checkForUpdates()
{
    if (!configured_)
        return;
}

void Updater::setCanCheck(bool canCheck)
{
    if (canCheck == canCheck_)
        return;
    canCheck_ = canCheck;
    Q_EMIT canCheckChanged(canCheck);
}

}  // namespace Glyphnab
