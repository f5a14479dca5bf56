#pragma once

// A plain-text label drawn in one of the kit's dynamic colours, recoloured whenever its
// appearance may have changed (placed elsewhere, shown, its environment changed), so that
// texts from the app's tables or the user show as written, never as markup.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Tokens.h"

#include <QLabel>

namespace ZantrelUI {

class InkLabel final : public QLabel, public AccessibleSource {
    Q_OBJECT
public:
    InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, QWidget* parent = nullptr);
    // The same, wrapping or not from the start.
    InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, bool wraps, QWidget* parent = nullptr);

    void setInk(const DynamicColor& ink);
    const DynamicColor& ink() const { return ink_; }
    // The colour in force now.
    QColor resolvedInk() const;
    // Wraps onto further lines instead of widening the row.
    void setWrapping(bool wraps);
    // Read by assistive technology as a heading.
    void setHeading(bool heading) { heading_ = heading; }
    bool isHeading() const { return heading_; }

    QAccessible::Role accessibleRole() const override { return heading_ ? QAccessible::Heading : QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    bool event(QEvent* event) override;

private:
    void recolor();

    DynamicColor ink_;
    bool heading_ = false;
};

}  // namespace ZantrelUI
