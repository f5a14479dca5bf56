#include "tests/support/LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QScrollBar>

namespace TestSupport {

namespace {

// Inside a scroll area the page may be taller than what shows.
bool scrolls(const QWidget* parent) {
    const auto* area = parent ? qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()) : nullptr;
    return area != nullptr && area->viewport() == parent;
}

}  // namespace

std::string describe(const QWidget* w) {
    std::string name = w->metaObject()->className();
    if (const auto* label = qobject_cast<const QLabel*>(w))
        name += " \"" + label->text().left(40).toStdString() + "\"";
    else if (const auto* button = qobject_cast<const QAbstractButton*>(w); button && !button->text().isEmpty())
        name += " \"" + button->text().left(40).toStdString() + "\"";
    const QRect g = w->geometry();
    return name + " at " + std::to_string(g.x()) + "," + std::to_string(g.y()) + " " + std::to_string(g.width()) + "x" +
           std::to_string(g.height());
}

std::vector<std::string> layoutFaults(const QWidget* root) {
    std::vector<std::string> faults;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisibleTo(root) || qobject_cast<const QScrollBar*>(w))
            continue;
        const QWidget* parent = w->parentWidget();
        if (!scrolls(parent) && !QRect(QPoint(), parent->size()).contains(w->geometry()))
            faults.push_back(describe(w) + " leaves its parent " + describe(parent));
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty()) {
            if (label->wordWrap()) {
                const int needed = label->heightForWidth(label->width());
                if (needed > label->height())
                    faults.push_back(describe(w) + " is cut: its lines need " + std::to_string(needed));
            } else if (label->minimumSizeHint().width() > label->width() ||
                       label->sizeHint().height() > label->height()) {
                faults.push_back(describe(w) + " is cut: it needs " + std::to_string(label->sizeHint().width()) +
                                 "x" + std::to_string(label->sizeHint().height()));
            }
        }
        const QSizePolicy policy = w->sizePolicy();
        const QSize least = w->minimumSizeHint();
        if (policy.horizontalPolicy() != QSizePolicy::Ignored && policy.verticalPolicy() != QSizePolicy::Ignored &&
            !w->hasHeightForWidth() && least.isValid() &&
            (w->width() < least.width() || w->height() < least.height()))
            faults.push_back(describe(w) + " is squeezed under " + std::to_string(least.width()) + "x" +
                             std::to_string(least.height()));
    }
    return faults;
}

std::string joined(const std::vector<std::string>& faults) {
    std::string all;
    for (const std::string& line : faults)
        all += "\n  " + line;
    return all;
}

}  // namespace TestSupport
