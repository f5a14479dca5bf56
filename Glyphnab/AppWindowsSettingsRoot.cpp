// An empty Settings page until the Settings root with its tabs takes this place.

#include "Glyphnab/AppWindows.h"

#include "ZantrelUI/Backdrop.h"
#include "ZantrelUI/Environment.h"

#include "Glyphnab/GlyphnabModel.h"

namespace Glyphnab {

QWidget* AppWindows::settingsRoot(QWidget* parent) {
    auto* page = new ZantrelUI::Backdrop(parent);
    ZantrelUI::Environment::setAccent(page, model_.accent());
    return page;
}

}  // namespace Glyphnab
