#include "ZantrelUI/design/InkText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace ZantrelUI {

InkText::InkText(QString text, QFont font, DynamicColor color, Qt::Alignment alignment, QWidget* parent)
    : GlassWidget(parent), text_(std::move(text)), font_(std::move(font)), color_(color), alignment_(alignment) {
    ensureGlassAccessibility();
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void InkText::setText(QString text) {
    if (text_ == text)
        return;
    text_ = std::move(text);
    updateGeometry();
    update();
}

void InkText::setLineSpacing(qreal spacing) {
    lineSpacing_ = spacing;
    updateGeometry();
    update();
}

void InkText::setMaximumTextWidth(std::optional<qreal> width) {
    maximumWidth_ = width;
    updateGeometry();
    update();
}

qreal InkText::layoutWidth(qreal width) const { return maximumWidth_ ? std::min(width, *maximumWidth_) : width; }

qreal InkText::build(QTextLayout& layout, qreal width) const {
    const qreal lineWidth = layoutWidth(width);
    // The text block sits in the widget the way the alignment says; its lines align within it.
    const qreal blockLeft = alignment_.testFlag(Qt::AlignHCenter) ? (width - lineWidth) / 2
                            : alignment_.testFlag(Qt::AlignRight) ? width - lineWidth
                                                          : 0;
    QTextOption option(alignment_ & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setText(text_);
    layout.setFont(font_);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    bool first = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (!first)
            y += lineSpacing_;
        first = false;
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(blockLeft, y));
        y += line.height();
    }
    layout.endLayout();
    return std::ceil(y);
}

qreal InkText::textHeight(qreal width) const {
    QTextLayout layout;
    return build(layout, width);
}

int InkText::heightForWidth(int width) const { return static_cast<int>(textHeight(width)); }

QSize InkText::sizeHint() const {
    // One line when room allows, wrapped at the maximum width otherwise.
    const qreal natural = std::ceil(QFontMetricsF(font_).horizontalAdvance(text_)) + 1;
    const qreal width = maximumWidth_ ? std::min(natural, *maximumWidth_) : natural;
    return QSize(static_cast<int>(width), static_cast<int>(textHeight(width)));
}

QSize InkText::minimumSizeHint() const {
    return QSize(0, static_cast<int>(std::ceil(QFontMetricsF(font_).height())));
}

QString InkText::accessibleText(QAccessible::Text kind) const { return kind == QAccessible::Name ? text_ : QString(); }

void InkText::paintEvent(QPaintEvent*) {
    QTextLayout layout;
    const qreal h = build(layout, width());
    QPainter painter(this);
    painter.setPen(color_.resolve(scheme()));
    const qreal top = alignment_.testFlag(Qt::AlignVCenter) ? (height() - h) / 2 : 0;
    layout.draw(&painter, QPointF(0, top));
}

}  // namespace ZantrelUI
