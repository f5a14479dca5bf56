#include "ZantrelUI/ReduceMotion.h"

#include "ZantrelUI/DesktopSettings.h"
#include "ZantrelUI/Environment.h"

namespace ZantrelUI::ReduceMotion {

bool system() { return DesktopSettings::shared().reduceMotion(); }

bool of(const QWidget* widget) { return resolve(Environment::of(widget).reduceMotionOverride, system()); }

}  // namespace ZantrelUI::ReduceMotion
