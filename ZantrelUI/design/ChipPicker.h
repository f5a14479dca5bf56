#pragma once

// A row of chips in a capsule, one per option; the chosen chip carries the accent
// gradient, which slides over to the next chip chosen.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"

#include <QVariant>

#include <functional>
#include <vector>

namespace ZantrelUI {

class ChipPicker final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    using Label = std::function<QString(const QVariant&)>;

    ChipPicker(QString title, QVariantList options, QVariant selection, Label label, QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    const QVariantList& options() const { return options_; }
    const QVariant& selection() const { return selection_; }
    // Chooses an option (animated); an option that is not in the row is ignored.
    void setSelection(const QVariant& option);
    // The chip rectangles, in order.
    std::vector<QRectF> chipRects() const;
    // Where the lit capsule is drawn now (between two chips while it slides).
    QRectF litRect() const;
    const AnimatedValue& slide() const { return *slide_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::Grouping; }
    QString accessibleText(QAccessible::Text kind) const override;
    int accessibleChildCount() const override { return static_cast<int>(options_.size()); }
    AccessibleChild accessibleChild(int index) const override;
    void activateAccessibleChild(int index) override;

Q_SIGNALS:
    void selectionChanged(const QVariant& selection);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int selectedIndex() const;
    void choose(int index);

    QString title_;
    QVariantList options_;
    QVariant selection_;
    Label label_;
    QRectF slideFrom_;
    AnimatedValue* slide_;
};

}  // namespace ZantrelUI
