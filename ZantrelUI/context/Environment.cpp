#include "ZantrelUI/context/Environment.h"

#include <QCoreApplication>
#include <QPointer>

namespace ZantrelUI {

namespace {

// Holds one widget's overrides as a hidden child, so they live and die with it.
class EnvironmentNode final : public QObject {
public:
    explicit EnvironmentNode(QObject* owner) : QObject(owner) {
        setObjectName(QStringLiteral("zantrel.environment"));
    }
    EnvironmentOverrides overrides;
};

EnvironmentNode* nodeOf(const QWidget* widget) {
    for (QObject* child : widget->children()) {
        if (auto* node = dynamic_cast<EnvironmentNode*>(child))
            return node;
    }
    return nullptr;
}

template <class T>
void take(std::optional<T>& found, const std::optional<T>& candidate) {
    if (!found && candidate)
        found = candidate;
}

}  // namespace

QEvent::Type EnvironmentChangeEvent::type() {
    static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
    return registered;
}

namespace Environment {

EnvironmentValues of(const QWidget* widget) {
    EnvironmentOverrides found;
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const EnvironmentNode* node = nodeOf(w)) {
            const EnvironmentOverrides& o = node->overrides;
            take(found.accent, o.accent);
            take(found.offscreen, o.offscreen);
            take(found.reduceMotionOverride, o.reduceMotionOverride);
            take(found.showsShortcutRecording, o.showsShortcutRecording);
            take(found.settingsGlass, o.settingsGlass);
            take(found.macCalls, o.macCalls);
            take(found.colorScheme, o.colorScheme);
        }
    }
    EnvironmentValues values;
    if (found.accent)
        values.accent = *found.accent;
    values.offscreen = found.offscreen.value_or(values.offscreen);
    values.reduceMotionOverride = found.reduceMotionOverride.value_or(values.reduceMotionOverride);
    values.showsShortcutRecording = found.showsShortcutRecording.value_or(values.showsShortcutRecording);
    values.settingsGlass = found.settingsGlass.value_or(values.settingsGlass);
    values.macCalls = found.macCalls.value_or(values.macCalls);
    values.colorScheme = found.colorScheme.value_or(values.colorScheme);
    return values;
}

void update(QWidget* widget, const std::function<void(EnvironmentOverrides&)>& change) {
    if (widget == nullptr)
        return;
    const EnvironmentValues before = of(widget);
    EnvironmentNode* node = nodeOf(widget);
    if (node == nullptr)
        node = new EnvironmentNode(widget);  // owned by the widget
    change(node->overrides);
    // Descendants may set keys of their own, so any change of what is in force here is
    // worth telling them; those that see nothing new just repaint.
    if (!(of(widget) == before))
        notifyChanged(widget);
}

void setAccent(QWidget* widget, const Accent& accent) {
    update(widget, [&](EnvironmentOverrides& o) { o.accent = accent; });
}
void setOffscreen(QWidget* widget, bool offscreen) {
    update(widget, [&](EnvironmentOverrides& o) { o.offscreen = offscreen; });
}
void setReduceMotionOverride(QWidget* widget, std::optional<bool> reduce) {
    update(widget, [&](EnvironmentOverrides& o) { o.reduceMotionOverride = reduce; });
}
void setShowsShortcutRecording(QWidget* widget, bool shows) {
    update(widget, [&](EnvironmentOverrides& o) { o.showsShortcutRecording = shows; });
}
void setSettingsGlass(QWidget* widget, bool glass) {
    update(widget, [&](EnvironmentOverrides& o) { o.settingsGlass = glass; });
}
void setMacCalls(QWidget* widget, std::shared_ptr<const MacCalls> calls) {
    update(widget, [&](EnvironmentOverrides& o) { o.macCalls = std::move(calls); });
}
void setColorScheme(QWidget* widget, std::optional<ColorScheme> scheme) {
    update(widget, [&](EnvironmentOverrides& o) { o.colorScheme = scheme; });
}

void notifyChanged(QWidget* widget) {
    if (widget == nullptr)
        return;
    QList<QPointer<QWidget>> targets{widget};
    for (QWidget* child : widget->findChildren<QWidget*>())
        targets << child;
    for (const QPointer<QWidget>& target : targets) {
        if (target) {
            EnvironmentChangeEvent event;
            QCoreApplication::sendEvent(target, &event);
        }
    }
}

}  // namespace Environment

GlassWidget::GlassWidget(QWidget* parent) : QWidget(parent) {}

bool GlassWidget::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type()) {
        environmentChanged();
        return true;
    }
    // A new parent can change what is in force for the whole subtree, not only here: a
    // page built before it is placed must learn the values of the window it lands in.
    if (event->type() == QEvent::ParentChange)
        Environment::notifyChanged(this);
    return QWidget::event(event);
}

void GlassWidget::environmentChanged() { update(); }

}  // namespace ZantrelUI
