#include "ZantrelUI/pieces/WindowReader.h"

#include "platform/async/MainThread.h"

#include <QEvent>

namespace ZantrelUI {

WindowReader::WindowReader(std::shared_ptr<WindowHome> home, QWidget* parent)
    : QWidget(parent), home_(std::move(home)) {
    // Never takes a click, a drag or the cursor from the views around it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(0, 0);
    record();
}

void WindowReader::record() {
    Platform::assertMain();
    QWidget* top = parentWidget() ? window() : nullptr;
    home_->window = top;
}

bool WindowReader::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
    case QEvent::Show:
    case QEvent::ShowToParent:
        record();
        break;
    case QEvent::Hide:
        // A view that moves to another window hides this reader just before the move (its
        // own parent stays, so no parent change comes): look again once the move is done.
        QMetaObject::invokeMethod(this, &WindowReader::record, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

}  // namespace ZantrelUI
