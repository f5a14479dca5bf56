#pragma once

// Destructive actions on several items ask first: the owner describes the action once as a
// `CountedConfirm`; one item (or none) runs at once, more wait for a card with Cancel and a
// red confirm button, shown as a sheet or in place over the owner's content.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/Bound.h"

#include <QAbstractButton>
#include <QPointer>
#include <QUuid>

#include <functional>
#include <optional>

class QDialog;
class QLabel;

namespace ZantrelUI {

class PillButton;

struct CountedConfirm {
    QUuid id;
    int count = 0;
    QString title;
    QString line;
    QString button;
    bool returnConfirms = false;
    std::function<void()> run;

    CountedConfirm(int count, QString title, QString line, QString button, bool returnConfirms,
                   std::function<void()> run);

    // More than one item: stores the request so the attached card shows it. Otherwise runs
    // the action at once and leaves `pending` alone.
    void ask(Bound<std::optional<CountedConfirm>>& pending) const;

    friend bool operator==(const CountedConfirm& a, const CountedConfirm& b) { return a.id == b.id; }
};

using PendingConfirm = BoundPtr<std::optional<CountedConfirm>>;

// The red capsule button.
class DangerButton final : public QAbstractButton {
    Q_OBJECT
public:
    struct Look {
        double opacity;
        double scale;
        friend bool operator==(const Look&, const Look&) = default;
    };
    static Look lookFor(bool enabled, bool pressed, bool reduceMotion);

    explicit DangerButton(const QString& title, QWidget* parent = nullptr);

    Look currentLook() const;
    const AnimatedValue& pressAnimation() const { return *pressed_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    AnimatedValue* pressed_;
};

// The card: title, explanation, Cancel (Escape) and the confirm button (Return when the
// request says so).
class ConfirmSheet final : public GlassWidget {
    Q_OBJECT
public:
    static constexpr int cardWidth = 380;

    ConfirmSheet(CountedConfirm confirm, std::function<void()> dismiss, QWidget* parent = nullptr);

    const CountedConfirm& confirm() const { return confirm_; }
    PillButton* cancelButton() const { return cancel_; }
    DangerButton* confirmButton() const { return confirmButton_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void cancel();
    void accept();

    CountedConfirm confirm_;
    std::function<void()> dismiss_;
    QWidget* backdrop_;
    PillButton* cancel_;
    DangerButton* confirmButton_;
};

// Shows the pending request of `pending` over `content`: in a window-modal sheet, or in
// place under a dimming layer that swallows clicks. Lives as a child of `content`.
class ConfirmCount final : public QObject {
    Q_OBJECT
public:
    ConfirmCount(QWidget* content, PendingConfirm pending, bool inPlace);
    ~ConfirmCount() override;

    bool inPlace() const { return inPlace_; }
    // The card on screen now, if any.
    ConfirmSheet* sheet() const { return sheet_; }
    // The in-place overlay (dimming and card), or the sheet's dialog.
    QWidget* overlay() const { return overlay_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void tearDown();
    void layoutOverlay();

    QPointer<QWidget> content_;
    PendingConfirm pending_;
    bool inPlace_;
    std::optional<QUuid> shown_;
    QPointer<QWidget> overlay_;
    QPointer<ConfirmSheet> sheet_;
};

// Attaches the confirmation card to any view.
ConfirmCount* countedConfirm(QWidget* content, PendingConfirm pending, bool inPlace);

}  // namespace ZantrelUI
