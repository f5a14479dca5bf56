#pragma once

// A layout slot for a widget that draws past its outline (a glow, a shadow): the layout
// places and spaces the outline, and the widget is given the slot grown by its overhang,
// so the glow takes no room from the page's spacing.

#include <QMargins>
#include <QWidgetItem>

namespace ZantrelUI {

class OverhangItem final : public QWidgetItem {
public:
    // `widget` must already be a child of the layout's widget.
    OverhangItem(QWidget* widget, QMargins overhang);

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    QSize maximumSize() const override;
    int heightForWidth(int width) const override;
    int minimumHeightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    QRect geometry() const override { return slot_; }

    const QMargins& overhang() const { return overhang_; }

private:
    QSize withoutOverhang(QSize size) const;

    QMargins overhang_;
    QRect slot_;
};

}  // namespace ZantrelUI
