#pragma once

#include "ZantrelUI/design/Tokens.h"

#include <QString>

// The settings shell with its General and About tabs, and the support report sheet.
bool settingsWindows(ZantrelUI::ColorScheme scheme, const QString& folder);
