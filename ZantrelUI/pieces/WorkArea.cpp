#include "ZantrelUI/pieces/WorkArea.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>

#include <algorithm>
#include <cmath>

namespace ZantrelUI {

namespace AreaSidebarText {

QString spoken(const std::optional<AreaBusy>& busy) {
    if (!busy)
        return {};
    if (busy->kind == AreaBusy::Kind::unknown)
        return ZantrelKit::Copy::Flow::working();
    // std::round rounds halves away from zero.
    return ZantrelKit::Copy::Flow::busy(static_cast<std::int64_t>(std::round(busy->value * 100)));
}

QString value(const std::optional<AreaBusy>& busy, std::optional<int> count, const QString& countSpoken) {
    QStringList parts;
    if (const QString b = spoken(busy); !b.isEmpty())
        parts << b;
    if (count && *count > 0 && !countSpoken.isEmpty())
        parts << countSpoken;
    return parts.join(QStringLiteral(", "));
}

qreal barWidth(double fraction) {
    if (std::isnan(fraction))
        return 3;
    return 24 * std::clamp(fraction, 0.125, 1.0);
}

}  // namespace AreaSidebarText

// The 40 × 32 face: fill, symbol and busy bar.
class AreaTileFace final : public GlassWidget {
public:
    explicit AreaTileFace(AreaTile* tile) : GlassWidget(tile), tile_(tile) {
        setFixedSize(40, 32);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    static QRectF barRect() { return QRectF(8, 32 - 3 - 3, 24, 3); }

protected:
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = scheme();
        const Accent accent = environment().accent;
        const double lit = std::clamp(tile_->lit().value(), 0.0, 1.0);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect());
        const QPainterPath shape = roundedPath(r, 8);
        if (lit > 0) {
            painter.setOpacity(lit);
            QColor shadow = accent.top.resolve(s);
            shadow.setAlphaF(0.35f);
            paintShadow(painter, shape, Shadow{shadow, 6, QPointF(0, 2)});
            painter.fillPath(shape, accent.gradient(r, s));
            painter.setOpacity(1);
        }
        const bool selected = tile_->isSelected();
        const QColor ink = (selected ? Ink::onAccent() : Ink::secondary()).resolve(s);
        const qreal lift = 3 * tile_->lift().value();
        Symbols::paint(painter, tile_->face().symbol, QRectF(11, 7 - lift, 18, 18), ink);
        const std::optional<AreaBusy>& busy = tile_->face().busy;
        if (!busy)
            return;
        QColor track = selected ? Ink::onAccent().resolve(s) : Surface::track().resolve(s);
        if (selected)
            track.setAlphaF(track.alphaF() * 0.3f);
        painter.fillPath(capsulePath(barRect()), track);
        if (busy->kind == AreaBusy::Kind::fraction) {
            const QColor bar = selected ? Ink::onAccent().resolve(s) : accent.ink.resolve(s);
            painter.fillPath(capsulePath(QRectF(barRect().topLeft(), QSizeF(tile_->barWidth(), 3))), bar);
        }
    }

private:
    AreaTile* tile_;
};

namespace {

qreal targetBarWidth(const std::optional<AreaBusy>& busy) {
    if (!busy || busy->kind != AreaBusy::Kind::fraction)
        return 0;
    return AreaSidebarText::barWidth(busy->value);
}

}  // namespace

AreaTile::AreaTile(Face face, QWidget* parent)
    : QAbstractButton(parent),
      face_(std::move(face)),
      lit_(new AnimatedValue(0, this)),
      lift_(new AnimatedValue(face_.busy ? 1 : 0, this)),
      bar_(new AnimatedValue(targetBarWidth(face_.busy), this)) {
    ensureGlassAccessibility();
    setFixedWidth(64);
    setFocusPolicy(Qt::TabFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(3);
    faceView_ = new AreaTileFace(this);
    bump_ = new Bump(faceView_, face_.bumps, 1.12, this);
    bump_->setFixedSize(40, 32);
    bump_->setAttribute(Qt::WA_TransparentForMouseEvents);
    column->addWidget(bump_, 0, Qt::AlignHCenter);

    auto* row = new QHBoxLayout;
    row->setSpacing(3);
    row->addStretch(1);
    QFont font = Fonts::caption();
    font.setWeight(QFont::Medium);
    auto* title = new InkLabel(QString(), font, Ink::secondary(), true, this);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Inside a button a label would take the button's text role and miss its ink.
    title->setForegroundRole(QPalette::WindowText);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    title->setMaximumWidth(64);
    title_ = title;
    row->addWidget(title, 0, Qt::AlignTop);
    row->addStretch(1);
    column->addLayout(row);

    for (AnimatedValue* value : {lit_, lift_, bar_})
        connect(value, &AnimatedValue::changed, faceView_, qOverload<>(&QWidget::update));
    faceView_->installEventFilter(this);
    sync();
}

void AreaTile::setFace(Face face) {
    const bool busyChanged = face.busy != face_.busy;
    const bool wasBusy = face_.busy.has_value();
    const bool wasFraction = face_.busy && face_.busy->kind == AreaBusy::Kind::fraction;
    face_ = std::move(face);
    const qreal width = targetBarWidth(face_.busy);
    if (wasFraction && width > 0 && width != bar_->target())
        bar_->animateTo(width, Motion::spring(ZantrelKit::MotionSpec::snappy, ReduceMotion::of(this)));
    else if (width != bar_->target())
        bar_->setValue(width);
    if (busyChanged && wasBusy != face_.busy.has_value())
        lift_->animateTo(face_.busy ? 1 : 0, Motion::spring(ZantrelKit::MotionSpec::snappy, ReduceMotion::of(this)));
    // A tile pops when its counter differs from the one it last drew.
    bump_->setTrigger(face_.bumps);
    sync();
}

void AreaTile::setSelected(bool selected, bool animated) {
    if (selected == selected_)
        return;
    selected_ = selected;
    const double target = selected ? 1 : 0;
    if (animated)
        lit_->animateTo(target, Motion::spring(ZantrelKit::MotionSpec::snappy, ReduceMotion::of(this)));
    else
        lit_->setValue(target);
    sync();
}

qreal AreaTile::barWidth() const {
    if (!face_.busy || face_.busy->kind != AreaBusy::Kind::fraction)
        return 0;
    // The spring may overshoot; the bar never leaves its track.
    return std::clamp(bar_->value(), 0.0, 24.0);
}

void AreaTile::sync() {
    auto* title = static_cast<InkLabel*>(title_);
    title->setText(face_.title);
    title->setInk(selected_ ? Ink::primary() : Ink::secondary());

    const bool countShown = face_.count && *face_.count > 0;
    if (countShown) {
        const QString digits = QString::number(*face_.count);
        if (!count_) {
            count_ = new RollingNumber(*face_.count, digits, Fonts::roundedCaption(), this);
            count_->setAttribute(Qt::WA_TransparentForMouseEvents);
            auto* row = static_cast<QHBoxLayout*>(layout()->itemAt(1)->layout());
            row->insertWidget(2, count_, 0, Qt::AlignTop);
        } else {
            count_->setValue(*face_.count, digits);
        }
        count_->show();
    } else if (count_) {
        count_->hide();
    }

    const bool moving = face_.busy && face_.busy->kind == AreaBusy::Kind::unknown;
    // The dashes take the bar colour of the tile's state: made again when it changes.
    if (dashes_ && (!moving || dashesSelected_ != selected_)) {
        delete dashes_;
        dashes_ = nullptr;
    }
    if (moving && !dashes_) {
        dashesSelected_ = selected_;
        const DynamicColor color = selected_ ? Ink::onAccent() : Environment::of(this).accent.ink;
        dashes_ = new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), color, 0.6, 3, faceView_);
        dashes_->setGeometry(AreaTileFace::barRect().toRect());
        dashes_->show();
    }
    faceView_->update();
    update();
}

void AreaTile::reportFrames(const QString& space, std::function<void(const QRectF&)> report) {
    space_ = space;
    report_ = std::move(report);
    installEventFilter(this);
    this->report();
    // A move of the sidebar (or anything between it and the space) moves the tile too.
    for (QWidget* w = parentWidget(); w != nullptr && w->objectName() != space_; w = w->parentWidget())
        w->installEventFilter(this);
}

void AreaTile::report() {
    if (!report_ || space_.isEmpty())
        return;
    QWidget* home = parentWidget();
    while (home != nullptr && home->objectName() != space_)
        home = home->parentWidget();
    if (home == nullptr)
        return;
    const QRectF frame(faceView_->mapTo(home, QPoint(0, 0)), QSizeF(faceView_->size()));
    if (reported_ == frame)
        return;
    reported_ = frame;
    report_(frame);
}

bool AreaTile::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type()) {
        // The dashes hold the accent they were made with: made again in the new one.
        delete dashes_;
        dashes_ = nullptr;
        sync();
        return true;
    }
    return QAbstractButton::event(event);
}

void AreaTile::showEvent(QShowEvent* event) {
    QAbstractButton::showEvent(event);
    report();
}

bool AreaTile::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        report();
    return QAbstractButton::eventFilter(watched, event);
}

void AreaTile::paintEvent(QPaintEvent*) {
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = Environment::of(this).accent.top.resolve(colorScheme(this));
    ring.setAlphaF(0.7f);
    strokeRoundedInside(painter, QRectF(bump_->geometry()).adjusted(-2, -2, 2, 2), 10, ring, 1.5);
}

QString AreaTile::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return face_.title;
    case QAccessible::Value:
        return AreaSidebarText::value(face_.busy, face_.count, face_.countSpoken);
    default:
        return {};
    }
}

void AreaTile::addAccessibleState(QAccessible::State& state) const {
    state.selectable = true;
    state.selected = selected_;
}

QStringList AreaTile::accessibleActions() const { return {QAccessibleActionInterface::pressAction()}; }

void AreaTile::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::pressAction() && isEnabled())
        click();
}

}  // namespace ZantrelUI
