#include "Glyphnab/model/GlyphnabModelPanels.h"

#include "Glyphnab/notice/GrabShimmer.h"
#include "Glyphnab/notice/NoticePresenter.h"

#include <QPointer>

namespace Glyphnab {
namespace {

class PresenterNotices final : public NoticeShowing {
public:
    explicit PresenterNotices(NoticePresenter& presenter) : presenter_(&presenter) {}
    void show(const NoticeContent& content) override {
        if (presenter_)
            presenter_->show(content);
    }
    bool hide() override { return presenter_ && presenter_->hide(); }

private:
    QPointer<NoticePresenter> presenter_;
};

class PanelShimmer final : public ShimmerPlaying {
public:
    explicit PanelShimmer(GrabShimmer& shimmer) : shimmer_(&shimmer) {}
    void play(const QRectF& area) override {
        if (shimmer_)
            shimmer_->play(area);
    }

private:
    QPointer<GrabShimmer> shimmer_;
};

}  // namespace

std::unique_ptr<NoticeShowing> noticesOn(NoticePresenter& presenter) {
    return std::make_unique<PresenterNotices>(presenter);
}

std::unique_ptr<ShimmerPlaying> shimmerOn(GrabShimmer& shimmer) { return std::make_unique<PanelShimmer>(shimmer); }

}  // namespace Glyphnab
