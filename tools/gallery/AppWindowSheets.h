#pragma once

// The app's own windows for the gallery: the grant panel in its four states and each
// first-run step, over a model with recording platform calls.

#include "ZantrelUI/design/Tokens.h"

#include <QString>

namespace Gallery {

bool appWindowSheets(ZantrelUI::ColorScheme scheme, const QString& folder);

}  // namespace Gallery
