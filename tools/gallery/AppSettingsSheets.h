#pragma once

#include "ZantrelUI/design/Tokens.h"

#include <QString>

// The app's own Settings tabs, on a model with sample preferences.
bool appSettingsTabs(ZantrelUI::ColorScheme scheme, const QString& folder);
