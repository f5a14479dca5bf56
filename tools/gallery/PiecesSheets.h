#pragma once

// The family's view pieces for the gallery: confirmations, undo line, file drop, date and
// colour fields, work areas, action bar and done card; bulk bar, suggestion cards, menu
// chip, stepper, empty state and notice cards.

#include "ZantrelUI/design/Tokens.h"

#include <QString>

namespace Gallery {

bool piecesSheets(ZantrelUI::ColorScheme scheme, const QString& folder);

}  // namespace Gallery
