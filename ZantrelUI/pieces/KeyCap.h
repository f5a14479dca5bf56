#pragma once

// One key of a keyboard shortcut drawn as a small key top, so a shortcut reads as a row of
// keys. The text is the caller's and is shown as given.

#include "ZantrelUI/context/Environment.h"

namespace ZantrelUI {

class KeyCap final : public GlassWidget {
public:
    static constexpr qreal minimumSide = 20;
    static constexpr qreal padding = 5;
    static constexpr qreal radius = 5;
    static constexpr qreal lipHeight = 1.5;
    static constexpr qreal lipInset = 3;

    explicit KeyCap(const QString& text = {}, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);

    // The lower lip in this widget's coordinates.
    QRectF lipRect() const;
    static QFont font();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace ZantrelUI
