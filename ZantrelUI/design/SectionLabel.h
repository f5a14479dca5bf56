#pragma once

// A small uppercase heading over a group of settings.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

namespace ZantrelUI {

class SectionLabel final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    explicit SectionLabel(QString text, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    // What is drawn: the text in capitals.
    QString shownText() const { return text_.toUpper(); }
    QFont font() const;

    QSize sizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::Heading; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace ZantrelUI
