#include "ZantrelUI/design/GlassAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <map>
#include <memory>
#include <mutex>

namespace ZantrelUI {

QString AccessibleSource::accessibleText(QAccessible::Text) const { return {}; }
void AccessibleSource::addAccessibleState(QAccessible::State&) const {}
void AccessibleSource::doAccessibleAction(const QString&) {}
void AccessibleSource::setAccessibleValue(double) {}
AccessibleChild AccessibleSource::accessibleChild(int) const { return {}; }
void AccessibleSource::activateAccessibleChild(int) {}

namespace {

class GlassAccessible;

class ChildAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ChildAccessible(GlassAccessible* parent, int index) : parent_(parent), index_(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    AccessibleChild describe() const;
    GlassAccessible* parent_;
    int index_;
};

class GlassAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    GlassAccessible(QWidget* widget, AccessibleSource* source)
        : QAccessibleWidget(widget, source->accessibleRole()), source_(source) {}

    ~GlassAccessible() override {
        for (auto& [index, id] : children_)
            QAccessible::deleteAccessibleInterface(id);
    }

    AccessibleSource* source() const { return source_; }
    QWidget* control() const { return widget(); }

    QAccessible::Role role() const override { return source_->accessibleRole(); }

    QString text(QAccessible::Text t) const override {
        const QString own = source_->accessibleText(t);
        return own.isEmpty() ? QAccessibleWidget::text(t) : own;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        source_->addAccessibleState(s);
        return s;
    }

    QStringList actionNames() const override { return source_->accessibleActions() + QAccessibleWidget::actionNames(); }

    void doAction(const QString& name) override {
        if (source_->accessibleActions().contains(name))
            source_->doAccessibleAction(name);
        else
            QAccessibleWidget::doAction(name);
    }

    int childCount() const override {
        return int(source_->accessibleWidgets().size()) + source_->accessibleChildCount();
    }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        const QList<QWidget*> widgets = source_->accessibleWidgets();
        if (index < widgets.size())
            return QAccessible::queryAccessibleInterface(widgets[index]);
        const int painted = index - int(widgets.size());
        auto found = children_.find(painted);
        if (found == children_.end()) {
            auto* made = new ChildAccessible(const_cast<GlassAccessible*>(this), painted);
            found = children_.emplace(painted, QAccessible::registerAccessibleInterface(made)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const QList<QWidget*> widgets = source_->accessibleWidgets();
        for (int i = 0; i < widgets.size(); ++i) {
            if (child != nullptr && child->object() == widgets[i])
                return i;
        }
        for (const auto& [index, id] : children_) {
            if (QAccessible::accessibleInterface(id) == child)
                return int(widgets.size()) + index;
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* c = child(i);
            if (c && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface && source_->accessibleRange())
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return source_->accessibleRange()->value; }
    void setCurrentValue(const QVariant& value) override { source_->setAccessibleValue(value.toDouble()); }
    QVariant maximumValue() const override { return source_->accessibleRange()->maximum; }
    QVariant minimumValue() const override { return source_->accessibleRange()->minimum; }
    QVariant minimumStepSize() const override { return source_->accessibleRange()->step; }

private:
    AccessibleSource* source_;
    mutable std::map<int, QAccessible::Id> children_;
};

bool ChildAccessible::isValid() const {
    return parent_ && parent_->isValid() && index_ < parent_->source()->accessibleChildCount();
}
QWindow* ChildAccessible::window() const { return parent_->window(); }
QAccessibleInterface* ChildAccessible::parent() const { return parent_; }
AccessibleChild ChildAccessible::describe() const { return parent_->source()->accessibleChild(index_); }
QString ChildAccessible::text(QAccessible::Text t) const { return t == QAccessible::Name ? describe().name : QString(); }
QAccessible::Role ChildAccessible::role() const { return describe().role; }
QAccessible::State ChildAccessible::state() const { return describe().state; }
QRect ChildAccessible::rect() const {
    const QRect local = describe().rect;
    QWidget* w = parent_->control();
    return QRect(w->mapToGlobal(local.topLeft()), local.size());
}
void ChildAccessible::doAction(const QString& name) {
    if (name == pressAction())
        parent_->source()->activateAccessibleChild(index_);
}

constexpr const char* hiddenProperty = "zantrelAccessibilityHidden";
constexpr const char* onlyProperty = "zantrelAccessibilityOnly";

// A decorative widget as assistive technology meets it: nothing to read and nothing below.
class HiddenAccessible final : public QAccessibleWidget {
public:
    explicit HiddenAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}

    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = true;
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QStringList actionNames() const override { return {}; }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (isHiddenFromAccessibility(widget))
        return new HiddenAccessible(widget);
    if (auto* source = dynamic_cast<AccessibleSource*>(widget))
        return new GlassAccessible(widget, source);
    return nullptr;
}

}  // namespace

void ensureGlassAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(factory); });
}

void hideFromAccessibility(QWidget* widget) {
    ensureGlassAccessibility();
    widget->setProperty(hiddenProperty, true);
    // The name Qt gives its own implementation-detail widgets: the interfaces of Qt's widgets
    // leave a child so named out of their children, so the piece is not even listed.
    widget->setObjectName(QStringLiteral("qt_rubberband"));
}

void markAccessibilityOnly(QWidget* widget) { widget->setProperty(onlyProperty, true); }

bool isAccessibilityOnly(const QWidget* widget) { return widget->property(onlyProperty).toBool(); }

bool isHiddenFromAccessibility(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
        if (w->property(hiddenProperty).toBool())
            return true;
    }
    return false;
}

}  // namespace ZantrelUI
