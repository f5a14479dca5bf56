#include "ZantrelUI/design/ChipPicker.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/ReduceMotion.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace ZantrelUI {

namespace {

constexpr qreal inset = 2;
constexpr qreal spacing = 2;
constexpr qreal chipPadding = 10;
constexpr qreal chipHeight = 24;

QFont chipFont(bool on) { return Fonts::system(12, on ? QFont::DemiBold : QFont::Medium); }

QRectF lerp(const QRectF& a, const QRectF& b, double f) {
    return QRectF(a.x() + (b.x() - a.x()) * f, a.y() + (b.y() - a.y()) * f, a.width() + (b.width() - a.width()) * f,
                  a.height() + (b.height() - a.height()) * f);
}

}  // namespace

ChipPicker::ChipPicker(QString title, QVariantList options, QVariant selection, Label label, QWidget* parent)
    : GlassWidget(parent), title_(std::move(title)), options_(std::move(options)), selection_(std::move(selection)),
      label_(std::move(label)), slide_(new AnimatedValue(1, this)) {
    ensureGlassAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(slide_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

std::vector<QRectF> ChipPicker::chipRects() const {
    // Every chip is measured with its semibold text, on or off, so the row never changes width.
    const QFontMetricsF metrics(chipFont(true));
    std::vector<QRectF> rects;
    qreal x = inset;
    const qreal h = std::max(chipHeight, metrics.height());
    for (const QVariant& option : options_) {
        const qreal w = std::ceil(metrics.horizontalAdvance(label_(option))) + 2 * chipPadding;
        rects.emplace_back(x, inset, w, h);
        x += w + spacing;
    }
    return rects;
}

QSize ChipPicker::sizeHint() const {
    const std::vector<QRectF> rects = chipRects();
    if (rects.empty())
        return QSize(static_cast<int>(2 * inset), static_cast<int>(chipHeight + 2 * inset));
    return QSize(static_cast<int>(std::ceil(rects.back().right() + inset)),
                 static_cast<int>(std::ceil(rects.back().bottom() + inset)));
}

int ChipPicker::selectedIndex() const { return static_cast<int>(options_.indexOf(selection_)); }

QRectF ChipPicker::litRect() const {
    const int index = selectedIndex();
    const std::vector<QRectF> rects = chipRects();
    if (index < 0 || index >= static_cast<int>(rects.size()))
        return {};
    const double f = slide_->value();
    if (!slide_->isAnimating() || slideFrom_.isNull())
        return rects[index];
    return lerp(slideFrom_, rects[index], f);
}

void ChipPicker::setSelection(const QVariant& option) {
    const int index = static_cast<int>(options_.indexOf(option));
    if (index >= 0)
        choose(index);
}

void ChipPicker::choose(int index) {
    if (index < 0 || index >= options_.size() || options_[index] == selection_)
        return;
    slideFrom_ = litRect();
    selection_ = options_[index];
    // The lit capsule moves from the old chip to the new one, like a shared frame.
    slide_->setValue(0);
    slide_->animateTo(1, Motion::spring(ZantrelKit::MotionSpec::snappy, ReduceMotion::of(this)));
    update();
    Q_EMIT selectionChanged(selection_);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::SelectionAdd);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
}

void ChipPicker::mousePressEvent(QMouseEvent* event) {
    const std::vector<QRectF> rects = chipRects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (capsulePath(rects[i]).contains(event->position())) {
            choose(static_cast<int>(i));
            return;
        }
    }
    GlassWidget::mousePressEvent(event);
}

void ChipPicker::keyPressEvent(QKeyEvent* event) {
    const int index = selectedIndex();
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) {
        choose(std::max(0, index - 1));
    } else if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) {
        choose(std::min(static_cast<int>(options_.size()) - 1, index + 1));
    } else {
        GlassWidget::keyPressEvent(event);
    }
}

void ChipPicker::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(0, 0, sizeHint().width(), sizeHint().height());
    painter.fillPath(capsulePath(outer), Surface::faintFill().resolve(s));

    const QRectF lit = litRect();
    if (!lit.isNull()) {
        const QPainterPath shape = capsulePath(lit);
        QColor shadow = accent.top.resolve(s);
        shadow.setAlphaF(0.3f);
        paintShadow(painter, shape, Shadow{shadow, 5, QPointF(0, 1)});
        painter.fillPath(shape, accent.gradient(lit, s));
        strokeCapsuleInside(painter, lit, QColor::fromRgbF(1, 1, 1, 0.25f));
    }
    const std::vector<QRectF> rects = chipRects();
    const int chosen = selectedIndex();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const bool on = static_cast<int>(i) == chosen;
        painter.setFont(chipFont(on));
        painter.setPen(on ? Ink::onAccent().resolve(s) : Ink::secondary().resolve(s));
        painter.drawText(rects[i], Qt::AlignCenter | Qt::TextSingleLine, label_(options_[static_cast<qsizetype>(i)]));
    }
    strokeCapsuleInside(painter, outer, hasFocus() ? accent.top.resolve(s) : Surface::track().resolve(s));
}

QString ChipPicker::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? title_ : QString();
}

AccessibleChild ChipPicker::accessibleChild(int index) const {
    AccessibleChild child;
    child.role = QAccessible::RadioButton;
    child.name = label_(options_.value(index));
    child.state.checkable = true;
    child.state.selectable = true;
    child.state.checked = index == selectedIndex();
    child.state.selected = child.state.checked;
    const std::vector<QRectF> rects = chipRects();
    if (index >= 0 && index < static_cast<int>(rects.size()))
        child.rect = rects[static_cast<std::size_t>(index)].toAlignedRect();
    return child;
}

void ChipPicker::activateAccessibleChild(int index) { choose(index); }

}  // namespace ZantrelUI
