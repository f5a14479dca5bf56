#pragma once

// A button drawn as its title alone, in the accent's ink: the quiet second choice beside
// pill buttons. Pressed or disabled it dims.

#include "ZantrelUI/context/Environment.h"

#include <QAbstractButton>

namespace ZantrelUI {

class PlainButton final : public QAbstractButton {
    Q_OBJECT
public:
    // 12-point semibold unless given another font.
    explicit PlainButton(const QString& title, QWidget* parent = nullptr);
    PlainButton(const QString& title, const QFont& font, QWidget* parent = nullptr);

    QColor inkColor() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

}  // namespace ZantrelUI
