#include "ZantrelUI/pieces/SelectableList.h"

#include "ZantrelUI/desktop/StandardMenus.h"
#include "platform/async/MainThread.h"

namespace ZantrelUI {

ListKey ListKey::from(const QKeyEvent& event) {
    ListKey press;
    press.command = event.modifiers().testFlag(Qt::ControlModifier);
    press.shift = event.modifiers().testFlag(Qt::ShiftModifier);
    switch (event.key()) {
    case Qt::Key_Up:
        press.key = Key::up;
        break;
    case Qt::Key_Down:
        press.key = Key::down;
        break;
    case Qt::Key_Left:
        press.key = Key::left;
        break;
    case Qt::Key_Right:
        press.key = Key::right;
        break;
    case Qt::Key_A:
        press.key = Key::a;
        break;
    case Qt::Key_Space:
        press.key = Key::space;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press.key = Key::returnKey;
        break;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        press.key = Key::deleteKey;
        break;
    case Qt::Key_Escape:
        press.key = Key::escape;
        break;
    default:
        if (event.text() == QStringLiteral("\x7f"))
            press.key = Key::deleteKey;
        else if (event.matches(QKeySequence::SelectAll))
            press.key = Key::selectAll;
        break;
    }
    return press;
}

SelectableListBase::SelectableListBase(QWidget* content) : QObject(content), content_(content) {
    content->setFocusPolicy(Qt::StrongFocus);
    content->setAttribute(Qt::WA_MacShowFocusRect, false);
    content->installEventFilter(this);
    content->setProperty(StandardMenus::Responder::responderProperty, QVariant::fromValue<QObject*>(this));
}

void SelectableListBase::selectAll() {
    Platform::assertMain();
    ListKey press;
    press.key = ListKey::Key::selectAll;
    handle(press, false);
}

bool SelectableListBase::eventFilter(QObject* watched, QEvent* event) {
    if (watched != content_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // The list's own keys win over window shortcuts bound to the same keys.
        auto* key = static_cast<QKeyEvent*>(event);
        if (handle(ListKey::from(*key), true))
            key->accept();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        Platform::assertMain();
        auto* key = static_cast<QKeyEvent*>(event);
        if (handle(ListKey::from(*key), false)) {
            key->accept();
            return true;
        }
        key->ignore();
        return false;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ZantrelUI
