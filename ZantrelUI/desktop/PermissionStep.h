#pragma once

// One step that walks the user through turning a privacy permission on in the desktop's
// settings: an icon, a title, why it is needed, a card with the settings path and what to
// do there, and the buttons. It holds no state of its own: the owner says whether the
// permission is granted (or lets a PermissionMonitor say it) and the step follows.

#include "ZantrelKit/OwnerConfig.h"
#include "ZantrelKit/Permission.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"

#include <QPointer>

#include <functional>
#include <optional>

class QShortcut;

namespace ZantrelUI {

class InkText;
class PathCrumbs;
class PermissionMonitor;
class PillButton;
class PulseDot;

class PermissionStep final : public GlassWidget {
    Q_OBJECT
public:
    using Action = std::function<void()>;

    // The small badge beside the buttons that says whether the switch is on yet.
    class Status final : public GlassWidget, public AccessibleSource {
    public:
        explicit Status(bool granted, QWidget* parent = nullptr);

        bool granted() const { return granted_; }
        void setGranted(bool granted);
        // "Turned on" or "Waiting for the switch".
        QString text() const;
        PulseDot* dot() const { return dot_; }
        // How far the fresh look has faded in.
        void setOpacity(double opacity);

        QSize sizeHint() const override;
        QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
        QString accessibleText(QAccessible::Text kind) const override;

    protected:
        void paintEvent(QPaintEvent* event) override;

    private:
        QFont textFont() const;
        bool granted_;
        double opacity_ = 1;
        PulseDot* dot_;
    };

    // `open` none = ask for the permission and open its settings page through the
    // platform operations of this step's environment. `reopen` none = no reopen button.
    PermissionStep(ZantrelKit::Permission permission, ZantrelKit::Product product, QString title, QString why,
                   QString symbol, bool granted, std::optional<Action> reopen, bool returnOpens, Action open = {},
                   QWidget* parent = nullptr);

    // The same step following a monitor: granted as the monitor last saw it, and again on
    // every change it publishes. The monitor must outlive the step or be its child.
    static PermissionStep* following(PermissionMonitor& monitor, ZantrelKit::Product product, QString title,
                                     QString why, QString symbol, std::optional<Action> reopen, bool returnOpens,
                                     Action open = {}, QWidget* parent = nullptr);

    const ZantrelKit::Permission& permission() const { return permission_; }
    bool granted() const { return granted_; }
    void setGranted(bool granted);

    // The notes under the two steps, in order: not listed, and while not granted the
    // note for a switch that is on but not seen.
    QStringList notes() const;
    QStringList stepTexts() const;

    PathCrumbs* crumbs() const { return crumbs_; }
    Status* status() const { return status_; }
    PillButton* openButton() const { return openButton_; }
    // None when the step has no reopen action.
    PillButton* reopenButton() const { return reopenButton_; }
    // Return (and Enter) run `open` through this, enabled only while it may.
    QShortcut* returnShortcut() const { return returnShortcut_; }
    // Moves from the old look to the new one when `granted` changes.
    const AnimatedValue& change() const { return *change_; }
    // The animation a change of `granted` uses under the current motion setting.
    static Motion::Animation changeAnimation(bool reduceMotion);

private:
    void apply();
    void runOpen();

    ZantrelKit::Permission permission_;
    ZantrelKit::Product product_;
    bool granted_;
    bool returnOpens_;
    Action open_;
    std::optional<Action> reopen_;

    PathCrumbs* crumbs_ = nullptr;
    InkText* stuckNote_ = nullptr;
    QWidget* stuckRow_ = nullptr;
    Status* status_ = nullptr;
    PillButton* reopenButton_ = nullptr;
    PillButton* openButton_ = nullptr;
    QShortcut* returnShortcut_ = nullptr;
    QShortcut* enterShortcut_ = nullptr;
    AnimatedValue* change_ = nullptr;
};

}  // namespace ZantrelUI
