#include "Glyphnab/windows/SettingsFacts.h"

#include "Glyphnab/shell/Updater.h"

#include <QPointer>

namespace Glyphnab {

QList<ZantrelKit::DiagnosticReport::Fact> reportFields(const GlyphnabCore::Preferences& prefs, bool screenAllowed) {
    return {
        {QStringLiteral("Route"), GlyphnabCore::rawValue(prefs.route)},
        {QStringLiteral("Screen Recording"), screenAllowed ? QStringLiteral("on") : QStringLiteral("off")},
        {QStringLiteral("Line mode"), ZantrelText::rawValue(prefs.lineMode)},
        {QStringLiteral("Languages"),
         prefs.followSystemLanguages ? QStringLiteral("system") : prefs.languages.join(QLatin1Char(','))},
    };
}

ZantrelUI::UpdatesState updatesState(Updater& updater) {
    QPointer<Updater> weak(&updater);
    return {updater.configured(), updater.canCheck(), [weak] {
                if (weak)
                    weak->checkForUpdates();
            }};
}

}  // namespace Glyphnab
