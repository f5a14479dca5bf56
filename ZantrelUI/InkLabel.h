#pragma once

// A plain-text label in a font token and an ink colour that follows the appearance of its
// window, so that texts from the app's tables or the user show as written, never as markup.

#include "ZantrelUI/GlassAccessibility.h"
#include "ZantrelUI/Tokens.h"

#include <QLabel>

namespace ZantrelUI {

class InkLabel final : public QLabel, public AccessibleSource {
    Q_OBJECT
public:
    InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, bool wraps = true,
             QWidget* parent = nullptr);

    const DynamicColor& ink() const { return ink_; }
    void setInk(const DynamicColor& ink);
    // The colour in force now.
    QColor resolvedInk() const;
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
