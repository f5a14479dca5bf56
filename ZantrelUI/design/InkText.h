#pragma once

// Plain text painted in a colour token of the kit: wraps to the width it is given (up to
// an optional maximum), with optional extra space between lines, and tells assistive
// technology its text (as a heading when asked).

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

#include <optional>

class QTextLayout;

namespace ZantrelUI {

class InkText final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    InkText(QString text, QFont font, DynamicColor color, Qt::Alignment alignment = Qt::AlignLeft,
            QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(QString text);
    // Extra space between wrapped lines, in points.
    void setLineSpacing(qreal spacing);
    // The widest the text is laid out; none = as wide as the widget.
    void setMaximumTextWidth(std::optional<qreal> width);
    void setHeading(bool heading) { heading_ = heading; }
    QFont font() const { return font_; }

    // The height the text takes at `width`.
    qreal textHeight(qreal width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override {
        return heading_ ? QAccessible::Heading : QAccessible::StaticText;
    }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal layoutWidth(qreal width) const;
    // Lays the text out in `layout` at `width`, lines aligned within it; its height.
    qreal build(QTextLayout& layout, qreal width) const;

    QString text_;
    QFont font_;
    DynamicColor color_;
    Qt::Alignment alignment_;
    qreal lineSpacing_ = 0;
    std::optional<qreal> maximumWidth_;
    bool heading_ = false;
};

}  // namespace ZantrelUI
