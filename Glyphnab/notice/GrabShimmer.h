#pragma once

// A short flash of light over the area that was just grabbed: a click-through panel laid
// exactly over it, one sweep of a light band, gone half a second later.

#include <QImage>
#include <QObject>
#include <QRect>
#include <QRectF>

#include <functional>
#include <memory>

namespace Platform {
class Clock;
}

namespace Glyphnab {

class GrabShimmer final : public QObject {
    Q_OBJECT
public:
    static constexpr double clearAfter = 0.5;

    // The desktop under the panel. Without a compositor a translucent window shows black,
    // so the live desk hands back the screen's pixels of the area to paint under the band.
    struct Desk {
        // The primary screen in desktop coordinates (for the global-point conversion).
        std::function<QRectF()> primary;
        // The area's current pixels when the panel cannot be translucent; null otherwise.
        std::function<QImage(const QRect& desktopArea)> freeze;
        // Whether the app may put a window where it wants (not on Wayland, where the
        // compositor places it, and a tiling one tiles it); none means it may.
        std::function<bool()> places;

        static Desk live();
    };

    explicit GrabShimmer(std::function<bool()> reduceMotion, Desk desk = Desk::live(),
                         Platform::Clock* clock = nullptr, QObject* parent = nullptr);
    ~GrabShimmer() override;

    // `area` is in global screen points (origin bottom left of the primary screen, y up).
    void play(const QRectF& area);

    int generation() const { return generation_; }
    QWidget* panel() const { return panel_.get(); }
    bool isShowing() const;

private:
    void clear(int generation);

    std::function<bool()> reduceMotion_;
    Desk desk_;
    Platform::Clock& clock_;
    std::unique_ptr<QWidget> panel_;
    int generation_ = 0;
};

}  // namespace Glyphnab
