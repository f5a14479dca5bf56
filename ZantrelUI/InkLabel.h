#pragma once

// A plain-text label drawn in one of the kit's dynamic colours, recoloured whenever its
// appearance may have changed (placed elsewhere, shown, its environment changed).

#include "ZantrelUI/Tokens.h"

#include <QLabel>

namespace ZantrelUI {

class InkLabel final : public QLabel {
    Q_OBJECT
public:
    InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, QWidget* parent = nullptr);
    InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, bool wraps, QWidget* parent = nullptr);

    void setInk(const DynamicColor& ink);
    const DynamicColor& ink() const { return ink_; }
    // The colour in force now.
    QColor resolvedInk() const;
    // Wraps onto further lines instead of widening the row.
    void setWrapping(bool wraps);

protected:
    bool event(QEvent* event) override;

private:
    void recolor();

    DynamicColor ink_;
};

}  // namespace ZantrelUI
