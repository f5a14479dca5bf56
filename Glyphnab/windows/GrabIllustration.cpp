#include "Glyphnab/windows/GrabIllustration.h"

#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QPainter>

#include <cmath>

namespace Glyphnab {

using namespace ZantrelUI;

namespace {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace

GrabIllustration::GrabIllustration(QList<qreal> widths, QWidget* parent) : GlassWidget(parent), widths_(std::move(widths)) {
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

qreal GrabIllustration::rowWidth() const {
    return screenCardSize.width() + spacing + arrowSide + spacing + clipboardCardSize.width();
}

QSize GrabIllustration::sizeHint() const {
    return QSize(static_cast<int>(std::ceil(rowWidth() + 2 * room)),
                 static_cast<int>(std::ceil(screenCardSize.height() + 2 * room)));
}

QRectF GrabIllustration::screenCardRect() const {
    const qreal left = (width() - rowWidth()) / 2;
    const qreal top = (height() - screenCardSize.height()) / 2;
    return QRectF(QPointF(left, top), screenCardSize);
}

QRectF GrabIllustration::arrowRect() const {
    const QRectF screen = screenCardRect();
    return QRectF(screen.right() + spacing, screen.center().y() - arrowSide / 2, arrowSide, arrowSide);
}

QRectF GrabIllustration::clipboardCardRect() const {
    const QRectF arrow = arrowRect();
    return QRectF(QPointF(arrow.right() + spacing, screenCardRect().center().y() - clipboardCardSize.height() / 2),
                  clipboardCardSize);
}

QRectF GrabIllustration::lineRect(int index) const {
    const QRectF screen = screenCardRect();
    return QRectF(screen.left() + lineInset, screen.top() + lineInset + index * (lineHeight + lineSpacing),
                  widths_.value(index), lineHeight);
}

QRectF GrabIllustration::selectionRect() const { return selectionFrame.translated(screenCardRect().topLeft()); }

void GrabIllustration::paintEvent(QPaintEvent*) {
    Platform::assertMain();
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF screen = screenCardRect();
    paintGlassCard(painter, screen, 14, s, true);
    painter.save();
    painter.setClipPath(roundedPath(screen, 14));  // lines wider than the card stay inside it
    for (int i = 0; i < widths_.size(); ++i)
        painter.fillPath(capsulePath(lineRect(i)), withOpacity(Ink::tertiary().resolve(s), lineOpacity(i)));
    painter.restore();
    const QRectF selection = selectionRect();
    const QPainterPath selectionShape = roundedPath(selection, 5);
    paintShadow(painter, selectionShape, Shadow{withOpacity(accent.top.resolve(s), 0.35), 8, QPointF(0, 0)});
    painter.fillPath(selectionShape, withOpacity(accent.ink.resolve(s), 0.14));
    strokeRoundedInside(painter, selection, 5, accent.ink.resolve(s), 1.5);

    Symbols::paint(painter, QStringLiteral("arrow.right"), arrowRect(), Ink::tertiary().resolve(s));

    const QRectF clipboard = clipboardCardRect();
    paintGlassCard(painter, clipboard, 14, s, true);
    const QFont pillFont = Fonts::system(11, QFont::Bold, true);
    const QString pillText = QStringLiteral("Aa");
    const QFontMetricsF metrics(pillFont);
    const qreal glyph = 11;
    const QSizeF pillSize(8 + glyph + 6 + metrics.horizontalAdvance(pillText) + 8, 4 + std::max(glyph, metrics.height()) + 4);
    const QRectF pill(clipboard.topLeft() + QPointF(14, 14), pillSize);
    painter.fillPath(capsulePath(pill), accent.gradient(pill, s));
    const QColor onAccent = Ink::onAccent().resolve(s);
    Symbols::paint(painter, QStringLiteral("doc.on.clipboard.fill"),
                   QRectF(pill.left() + 8, pill.center().y() - glyph / 2, glyph, glyph), onAccent);
    painter.setFont(pillFont);
    painter.setPen(onAccent);
    painter.drawText(QRectF(pill.left() + 8 + glyph + 6, pill.top(), pill.width(), pill.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, pillText);
    const QColor result = Ink::secondary().resolve(s);
    const QRectF first(pill.left(), pill.bottom() + 8, 96, 6);
    painter.fillPath(capsulePath(first), result);
    painter.fillPath(capsulePath(QRectF(first.left(), first.bottom() + 8, 74, 6)), result);
}

}  // namespace Glyphnab
