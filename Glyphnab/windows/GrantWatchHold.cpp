#include "Glyphnab/windows/GrantWatchHold.h"

#include "Glyphnab/model/GlyphnabModel.h"

#include <QEvent>
#include <QWidget>

namespace Glyphnab {

GrantWatchHold::GrantWatchHold(GlyphnabModel& model, QWidget* view) : QObject(view), model_(&model) {
    view->installEventFilter(this);
    if (view->isVisible())
        hold(true);
}

GrantWatchHold::~GrantWatchHold() { hold(false); }

bool GrantWatchHold::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Show)
        hold(true);
    else if (event->type() == QEvent::Hide)
        hold(false);
    return false;
}

void GrantWatchHold::hold(bool on) {
    if (holding_ == on || !model_)
        return;
    holding_ = on;
    model_->watchGrant(on);
}

}  // namespace Glyphnab
