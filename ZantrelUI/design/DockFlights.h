#pragma once

// Flights: small faces that travel from one rectangle to another while they shrink and
// fade (or the other way, growing back), drawn in an overlay over a view. Each flight
// removes itself from the list when it lands.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/Motion.h"

#include <QRectF>
#include <QUuid>

#include <functional>
#include <vector>

namespace ZantrelUI {

struct DockFlight {
    QUuid id;
    QRectF from;  // in the overlay's coordinates
    QRectF to;
    QString tag;
    bool back = false;  // runs from `to` back to `from`

    DockFlight(QRectF from, QRectF to, QString tag = {}, bool back = false);

    // Where a flight is drawn at progress t (0 to 1).
    struct Placement {
        QPointF centre;
        double scale;
        double opacity;
    };
    Placement placement(double t) const;

    // The launch rule: under reduced motion, or with three flights in the air, the new
    // one is dropped.
    static std::vector<DockFlight> adding(const DockFlight& flight, std::vector<DockFlight> list, bool reduceMotion);

    friend bool operator==(const DockFlight&, const DockFlight&) = default;
};

// The overlay: draws each flight's face at its placement and lets clicks through.
class DockFlightsOverlay final : public GlassWidget {
    Q_OBJECT
public:
    // Paints one flight's face into `rect` (the size of its `from`, centred on the placement).
    using Face = std::function<void(QPainter& painter, const DockFlight& flight, const QRectF& rect)>;

    DockFlightsOverlay(Face face, QWidget* parent = nullptr);

    // Adds a flight by the launch rule; returns whether it flies.
    bool launch(const DockFlight& flight);
    const std::vector<DockFlight>& flights() const { return flights_; }
    // A fixed progress for every flight: nothing moves and nothing lands.
    void setFrozen(std::optional<double> progress);
    double progress(const QUuid& id) const;

Q_SIGNALS:
    void landed(const QUuid& id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Face face_;
    std::vector<DockFlight> flights_;
    std::map<QUuid, AnimatedValue*> progress_;
    std::optional<double> frozen_;
};

}  // namespace ZantrelUI
