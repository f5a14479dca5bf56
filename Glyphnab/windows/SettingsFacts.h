#pragma once

// What the Settings window tells its shared pieces: the app's lines of the support report
// and the state of updates for the General tab.

#include "GlyphnabCore/Preferences.h"
#include "ZantrelKit/DiagnosticReport.h"
#include "ZantrelUI/settings/UpdatesState.h"

#include <QList>

namespace Glyphnab {

class Updater;

// "Route", "Screen Recording", "Line mode" and "Languages" ("system" while the system's
// languages are followed, else the picked identifiers joined with ",").
QList<ZantrelKit::DiagnosticReport::Fact> reportFields(const GlyphnabCore::Preferences& prefs, bool screenAllowed);

// The updater as the General tab sees it now; its check holds the updater weakly.
ZantrelUI::UpdatesState updatesState(Updater& updater);

}  // namespace Glyphnab
