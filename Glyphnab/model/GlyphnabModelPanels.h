#pragma once

// The two heads-up panels as the model sees them. The model works without either; the
// app hands it adapters over its notice presenter and grab shimmer.

#include "Glyphnab/notice/NoticeContent.h"

#include <QRectF>

#include <memory>

namespace Glyphnab {

class GrabShimmer;
class NoticePresenter;

class NoticeShowing {
public:
    virtual ~NoticeShowing() = default;
    virtual void show(const NoticeContent& content) = 0;
    // Hides at once; whether a notice was visible.
    virtual bool hide() = 0;
};

class ShimmerPlaying {
public:
    virtual ~ShimmerPlaying() = default;
    // `area` in global screen points.
    virtual void play(const QRectF& area) = 0;
};

// Adapters that do nothing once their panel object is gone.
std::unique_ptr<NoticeShowing> noticesOn(NoticePresenter& presenter);
std::unique_ptr<ShimmerPlaying> shimmerOn(GrabShimmer& shimmer);

}  // namespace Glyphnab
