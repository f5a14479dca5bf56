#pragma once

// A small capsule that shows one keyboard shortcut and records a new one: click it, press
// the keys, and the owner gets the new shortcut; Delete clears it, Escape cancels. While it
// records, the application's key and mouse events come to the field first, and the global
// hot keys are held so that pressing the current grab shortcut records it.

#include "ZantrelKit/Shortcut.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace Platform {
class Keymap;
}

namespace ZantrelUI {

class HotKeys;

class ShortcutField final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    using OnChange = std::function<void(std::optional<ZantrelKit::Shortcut>)>;
    using Beep = std::function<void()>;

    static constexpr QSizeF fieldSize{128, 26};
    static inline const QString holdReason = QStringLiteral("recording");

    ShortcutField(const QString& title, std::optional<ZantrelKit::Shortcut> shortcut, bool clashes, bool allowAny,
                  OnChange onChange, QWidget* parent = nullptr);
    ~ShortcutField() override;

    // The owner passes the stored value back in after `onChange`.
    void setShortcut(std::optional<ZantrelKit::Shortcut> shortcut);
    void setClashes(bool clashes);
    const std::optional<ZantrelKit::Shortcut>& shortcut() const { return shortcut_; }
    bool clashes() const { return clashes_; }
    const QString& title() const { return title_; }

    // The registrar whose hot keys recording holds; the shared one by default.
    void setHotKeys(HotKeys* hotKeys) { hotKeys_ = hotKeys; }
    // The refusal sound for every field; an empty function restores the desktop's beep.
    static void setBeep(Beep beep);

    bool isRecording() const { return recording_; }
    bool isRefused() const { return refused_; }
    bool isHovered() const { return hover_; }
    // The field that records now, if any.
    static ShortcutField* active();

    void start();
    void stop();
    void toggle();

    // What the label reads now, and whether the clear button shows.
    QString labelText() const;
    bool showsClearButton() const;
    QRectF clearButtonRect() const;
    // The tooltip at a point: "Clear shortcut" over the clear button, else the help.
    QString toolTipAt(const QPointF& point) const;

    QAccessible::Role accessibleRole() const override { return QAccessible::Button; }
    QString accessibleText(QAccessible::Text kind) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void judgeKey(const QKeyEvent& key);
    void judgeClick(QObject* watched, const QMouseEvent& click);
    void clear();
    // Ends recording without touching the look: also run while the field is destroyed.
    void release();
    void setRecording(bool recording);
    void announceChange();

    QString title_;
    std::optional<ZantrelKit::Shortcut> shortcut_;
    bool clashes_;
    OnChange onChange_;
    bool allowAny_;
    bool recording_ = false;
    bool refused_ = false;
    bool hover_ = false;
    bool filtering_ = false;
    bool pressedInside_ = false;
    QPointer<QWidget> keyWindow_;
    QList<QMetaObject::Connection> observers_;
    HotKeys* hotKeys_ = nullptr;
    std::shared_ptr<const Platform::Keymap> keymap_;  // the layout at the start of recording
    AnimatedValue* recordingLook_;
};

}  // namespace ZantrelUI
