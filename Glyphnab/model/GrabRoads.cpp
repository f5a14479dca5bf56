#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/model/GrabRoads.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/desktop/AreaSelector.h"
#include "capture/ScreenGrab.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QPointer>

namespace Glyphnab {

using GlyphnabCore::Outcome;
using GlyphnabCore::Part;
using ZantrelText::Input;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

namespace {

LineMode otherMode(LineMode mode) { return mode == LineMode::keep ? LineMode::join : LineMode::keep; }

}  // namespace

void GlyphnabModel::startGrab(bool other) {
    Platform::assertMain();
    const LineMode preferred = prefs_.lineMode;
    beginGrab(other ? otherMode(preferred) : preferred);
}

void GlyphnabModel::beginGrab(std::optional<LineMode> mode) { beginGrab(mode.value_or(prefs_.lineMode)); }

void GlyphnabModel::beginGrab(LineMode mode) {
    Platform::assertMain();
    if (busy_ || picking_) {
        showBusyNotice();
        return;
    }
    if (prefs_.route == GlyphnabCore::Route::clipboard) {
        read(*pasteboard_, mode);
        return;
    }
    refreshGrant();
    if (!screenAllowed_) {
        setGrantAgain(false);
        showGrantPanel_();
        return;
    }
    hideNotice();
    setPicking(true);
    pickRoad(mode, beginWork());
}

QCoro::Task<void> GlyphnabModel::pickRoad(LineMode mode, std::stop_token stop) {
    QPointer<GlyphnabModel> self(this);
    // The selector is drawn over the desktop: its scheme picks the ink.
    const QColor ink = context_.accent().ink.resolve(ZantrelUI::systemColorScheme());
    std::optional<QRectF> area;
    std::optional<Platform::CaptureFailure> failure;
    try {
        area = co_await pictures_.pick(ink, Words::pickHint());
    } catch (const ZantrelUI::PickFailure& error) {
        failure = error.failure();  // the screens could not be pictured for the overlay
    } catch (...) {
        area.reset();  // a refused pick is an empty one
    }
    if (!self)
        co_return;
    setPicking(false);
    if (failure)
        showCaptureFailure(failure->message, failure->cause);
    if (!area)
        co_return;
    lastArea_ = area;
    co_await grabArea(*area, mode, stop);
}

void GlyphnabModel::showCaptureFailure(const QString& reason, Platform::CaptureFailure::Cause cause) {
    using Cause = Platform::CaptureFailure::Cause;
    log_.error(QStringLiteral("capture failed: %{public}s"), reason);
    QString detail = Words::errorCaptureDetail();
    switch (cause) {
    case Cause::refused:
        detail = Words::errorCaptureRefused();
        break;
    case Cause::unanswered:
        detail = Words::errorCaptureUnanswered();
        break;
    case Cause::unsaved:
        detail = Words::errorCaptureUnsaved();
        break;
    case Cause::other:
        break;
    }
    showNotice(NoticeContent::failure(Words::errorCapture(), detail));
}

void GlyphnabModel::grabSameArea() {
    Platform::assertMain();
    if (!lastArea_)
        return;
    if (busy_ || picking_) {
        showBusyNotice();
        return;
    }
    refreshGrant();
    if (!screenAllowed_) {
        setGrantAgain(false);
        showGrantPanel_();
        return;
    }
    sameAreaRoad(*lastArea_, beginWork());
}

QCoro::Task<void> GlyphnabModel::sameAreaRoad(QRectF area, std::stop_token stop) {
    co_await grabArea(area, prefs_.lineMode, stop);
}

QCoro::Task<GlyphnabModel::GrabResult> GlyphnabModel::grabArea(QRectF area, LineMode mode, std::stop_token stop) {
    Platform::assertMain();
    QPointer<GlyphnabModel> self(this);
    Platform::Clock& clock = clock_;
    setBusy(true);
    if (hideNotice()) {
        // Keeps the notice out of the picture; a stop does not skip the capture.
        co_await clock.sleep(noticeGone);
        if (!self)
            co_return GrabResult{};
    }
    QImage picture;
    try {
        picture = co_await GrabRoads::captureWithin(pictures_.capture(area), clock, captureTimeLimit);
    } catch (const std::exception& error) {
        if (!self)
            co_return GrabResult{};
        const auto* named = dynamic_cast<const ZantrelCapture::ScreenGrab::CaptureError*>(&error);
        const QString reason = QString::fromUtf8(error.what());
        showCaptureFailure(reason, named ? named->cause() : Platform::CaptureFailure::Cause::other);
        setBusy(false);
        co_return GrabResult{GrabEnd::captureFailed, std::nullopt, reason};
    }
    if (!self)
        co_return GrabResult{};
    if (shimmer_)
        shimmer_->play(area);
    bool readFailed = false;
    QList<Input> inputs;
    inputs.append(Input::picture(std::move(picture)));
    std::optional<Outcome> outcome = co_await recognizeInputs(std::move(inputs), mode, false,
                                                              GrabSource::screen, std::nullopt, stop, &readFailed);
    if (!self)
        co_return GrabResult{};
    setBusy(false);
    if (outcome)
        co_return GrabResult{GrabEnd::delivered, std::move(outcome), {}};
    co_return GrabResult{readFailed ? GrabEnd::readFailed : GrabEnd::stopped, std::nullopt, {}};
}

QCoro::Task<std::optional<Outcome>> GlyphnabModel::recognizeInputs(QList<Input> inputs, LineMode mode,
                                                                   bool markBusy, GrabSource source,
                                                                   std::optional<GlyphnabCore::PageCut> pageCut,
                                                                   std::stop_token stop, bool* readFailed) {
    QPointer<GlyphnabModel> self(this);
    if (markBusy)
        setBusy(true);
    std::shared_ptr<ReadProgress> progress(new ReadProgress(int(inputs.size())),
                                           [](ReadProgress* p) { p->deleteLater(); });
    setProgress(progress);
    if (inputs.size() < 2)
        delayedBusyNotice(progress);
    else
        showNotice(NoticeContent::busy(progress.get()));

    const Recognized recognized = co_await readInputs(std::move(inputs), mode, progress.get(), stop);
    if (!self)
        co_return std::nullopt;

    std::optional<Outcome> result;
    switch (recognized.end) {
    case ReadEnd::read: {
        const Outcome& outcome = recognized.outcome;
        if (!outcome.copied.isEmpty()) {
            pasteboard_->clearContents();
            if (!pasteboard_->setString(outcome.copied))
                log_.error(QStringLiteral("the clipboard refused the text"));
            addRecent(outcome.copied);
        }
        log_.info(QStringLiteral("grab: %{public}s, %ld characters"), GrabRoads::logName(outcome.kind),
                  qsizetype(outcome.copied.toUcs4().size()));
        showNotice(NoticeContent::done(outcome, mode, source, pageCut));
        result = outcome;
        break;
    }
    case ReadEnd::stopped:
        break;
    case ReadEnd::failed:
        if (readFailed != nullptr)
            *readFailed = true;
        showNotice(NoticeContent::failure(Words::errorRead(), Words::errorReadDetail()));
        break;
    }
    finishWork(markBusy, progress);
    co_return result;
}

QCoro::Task<void> GlyphnabModel::delayedBusyNotice(std::shared_ptr<ReadProgress> progress) {
    QPointer<GlyphnabModel> self(this);
    co_await clock_.sleep(busyNoticeAfter);
    if (self && self->progress_ == progress && self->notice_)
        self->notice_->show(NoticeContent::busy(progress.get()));
}

QCoro::Task<GlyphnabModel::Recognized> GlyphnabModel::readInputs(QList<Input> inputs, LineMode mode,
                                                                 ReadProgress* progress, std::stop_token stop) {
    QPointer<GlyphnabModel> self(this);
    QPointer<ReadProgress> counted(progress);
    const ZantrelText::ReadOptions options = readOptions(prefs_);
    const Reader reader = reader_;
    const Platform::Logger log = log_;
    QList<Part> parts;
    int failures = 0;
    for (const Input& input : inputs) {
        if (stop.stop_requested())
            co_return Recognized{};
        if (const QImage* image = input.image()) {
            try {
                parts.append(Part::reading(co_await reader(*image, options, stop)));
            } catch (const std::exception& error) {
                // A stopped reading is no failure of the picture.
                if (stop.stop_requested())
                    co_return Recognized{};
                log.error(QStringLiteral("recognition failed: %{public}s"), error.what());
                ++failures;
            }
        } else if (const QString* text = input.string()) {
            parts.append(Part::text(*text));
        }
        if (!self)
            co_return Recognized{};
        if (counted)
            counted->advance();
    }
    if (stop.stop_requested())
        co_return Recognized{};
    Outcome outcome(parts, mode);
    if (failures > 0 && outcome.kind.is<Outcome::Kind::Nothing>())
        co_return Recognized{ReadEnd::failed, std::move(outcome)};
    co_return Recognized{ReadEnd::read, std::move(outcome)};
}

void GlyphnabModel::finishWork(bool markBusy, const std::shared_ptr<ReadProgress>& progress) {
    if (markBusy)
        setBusy(false);
    if (progress_ == progress)
        setProgress(nullptr);
}

void GlyphnabModel::showBusyNotice() {
    system_.beep();
    if (progress_ && notice_)
        notice_->show(NoticeContent::busy(progress_.get()));
}

}  // namespace Glyphnab
