#include "Glyphnab/windows/RouteCard.h"

#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <mutex>

namespace Glyphnab {

using namespace ZantrelUI;

namespace {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

Shadow accentGlow(const Accent& accent, ColorScheme s) {
    return Shadow{withOpacity(accent.top.resolve(s), 0.18), 12, QPointF(0, 2)};
}

// One element read as a button labelled by the title, selected when chosen; its texts and
// footer controls stay reachable below it.
class RouteCardAccessible final : public QAccessibleWidget {
public:
    explicit RouteCardAccessible(RouteCard* card) : QAccessibleWidget(card, QAccessible::Button) {}
    RouteCard* card() const { return static_cast<RouteCard*>(widget()); }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? card()->title() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = card()->chosen();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            card()->choose();
    }
};

QAccessibleInterface* routeCardFactory(const QString&, QObject* object) {
    if (auto* card = qobject_cast<RouteCard*>(object))
        return new RouteCardAccessible(card);
    return nullptr;
}

QLabel* textLabel(const QString& text, const QFont& font, bool wraps, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setWordWrap(wraps);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

}  // namespace

qreal RouteCard::shadowRoom() { return std::ceil(std::max(shadowMargin(Shadow{QColor(), 10, QPointF(0, 3)}),
                                                          shadowMargin(Shadow{QColor(), 12, QPointF(0, 2)}))); }

RouteCard::RouteCard(const QString& symbol, const QString& title, const QString& detail, bool chosen,
                     std::function<void()> choose, QWidget* footer, QWidget* parent)
    : GlassWidget(parent), symbol_(symbol), title_(title), chosen_(chosen), choose_(std::move(choose)),
      titleLabel_(textLabel(title, Fonts::headline(), false, this)),
      detail_(textLabel(detail, Fonts::footnote(), true, this)), footer_(footer),
      tile_(new QSpacerItem(static_cast<int>(tileSide), static_cast<int>(tileSide), QSizePolicy::Fixed, QSizePolicy::Fixed)),
      mark_(new QSpacerItem(static_cast<int>(markSide), static_cast<int>(markSide), QSizePolicy::Fixed, QSizePolicy::Fixed)) {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(routeCardFactory); });
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setFocusPolicy(Qt::StrongFocus);

    const int room = static_cast<int>(shadowRoom());
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(room + int(inset), room + int(inset), room + int(inset), room + int(inset));
    stack->setSpacing(10);
    auto* header = new QHBoxLayout();
    header->setSpacing(12);
    // A box layout puts no spacing beside spacer items, so the gaps are explicit.
    header->addItem(tile_);
    header->addSpacing(12);
    header->addWidget(titleLabel_, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addSpacing(12);
    header->addItem(mark_);
    stack->addLayout(header);
    stack->addWidget(detail_);
    if (footer_)
        stack->addWidget(footer_);
    recolor();
}

void RouteCard::setChosen(bool chosen) {
    if (chosen_ == chosen)
        return;
    chosen_ = chosen;
    update();
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void RouteCard::choose() {
    Platform::assertMain();
    if (choose_)
        choose_();
}

QRectF RouteCard::cardRect() const {
    const qreal room = shadowRoom();
    return QRectF(rect()).adjusted(room, room, -room, -room);
}

namespace {
// A layout may give a fixed item the whole row's height; the piece sits centred in it.
QRectF centredSquare(const QRect& slot, qreal side) {
    return QRectF(QPointF(slot.center()) + QPointF(0.5, 0.5) - QPointF(side / 2, side / 2), QSizeF(side, side));
}
}  // namespace

QRectF RouteCard::tileRect() const { return centredSquare(tile_->geometry(), tileSide); }
QRectF RouteCard::markRect() const { return centredSquare(mark_->geometry(), markSide); }

void RouteCard::recolor() {
    const ColorScheme s = scheme();
    for (auto [label, token] : {std::pair{titleLabel_, &Ink::primary()}, std::pair{detail_, &Ink::secondary()}}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, token->resolve(s));
        label->setPalette(palette);
    }
}

void RouteCard::environmentChanged() {
    recolor();
    update();
}

bool RouteCard::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Polish)
        recolor();
    return GlassWidget::event(event);
}

void RouteCard::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = cardRect();
    const QPainterPath shape = roundedPath(card, radius);
    if (chosen_)
        paintShadow(painter, shape, accentGlow(accent, s));
    paintGlassCard(painter, card, radius, s, true);
    if (chosen_)
        strokeRoundedInside(painter, card, radius, withOpacity(accent.ink.resolve(s), 0.85), 1.5);

    const QRectF tile = tileRect();
    const QPainterPath tileShape = roundedPath(tile, 9);
    if (chosen_)
        painter.fillPath(tileShape, accent.gradient(tile, s));
    else
        painter.fillPath(tileShape, Surface::faintFill().resolve(s));
    const qreal glyph = 17;
    Symbols::paint(painter, symbol_, QRectF(tile.center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)),
                   (chosen_ ? Ink::onAccent() : Ink::secondary()).resolve(s));
    Symbols::paint(painter, chosen_ ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"), markRect(),
                   chosen_ ? accent.ink.resolve(s) : Ink::tertiary().resolve(s));

    // Outside the outline, so it reads on the chosen card's border as well.
    if (hasFocus()) {
        QColor ring = accent.top.resolve(s);
        ring.setAlphaF(0.8f);
        strokeRoundedInside(painter, card.adjusted(-3.5, -3.5, 3.5, 3.5), radius + 3.5, ring, 2);
    }
}

RouteCard* RouteCard::neighbour(int step) const {
    if (parentWidget() == nullptr)
        return nullptr;
    QList<RouteCard*> cards = parentWidget()->findChildren<RouteCard*>(Qt::FindDirectChildrenOnly);
    std::ranges::stable_sort(cards, [](const RouteCard* a, const RouteCard* b) { return a->y() < b->y(); });
    const qsizetype at = cards.indexOf(const_cast<RouteCard*>(this)) + step;
    return at >= 0 && at < cards.size() ? cards.at(at) : nullptr;
}

void RouteCard::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!plain) {
        GlassWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose();
        return;
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Right: {
        const bool back = event->key() == Qt::Key_Up || event->key() == Qt::Key_Left;
        if (RouteCard* next = neighbour(back ? -1 : 1))
            next->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return;  // at either end the focus stays, like a list's
    }
    default:
        GlassWidget::keyPressEvent(event);
    }
}

void RouteCard::focusInEvent(QFocusEvent* event) {
    GlassWidget::focusInEvent(event);
    update();
}

void RouteCard::focusOutEvent(QFocusEvent* event) {
    GlassWidget::focusOutEvent(event);
    update();
}

void RouteCard::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton && cardRect().contains(event->position());
    event->setAccepted(pressedInside_);
}

void RouteCard::mouseReleaseEvent(QMouseEvent* event) {
    const bool tap = pressedInside_ && event->button() == Qt::LeftButton && cardRect().contains(event->position());
    pressedInside_ = false;
    if (tap)
        choose();
}

}  // namespace Glyphnab
