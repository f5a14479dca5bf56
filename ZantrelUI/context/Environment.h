#pragma once

// Values that a host sets for every view below it: attached to a widget, found by walking
// up the parent chain (the nearest widget that sets a key wins), and announced to the
// descendants when they change.

#include "ZantrelUI/context/Appearance.h"

#include <QEvent>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace ZantrelUI {

struct MacCalls;  // the platform operations value, defined with the platform services

struct EnvironmentValues {
    // The accent glass views paint with; by default the first row of the family table.
    Accent accent{ZantrelKit::AccentPair::all[0]};
    // Drawn without a live window behind: no blur, still forms instead of loops.
    bool offscreen = false;
    // A host's override of reduced motion, either way; none follows the desktop.
    std::optional<bool> reduceMotionOverride;
    // Shortcut fields draw their recording look.
    bool showsShortcutRecording = false;
    // Settings tabs draw glass cards (inside the settings shell) instead of a plain form.
    bool settingsGlass = false;
    // The platform operations; none means the live value.
    std::shared_ptr<const MacCalls> macCalls;
    // The appearance of a window or subtree; none follows the desktop.
    std::optional<ColorScheme> colorScheme;

    friend bool operator==(const EnvironmentValues&, const EnvironmentValues&) = default;
};

// What one widget sets; keys it leaves unset come from its ancestors.
struct EnvironmentOverrides {
    std::optional<Accent> accent;
    std::optional<bool> offscreen;
    std::optional<std::optional<bool>> reduceMotionOverride;
    std::optional<bool> showsShortcutRecording;
    std::optional<bool> settingsGlass;
    std::optional<std::shared_ptr<const MacCalls>> macCalls;
    std::optional<std::optional<ColorScheme>> colorScheme;
};

// Sent to a widget and each of its descendants when their environment may have changed.
class EnvironmentChangeEvent final : public QEvent {
public:
    EnvironmentChangeEvent() : QEvent(type()) {}
    static QEvent::Type type();
};

namespace Environment {

// The values in force for `widget` (the defaults for none).
EnvironmentValues of(const QWidget* widget);

// Changes what `widget` sets; its subtree is told when the values in force changed.
void update(QWidget* widget, const std::function<void(EnvironmentOverrides&)>& change);

void setAccent(QWidget* widget, const Accent& accent);
void setOffscreen(QWidget* widget, bool offscreen);
void setReduceMotionOverride(QWidget* widget, std::optional<bool> reduce);
void setShowsShortcutRecording(QWidget* widget, bool shows);
void setSettingsGlass(QWidget* widget, bool glass);
void setMacCalls(QWidget* widget, std::shared_ptr<const MacCalls> calls);
void setColorScheme(QWidget* widget, std::optional<ColorScheme> scheme);

// Sends the change event to `widget` and every widget below it.
void notifyChanged(QWidget* widget);

}  // namespace Environment

// Base of the kit's painted widgets: repaints on environment and parent changes and
// offers the environment to paint code.
class GlassWidget : public QWidget {
public:
    explicit GlassWidget(QWidget* parent = nullptr);

    EnvironmentValues environment() const { return Environment::of(this); }
    ColorScheme scheme() const { return ZantrelUI::colorScheme(this); }
    QColor resolve(const DynamicColor& color) const { return color.resolve(scheme()); }

protected:
    bool event(QEvent* event) override;
    // Called when the environment in force may have changed; repaints by default.
    virtual void environmentChanged();
};

}  // namespace ZantrelUI
