#include "Glyphnab/windows/SettingsSelection.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"

namespace Glyphnab {

QString settingsTabTitle(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::general:
        return ZantrelKit::Copy::Settings::tabGeneral();
    case SettingsTab::shortcuts:
        return GlyphnabCore::Words::settingsTabShortcuts();
    case SettingsTab::languages:
        return GlyphnabCore::Words::settingsTabLanguages();
    case SettingsTab::about:
        return ZantrelKit::Copy::Settings::tabAbout();
    }
    return {};
}

}  // namespace Glyphnab
