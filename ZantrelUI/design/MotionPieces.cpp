#include "ZantrelUI/design/MotionPieces.h"

#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionEffect.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"

#include <QPainter>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace ZantrelUI {

namespace MS = ZantrelKit::MotionSpec;

namespace {

void hold(QWidget* container, QWidget* content) {
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    if (content != nullptr)
        layout->addWidget(content);
}

}  // namespace

RollingNumber::RollingNumber(double value, QString text, QFont font, QWidget* parent)
    : GlassWidget(parent), value_(value), text_(std::move(text)), font_(std::move(font)), roll_(new AnimatedValue(1, this)) {
    connect(roll_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

void RollingNumber::setValue(double value, const QString& text) {
    if (value == value_ && text == text_)
        return;
    rising_ = value >= value_;
    previous_ = text_;
    value_ = value;
    text_ = text;
    const auto animation = Motion::animation(MS::slow, ReduceMotion::of(this));
    roll_->setValue(0);
    roll_->animateTo(1, animation);  // none under reduced motion: swapped at once
    updateGeometry();
    update();
}

QSize RollingNumber::sizeHint() const {
    const QFontMetricsF metrics(font_);
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(text_))), static_cast<int>(std::ceil(metrics.height())));
}

void RollingNumber::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font_);
    const QColor ink = resolve(Ink::primary());
    const double p = roll_->value();
    const QFontMetricsF metrics(font_);
    const qreal h = metrics.height();
    if (!roll_->isAnimating() || previous_.isEmpty()) {
        painter.setPen(ink);
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text_);
        return;
    }
    // Characters are matched from the right, where digits keep their place value.
    const qsizetype n = std::max(text_.size(), previous_.size());
    const qreal right = metrics.horizontalAdvance(text_);
    qreal x = right;
    const qreal baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
    const qreal direction = rising_ ? -1 : 1;
    for (qsizetype i = 1; i <= n; ++i) {
        const QChar now = i <= text_.size() ? text_[text_.size() - i] : QChar();
        const QChar before = i <= previous_.size() ? previous_[previous_.size() - i] : QChar();
        const qreal w = now.isNull() ? 0 : metrics.horizontalAdvance(now);
        x -= w;
        if (now == before) {
            painter.setPen(ink);
            painter.drawText(QPointF(x, baseline), QString(now));
            continue;
        }
        QColor fading = ink;
        if (!before.isNull()) {
            fading.setAlphaF(static_cast<float>(ink.alphaF() * (1 - p)));
            painter.setPen(fading);
            painter.drawText(QPointF(x, baseline + direction * h * p), QString(before));
        }
        if (!now.isNull()) {
            QColor arriving = ink;
            arriving.setAlphaF(static_cast<float>(ink.alphaF() * p));
            painter.setPen(arriving);
            painter.drawText(QPointF(x, baseline - direction * h * (1 - p)), QString(now));
        }
    }
}

Arrive::Arrive(QWidget* content, int index, QWidget* parent)
    : GlassWidget(parent), content_(content), index_(index), entrance_(new AnimatedValue(0, this)) {
    hold(this, content);
    connect(entrance_, &AnimatedValue::changed, this, &Arrive::apply);
    apply();
}

double Arrive::delay() const { return reduced_ ? 0 : MS::stagger(index_); }

// Offscreen there is no appearance to wait for: a render of a never-shown view still
// draws the content.
double Arrive::contentOpacity() const {
    if (environment().offscreen)
        return 1;
    return shown_ ? entrance_->value() : 0;
}

double Arrive::contentOffset() const {
    if (environment().offscreen)
        return 0;
    return (reduced_ ? 0 : 8) * (1 - contentOpacity());
}

void Arrive::apply() {
    if (content_ == nullptr)
        return;
    MotionLayer& layer = MotionEffect::on(content_)->layer();
    layer.setValue(QStringLiteral("opacity"), contentOpacity());
    layer.setValue(QStringLiteral("translation.y"), contentOffset());
}

void Arrive::environmentChanged() {
    apply();
    GlassWidget::environmentChanged();
}

void Arrive::showEvent(QShowEvent* event) {
    GlassWidget::showEvent(event);
    if (shown_)
        return;  // once per appearance of this view, never hidden again
    shown_ = true;
    if (environment().offscreen) {
        entrance_->setValue(1);
        apply();
        return;
    }
    reduced_ = ReduceMotion::of(this);
    std::optional<Motion::Animation> animation = Motion::animation(MS::glide, reduced_);
    if (animation)
        animation = animation->delayed(delay());
    entrance_->animateTo(1, animation);
    apply();
}

HoverLift::HoverLift(QWidget* content, qreal radius, QWidget* parent)
    : GlassWidget(parent), content_(content), radius_(radius), hover_(new AnimatedValue(0, this)) {
    hold(this, content);
    // The highlight lies over the content and lets the pointer through.
    struct Highlight final : QWidget {
        HoverLift* owner;
        Highlight(HoverLift* o) : QWidget(o), owner(o) { setAttribute(Qt::WA_TransparentForMouseEvents); }
        void paintEvent(QPaintEvent*) override {
            QPainter painter(this);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(roundedPath(rect(), owner->radius_),
                             QColor::fromRgbF(1, 1, 1, static_cast<float>(owner->highlightOpacity())));
        }
    };
    overlay_ = new Highlight(this);
    connect(hover_, &AnimatedValue::changed, this, &HoverLift::apply);
    setAttribute(Qt::WA_Hover);
}

double HoverLift::highlightOpacity() const { return 0.05 * hover_->value(); }
double HoverLift::liftScale() const { return ReduceMotion::of(this) ? 1 : 1 + 0.02 * hover_->value(); }
double HoverLift::shadowOpacity() const { return ReduceMotion::of(this) ? 0 : 0.18 * hover_->value(); }

void HoverLift::setHovering(bool hovering) {
    if (hovering_ == hovering)
        return;
    hovering_ = hovering;
    hover_->animateTo(hovering ? 1 : 0, Motion::hover());
    apply();
}

void HoverLift::apply() {
    overlay_->setGeometry(rect());
    overlay_->raise();
    overlay_->update();
    MotionLayer& layer = MotionEffect::on(this)->layer();
    const double lifted = ReduceMotion::of(this) ? 0 : hover_->value();
    layer.setValue(QStringLiteral("transform.scale"), liftScale());
    layer.setValue(QStringLiteral("shadow.opacity"), shadowOpacity());
    layer.setValue(QStringLiteral("shadow.radius"), 10 * lifted);
    layer.setValue(QStringLiteral("shadow.y"), 4 * lifted);
    layer.setValue(QStringLiteral("shadow.corner"), radius_);
}

void HoverLift::enterEvent(QEnterEvent* event) {
    GlassWidget::enterEvent(event);
    setHovering(true);
}

void HoverLift::leaveEvent(QEvent* event) {
    GlassWidget::leaveEvent(event);
    setHovering(false);
}

Bump::Bump(QWidget* content, QVariant trigger, qreal scale, QWidget* parent)
    : GlassWidget(parent), content_(content), trigger_(std::move(trigger)), scale_(scale) {
    hold(this, content);
}

void Bump::setTrigger(const QVariant& trigger) {
    if (trigger == trigger_)
        return;
    trigger_ = trigger;
    if (ReduceMotion::of(this) || content_ == nullptr)
        return;
    MotionLayer& layer = MotionEffect::on(content_)->layer();
    const auto keyframe = [](double from, double to, double seconds, double delay) {
        LayerAnimation spring = Motion::springAnimation(QStringLiteral("transform.scale"), MS::quick);
        spring.from = from;
        spring.to = to;
        spring.duration = seconds;
        spring.fitsDuration = true;
        spring.delay = delay;
        return spring;
    };
    layer.add(QStringLiteral("bump.up"), keyframe(1, scale_, 0.1, 0));
    layer.add(QStringLiteral("bump.down"), keyframe(scale_, 1, 0.25, 0.1));
}

bool Bump::isBumping() const {
    MotionEffect* effect = MotionEffect::on(content_, false);
    return effect != nullptr && (effect->layer().hasAnimation(QStringLiteral("bump.up")) ||
                                 effect->layer().hasAnimation(QStringLiteral("bump.down")));
}

std::optional<QRectF> GrowSpace::frame(const QVariant& id) const {
    const auto found = frames_.find(id.toString());
    if (found == frames_.end())
        return std::nullopt;
    return found->second;
}

void GrowSpace::record(const QVariant& id, const QRectF& frame) { frames_[id.toString()] = frame; }

Grows::Grows(QWidget* content, QVariant id, GrowSpace* space, bool isSource, QWidget* parent)
    : GlassWidget(parent), content_(content), id_(std::move(id)), space_(space), isSource_(isSource) {
    hold(this, content);
}

QRectF Grows::frameInWindow() const { return QRectF(mapTo(window(), QPoint(0, 0)), size()); }

bool Grows::isGrowing() const {
    MotionEffect* effect = MotionEffect::on(content_, false);
    return effect != nullptr && effect->layer().hasAnimation(QStringLiteral("grow"));
}

void Grows::showEvent(QShowEvent* event) {
    GlassWidget::showEvent(event);
    if (!space_ || ReduceMotion::of(this) || content_ == nullptr)
        return;
    const QRectF mine = frameInWindow();
    const std::optional<QRectF> before = space_->frame(id_);
    if (before && *before != mine && !mine.isEmpty()) {
        // The shared frame moves from where it was to here: a transform from this frame to
        // the old one, springing back to none.
        QTransform start;
        start.translate(before->center().x() - mine.center().x(), before->center().y() - mine.center().y());
        start.translate(width() / 2.0, height() / 2.0);
        start.scale(before->width() / mine.width(), before->height() / mine.height());
        start.translate(-width() / 2.0, -height() / 2.0);
        LayerAnimation grow = Motion::springAnimation(QStringLiteral("transform"), MS::snappy);
        grow.from = start;
        grow.to = QTransform();
        MotionEffect::on(content_)->layer().add(QStringLiteral("grow"), grow);
    }
    if (isSource_)
        space_->record(id_, mine);
}

void Grows::moveEvent(QMoveEvent* event) {
    GlassWidget::moveEvent(event);
    if (isSource_ && space_ && isVisible())
        space_->record(id_, frameInWindow());
}

void Grows::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    if (isSource_ && space_ && isVisible())
        space_->record(id_, frameInWindow());
}

StateSymbol::StateSymbol(StateFace face, qreal size, double turnsFor, QWidget* parent)
    : GlassWidget(parent), face_(face), previous_(face), size_(size), turnsFor_(turnsFor), change_(new AnimatedValue(1, this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
    setFixedSize(static_cast<int>(std::ceil(size)), static_cast<int>(std::ceil(size)));
    connect(change_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    rebuild();
}

qreal StateSymbol::lineWidth() const { return std::max(size_ / 12, 1.5); }

qreal StateSymbol::numberSize() const { return (face_.count < 10 ? 0.5 : 0.4) * size_; }

void StateSymbol::setFace(const StateFace& face) {
    if (face == face_)
        return;
    // Only a change into `done` seen here draws the check.
    drawDone_ = face.kind == StateFace::Kind::done && face_.kind != StateFace::Kind::done;
    previous_ = face_;
    face_ = face;
    change_->setValue(0);
    change_->animateTo(1, Motion::animation(MS::brief, ReduceMotion::of(this)));
    rebuild();
    update();
}

void StateSymbol::environmentChanged() {
    rebuild();
    update();
}

void StateSymbol::rebuild() {
    const bool offscreen = environment().offscreen;
    const bool wantsRing = face_.kind == StateFace::Kind::working && !offscreen;
    const bool wantsCheck = face_.kind == StateFace::Kind::done && drawDone_ && !offscreen;
    if (wantsRing && !ring_) {
        ring_ = new TurningRing(environment().accent.ink, lineWidth(), turnsFor_, this);
        ring_->setGeometry(rect());
        ring_->show();
    } else if (!wantsRing && ring_) {
        delete ring_.data();
    }
    if (ring_)
        ring_->setColor(environment().accent.ink);
    if (wantsCheck && !check_) {
        check_ = new CheckDraw(size_, this);
        check_->move(0, 0);
        check_->show();
    } else if (!wantsCheck && check_) {
        delete check_.data();
    }
}

void StateSymbol::paintFace(QPainter& painter, const StateFace& face) {
    const ColorScheme s = scheme();
    const qreal lw = lineWidth();
    const QRectF box(0, 0, size_, size_);
    const QRectF inner = box.adjusted(lw / 2, lw / 2, -lw / 2, -lw / 2);
    const auto border = [&](const DynamicColor& color, Qt::PenStyle style = Qt::SolidLine) {
        QPen pen(color.resolve(s), lw, style, Qt::RoundCap);
        if (style == Qt::CustomDashLine) {
            const qreal d = (size_ - lw) * std::numbers::pi / 20 / lw;
            pen.setDashPattern({d, d});
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(inner);
    };
    const auto symbol = [&](const QString& name, qreal fraction, const QColor& color) {
        const qreal side = fraction * size_;
        Symbols::paint(painter, name, QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side), color);
    };
    switch (face.kind) {
    case StateFace::Kind::found: {
        QPainterPath circle;
        circle.addEllipse(box);
        painter.fillPath(circle, Ink::primary().resolve(s));
        QFont font = Fonts::system((face.count < 10 ? 0.5 : 0.4) * size_, QFont::Bold, true);
        painter.setFont(font);
        painter.setPen(Surface::windowBottom().resolve(s));
        painter.drawText(box, Qt::AlignCenter, QString::number(face.count));
        break;
    }
    case StateFace::Kind::waiting:
        border(Ink::tertiary());
        break;
    case StateFace::Kind::working:
        if (environment().offscreen)
            border(environment().accent.ink, Qt::CustomDashLine);
        break;  // otherwise the turning ring draws it
    case StateFace::Kind::done: {
        if (check_)
            break;
        QPainterPath circle;
        circle.addEllipse(box);
        painter.fillPath(circle, environment().accent.gradient(box, s));
        symbol(QStringLiteral("checkmark"), 0.46, Ink::onAccent().resolve(s));
        break;
    }
    case StateFace::Kind::needsAction:
        border(Ink::danger());
        symbol(QStringLiteral("key.fill"), 0.44, Ink::danger().resolve(s));
        break;
    case StateFace::Kind::off: {
        border(Ink::tertiary());
        const QRectF bar(box.center().x() - 0.21 * size_, box.center().y() - lw / 2, 0.42 * size_, lw);
        painter.fillPath(capsulePath(bar), Ink::tertiary().resolve(s));
        break;
    }
    }
}

void StateSymbol::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double p = change_->isAnimating() ? change_->value() : 1;
    if (p < 1) {
        painter.setOpacity(1 - p);
        paintFace(painter, previous_);
        painter.setOpacity(p);
    }
    paintFace(painter, face_);
}

}  // namespace ZantrelUI
