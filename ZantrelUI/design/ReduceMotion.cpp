#include "ZantrelUI/design/ReduceMotion.h"

#include "ZantrelUI/context/DesktopSettings.h"
#include "ZantrelUI/context/Environment.h"

namespace ZantrelUI::ReduceMotion {

bool system() { return DesktopSettings::shared().reduceMotion(); }

bool of(const QWidget* widget) { return resolve(Environment::of(widget).reduceMotionOverride, system()); }

}  // namespace ZantrelUI::ReduceMotion
