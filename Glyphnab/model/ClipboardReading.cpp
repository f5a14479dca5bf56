#include "Glyphnab/model/ClipboardReading.h"
#include "Glyphnab/model/GlyphnabModel.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/AppContext.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/async/Worker.h"
#include "text/ImageInput.h"

#include <QFileInfo>
#include <QPointer>

namespace Glyphnab {

using ClipboardReading::BoardRead;
using GlyphnabCore::Outcome;
using GlyphnabCore::Part;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

void GlyphnabModel::read(const Platform::Pasteboard& board, std::optional<LineMode> mode) {
    Platform::assertMain();
    if (busy_ || picking_) {
        showBusyNotice();
        return;
    }
    // Refuses a second command while the board is read on a worker.
    setBusy(true);
    boardRoad(ClipboardReading::snapshot(board), mode, beginWork());
}

QCoro::Task<void> GlyphnabModel::boardRoad(std::shared_ptr<Platform::Pasteboard> snapshot,
                                           std::optional<LineMode> mode, std::stop_token stop) {
    QPointer<GlyphnabModel> self(this);
    BoardRead found;
    try {
        // Named: g++ 12 destroys a lambda temporary inside co_await twice.
        auto work = [snapshot] { return ClipboardReading::readBoard(*snapshot); };
        auto reading = Platform::runOnWorker(std::move(work));
        found = co_await reading;
    } catch (...) {
        found = BoardRead{};
    }
    if (!self)
        co_return;
    if (found.inputs.isEmpty()) {
        setBusy(false);
        if (!stop.stop_requested())
            showNotice(NoticeContent::failure(Words::errorClipboard(), Words::errorClipboardDetail()));
        co_return;
    }
    const GrabSource source = found.files.isEmpty() ? GrabSource::clipboard : GrabSource::file;
    co_await recognizeInputs(std::move(found.inputs), mode.value_or(prefs_.lineMode), true, source, found.pageCut,
                             stop);
}

void GlyphnabModel::readFiles(const QList<QUrl>& urls) {
    Platform::assertMain();
    if (busy_ || picking_) {
        showBusyNotice();
        return;
    }
    setBusy(true);
    filesRoad(urls, beginWork());
}

namespace {

// A file that is not a picture or PDF gets the usual advice; any other trouble is named,
// with the file, so that the caller is not told to pick another type of file for it.
IntentFailure fileFailure(const BoardRead& found) {
    using ZantrelText::ImageInput::Problem;
    if (found.problem == Problem::none || found.problem == Problem::notPictureOrPdf)
        return IntentFailure(Words::errorFileDetail(), found.problem);
    const QString name = QFileInfo(found.problemFile.toLocalFile()).fileName();
    return IntentFailure(name + QStringLiteral(": ") + ZantrelText::ImageInput::describe(found.problem), found.problem);
}

}  // namespace

QCoro::Task<void> GlyphnabModel::filesRoad(QList<QUrl> urls, std::stop_token stop) {
    QPointer<GlyphnabModel> self(this);
    BoardRead found;
    try {
        auto work = [urls] { return ClipboardReading::readFiles(urls); };
        auto reading = Platform::runOnWorker(std::move(work));
        found = co_await reading;
    } catch (...) {
        found = BoardRead{};
    }
    if (!self)
        co_return;
    if (found.inputs.isEmpty()) {
        setBusy(false);
        if (!stop.stop_requested())
            showNotice(NoticeContent::failure(Words::errorFile(), fileFailure(found).message));
        co_return;
    }
    co_await recognizeInputs(std::move(found.inputs), prefs_.lineMode, true, GrabSource::file, found.pageCut,
                             stop);
}

void GlyphnabModel::pickFile() {
    Platform::assertMain();
    ZantrelUI::OpenAsk ask;
    ask.folders = false;
    for (const auto& type : ZantrelText::ImageInput::acceptedTypes())
        ask.types.append(type.name);
    ask.multiple = true;
    ask.canCreateFolders = false;
    const QList<QUrl> chosen = system_.mac.openPanel(ask);
    if (!chosen.isEmpty())
        readFiles(chosen);
}

void GlyphnabModel::copyRecent(const QString& text) {
    Platform::assertMain();
    copyToPasteboard(text);
    if (notice_)
        notice_->show(NoticeContent::done(Outcome({Part::text(text)}, LineMode::keep), std::nullopt,
                                          GrabSource::screen));
}

std::optional<GlyphnabCore::PageCut> GlyphnabModel::pageCut(const QList<QUrl>& files) {
    return ClipboardReading::pageCutForFiles(files);
}


QCoro::Task<Outcome> GlyphnabModel::readForIntent(QList<QUrl> urls, std::stop_token stop) {
    Platform::assertMain();
    QPointer<GlyphnabModel> self(this);
    BoardRead found;
    try {
        auto work = [urls] { return ClipboardReading::readFiles(urls); };
        auto reading = Platform::runOnWorker(std::move(work));
        found = co_await reading;
    } catch (...) {
        found = BoardRead{};
    }
    if (found.inputs.isEmpty())
        throw fileFailure(found);
    if (!self)
        throw IntentFailure(Words::errorRead());
    const Recognized recognized = co_await readInputs(std::move(found.inputs), prefs_.lineMode, nullptr, stop);
    if (recognized.end != ReadEnd::read)
        throw IntentFailure(Words::errorRead());
    co_return recognized.outcome;
}

namespace {

QCoro::Task<void> pickWatchdog(Platform::Clock& clock, std::chrono::nanoseconds limit,
                               std::function<void()> cancelPick, std::stop_token stop) {
    const bool slept = co_await clock.sleep(limit, stop);
    if (slept && cancelPick)
        cancelPick();
}

}  // namespace

QCoro::Task<Outcome> GlyphnabModel::grabForIntent(LineMode mode, double pickLimitSeconds, std::stop_token stop) {
    Platform::assertMain();
    QPointer<GlyphnabModel> self(this);
    if (busy_ || picking_)
        throw IntentFailure(Words::errorBusy(appName()));
    refreshGrant();
    if (!screenAllowed_)
        throw IntentFailure(Words::grantDetail(appName()));
    hideNotice();

    std::stop_source watchdog;
    pickWatchdog(clock_, std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::duration<double>(pickLimitSeconds)),
                 pictures_.cancelPick, watchdog.get_token());
    if (stop.stop_requested())
        throw IntentFailure(Words::errorStopped());
    setPicking(true);
    const QColor ink = context_.accent().ink.resolve(ZantrelUI::ColorScheme::dark);
    std::optional<QRectF> area;
    {
        // A caller that gives up ends its pick, as the time limit does.
        std::stop_callback endPick(stop, [cancel = pictures_.cancelPick] {
            if (cancel)
                cancel();
        });
        try {
            auto picking = pictures_.pick(ink, Words::pickHint());
            area = co_await picking;
        } catch (...) {
            area.reset();
        }
    }
    watchdog.request_stop();
    if (!self)
        throw IntentFailure(Words::errorStopped());
    setPicking(false);
    if (stop.stop_requested())
        throw IntentFailure(Words::errorStopped());
    if (!area)
        throw IntentFailure(Words::errorNothingPicked());
    lastArea_ = area;

    const std::stop_token grabStop = beginWork();
    std::stop_source own = work_;
    std::stop_callback onIntentStop(stop, [own]() mutable { own.request_stop(); });
    const GrabResult result = co_await grabArea(*area, mode, grabStop);
    switch (result.end) {
    case GrabEnd::stopped:
        throw IntentFailure(Words::errorStopped());
    case GrabEnd::captureFailed:
        throw IntentFailure(Words::errorCapture());
    case GrabEnd::readFailed:
        throw IntentFailure(Words::errorRead());
    case GrabEnd::delivered:
        break;
    }
    if (result.outcome->copied.isEmpty())
        throw IntentFailure(Words::noticeNothing());
    co_return *result.outcome;
}

}  // namespace Glyphnab
