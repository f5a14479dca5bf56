#include "Glyphnab/model/ClipboardReading.h"
#include "Glyphnab/model/GlyphnabModel.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/desktop/AreaSelector.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/async/Worker.h"
#include "platform/screen/ScreenService.h"
#include "text/ImageInput.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

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

std::optional<QString> GlyphnabModel::busyRefusal() const {
    if (busy_ || picking_)
        return Words::errorBusy(appName());
    return std::nullopt;
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
    ask.typesName = Words::fromFileTypes();
    ask.message = Words::fromFileTitle();
    ask.start = QUrl::fromLocalFile(pickStartFolder(
        pickFolder_, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation), QDir::homePath()));
    const QList<QUrl> chosen = system_.mac.openPanel(ask);
    if (chosen.isEmpty())
        return;
    if (chosen.first().isLocalFile())
        pickFolder_ = QFileInfo(chosen.first().toLocalFile()).absolutePath();
    readFiles(chosen);
}

QString GlyphnabModel::pickStartFolder(const std::optional<QString>& last, const QString& pictures,
                                       const QString& home) {
    for (const QString& folder : {last.value_or(QString()), pictures})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return home;
}

void GlyphnabModel::copyRecent(const QString& text) {
    Platform::assertMain();
    copyToPasteboard(text);
    if (notice_)
        notice_->show(NoticeContent::done(Outcome::recopied(text), std::nullopt, GrabSource::screen));
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
    if (stop.stop_requested())
        throw IntentFailure(Words::errorStopped());
    const Recognized recognized = co_await readInputs(std::move(found.inputs), prefs_.lineMode, nullptr, stop);
    if (stop.stop_requested())
        throw IntentFailure(Words::errorStopped());
    if (recognized.end != ReadEnd::read)
        throw IntentFailure(Words::errorRead());
    co_return recognized.outcome;
}

namespace {

// The command line's sentence for a capture that failed: what, then why.
QString captureFailureText(const QString& reason) {
    return reason.isEmpty() ? Words::errorCapture() : Words::errorCapture() + QStringLiteral(": ") + reason;
}

}  // namespace

namespace {

QCoro::Task<void> pickWatchdog(Platform::Clock& clock, std::chrono::nanoseconds limit,
                               std::function<void()> cancelPick, std::stop_token stop) {
    const bool slept = co_await clock.sleep(limit, stop);
    if (slept && cancelPick)
        cancelPick();
}

}  // namespace

QCoro::Task<Outcome> GlyphnabModel::clipboardForIntent(LineMode mode, std::stop_token stop) {
    QPointer<GlyphnabModel> self(this);
    setBusy(true);
    const std::stop_token workStop = beginWork();
    std::stop_source own = work_;
    std::stop_callback onIntentStop(stop, [own]() mutable { own.request_stop(); });
    BoardRead found;
    try {
        auto work = [snapshot = ClipboardReading::snapshot(*pasteboard_)] {
            return ClipboardReading::readBoard(*snapshot);
        };
        auto reading = Platform::runOnWorker(std::move(work));
        found = co_await reading;
    } catch (...) {
        found = BoardRead{};
    }
    if (!self)
        throw IntentFailure(Words::errorStopped());
    if (found.inputs.isEmpty()) {
        setBusy(false);
        if (workStop.stop_requested())
            throw IntentFailure(Words::errorStopped());
        showNotice(NoticeContent::failure(Words::errorClipboard(), Words::errorClipboardDetail()));
        throw IntentFailure(Words::errorClipboard());
    }
    const GrabSource source = found.files.isEmpty() ? GrabSource::clipboard : GrabSource::file;
    bool readFailed = false;
    auto recognizing =
        recognizeInputs(std::move(found.inputs), mode, true, source, found.pageCut, workStop, &readFailed);
    const std::optional<Outcome> outcome = co_await recognizing;
    if (readFailed)
        throw IntentFailure(Words::errorRead());
    if (!outcome)
        throw IntentFailure(Words::errorStopped());
    if (outcome->copied.isEmpty())
        throw IntentFailure(Words::noticeNothing());
    co_return *outcome;
}

QCoro::Task<Outcome> GlyphnabModel::grabForIntent(LineMode mode, double pickLimitSeconds, std::stop_token stop) {
    Platform::assertMain();
    QPointer<GlyphnabModel> self(this);
    if (busy_ || picking_)
        throw IntentFailure(Words::errorBusy(appName()));
    // What the shortcut does: with the clipboard route there is no area to pick, and a
    // selector nobody expects would wait out its minute.
    if (prefs_.route == GlyphnabCore::Route::clipboard) {
        auto reading = clipboardForIntent(mode, std::move(stop));
        co_return co_await reading;
    }
    refreshGrant();
    if (!screenAllowed_) {
        // A session that cannot read the screen at all is named; no grant would help there.
        const Platform::ScreenService& screen = Platform::screenService();
        const QString missing = screen.session() == Platform::Session::wayland ? screen.missing() : QString();
        throw IntentFailure(missing.isEmpty() ? Words::grantDetail(appName()) : Words::grantDetailUnavailable(missing));
    }
    if (stop.stop_requested())
        throw IntentFailure(Words::errorStopped());
    hideNotice();

    // The watchdog ends with this call however it ends; left running it would cancel a
    // later pick of someone else.
    std::stop_source watchdog;
    const std::unique_ptr<std::stop_source, void (*)(std::stop_source*)> endWatchdog(
        &watchdog, [](std::stop_source* source) { source->request_stop(); });
    pickWatchdog(clock_, std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::duration<double>(pickLimitSeconds)),
                 pictures_.cancelPick, watchdog.get_token());
    setPicking(true);
    // The selector is drawn over the desktop: its scheme picks the ink.
    const QColor ink = context_.accent().ink.resolve(ZantrelUI::systemColorScheme());
    std::optional<QRectF> area;
    std::optional<Platform::CaptureFailure> pickFailure;
    {
        // A caller that gives up ends its pick, as the time limit does.
        std::stop_callback endPick(stop, [cancel = pictures_.cancelPick] {
            if (cancel)
                cancel();
        });
        try {
            auto picking = pictures_.pick(ink, Words::pickHint());
            area = co_await picking;
        } catch (const ZantrelUI::PickFailure& error) {
            pickFailure = error.failure();
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
    if (pickFailure) {
        showCaptureFailure(pickFailure->message, pickFailure->cause);
        throw IntentFailure(captureFailureText(pickFailure->message));
    }
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
        throw IntentFailure(captureFailureText(result.captureFailure));
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
