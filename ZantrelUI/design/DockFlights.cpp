#include "ZantrelUI/design/DockFlights.h"

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/ReduceMotion.h"

#include <QPainter>

namespace ZantrelUI {

DockFlight::DockFlight(QRectF from, QRectF to, QString tag, bool back)
    : id(QUuid::createUuid()), from(from), to(to), tag(std::move(tag)), back(back) {}

DockFlight::Placement DockFlight::placement(double t) const {
    const double p = back ? 1 - t : t;
    const QPointF a = from.center();
    const QPointF b = to.center();
    Placement placed;
    placed.centre = QPointF(a.x() + p * (b.x() - a.x()), a.y() + p * (b.y() - a.y()));
    placed.scale = p <= 0 ? 1 : 1 - 0.7 * std::min(p, 1.0);
    placed.opacity = p < 0.6 ? 1 : std::max(0.0, 1 - (p - 0.6) / 0.4);
    return placed;
}

std::vector<DockFlight> DockFlight::adding(const DockFlight& flight, std::vector<DockFlight> list, bool reduceMotion) {
    if (reduceMotion || list.size() > 2)
        return list;
    list.push_back(flight);
    return list;
}

DockFlightsOverlay::DockFlightsOverlay(Face face, QWidget* parent) : GlassWidget(parent), face_(std::move(face)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
}

bool DockFlightsOverlay::launch(const DockFlight& flight) {
    const std::size_t before = flights_.size();
    flights_ = DockFlight::adding(flight, std::move(flights_), ReduceMotion::of(this));
    if (flights_.size() == before)
        return false;
    auto* value = new AnimatedValue(0, this);
    progress_[flight.id] = value;
    connect(value, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    const QUuid id = flight.id;
    connect(value, &AnimatedValue::finished, this, [this, id] {
        if (frozen_)
            return;
        // Landed: every flight with this id leaves the list.
        std::erase_if(flights_, [&](const DockFlight& f) { return f.id == id; });
        if (auto found = progress_.find(id); found != progress_.end()) {
            found->second->deleteLater();
            progress_.erase(found);
        }
        update();
        Q_EMIT landed(id);
    });
    if (!frozen_)
        value->animateTo(1, flight.back ? Motion::flightBack() : Motion::flight());
    update();
    return true;
}

void DockFlightsOverlay::setFrozen(std::optional<double> progress) {
    frozen_ = progress;
    update();
}

double DockFlightsOverlay::progress(const QUuid& id) const {
    if (frozen_)
        return *frozen_;
    const auto found = progress_.find(id);
    return found == progress_.end() ? 0 : found->second->value();
}

void DockFlightsOverlay::paintEvent(QPaintEvent*) {
    if (!face_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const DockFlight& flight : flights_) {
        const DockFlight::Placement placed = flight.placement(progress(flight.id));
        painter.save();
        painter.setOpacity(placed.opacity);
        painter.translate(placed.centre);
        painter.scale(placed.scale, placed.scale);
        // The face keeps the size of `from`; only the scale changes.
        const QRectF rect(-flight.from.width() / 2, -flight.from.height() / 2, flight.from.width(), flight.from.height());
        face_(painter, flight, rect);
        painter.restore();
    }
}

}  // namespace ZantrelUI
