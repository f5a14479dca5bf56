#include "Glyphnab/model/GlyphnabModel.h"

#include "ZantrelKit/GrantMemory.h"
#include "ZantrelKit/Permission.h"
#include "ZantrelKit/RunModes.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/desktop/PermissionProbe.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/pasteboard/Pasteboard.h"
#include "text/Languages.h"
#include "text/TextReader.h"
#include "text/WarmUp.h"

#include <QLocale>
#include <QPointer>

namespace Glyphnab {
namespace {

using GlyphnabCore::Preferences;
using ZantrelText::ReadOptions;

const QString askedKey = QStringLiteral("screenRecording.asked");

// A warm-up waits for the one before it, then for its delay, then runs to its end: a
// stop after the delay does not cut a warm-up that has begun.
QCoro::Task<void> warmRun(std::optional<QCoro::Task<void>> previous, GlyphnabModel::Warmer warmer,
                          ReadOptions options, std::chrono::nanoseconds delay, Platform::Clock& clock,
                          std::stop_token stop) {
    if (previous) {
        try {
            co_await *previous;
        } catch (...) {
        }
    }
    if (delay > std::chrono::nanoseconds::zero()) {
        const bool slept = co_await clock.sleep(delay, stop);
        if (!slept)
            co_return;
    } else if (stop.stop_requested()) {
        co_return;
    }
    try {
        co_await warmer(std::move(options));
    } catch (...) {
    }
}

}  // namespace

GlyphnabModel::GlyphnabModel(ZantrelUI::AppContext& context, std::shared_ptr<Platform::Pasteboard> pasteboard,
                             PictureSource pictures, SystemCalls system, Reader reader, Warmer warmer,
                             Ambient ambient, QObject* parent)
    : QObject(parent),
      hostChecked_(checkTestHost(system, pasteboard.get())),
      context_(context),
      pasteboard_(std::move(pasteboard)),
      pictures_(std::move(pictures)),
      system_(std::move(system)),
      reader_(std::move(reader)),
      warmer_(std::move(warmer)),
      clock_(ambient.clock != nullptr ? *ambient.clock : Platform::Clock::shared()),
      log_(context.bundleId(), QStringLiteral("grab")) {
    preferredLanguages_ = ambient.preferredLanguages ? std::move(ambient.preferredLanguages)
                                                     : std::function<QStringList()>([] {
                                                           return QLocale::system().uiLanguages();
                                                       });
    screenAllowed_ = pictures_.allowed();
    screenRecordingAsked_ = context_.defaults().boolValue(askedKey).value_or(false);
    prefs_ = Preferences::load(context_.defaults());
    supportedLanguages_ =
        ambient.supportedLanguages ? ambient.supportedLanguages() : ZantrelText::TextReader::supportedLanguages();
    recents_.setEnabled(prefs_.keepRecents);
}

bool GlyphnabModel::checkTestHost(const SystemCalls& system, const Platform::Pasteboard* pasteboard) {
    Platform::assertMain();
    if (!ZantrelKit::TestHost::isActive())
        return false;
    ZantrelUI::refuseLiveCallsUnderTestHost(system.mac.isLive(), true);
    if (dynamic_cast<const Platform::ClipboardPasteboard*>(pasteboard) != nullptr)
        Platform::fatal(QStringLiteral(
            "Glyphnab: a model under the test host writes to its own pasteboard, never the general one"));
    return true;
}

GlyphnabModel::~GlyphnabModel() {
    warmingStop_.request_stop();
    work_.request_stop();
    if (grantPoll_)
        grantPoll_->request_stop();
}

GlyphnabModel::Reader GlyphnabModel::liveReader() {
    return [](QImage image, ReadOptions options, std::stop_token stop) {
        return ZantrelText::TextReader::read(std::move(image), std::move(options), stop);
    };
}

GlyphnabModel::Warmer GlyphnabModel::liveWarmer() {
    return [](ReadOptions options) {
        return ZantrelText::TextReader::warmUp(std::move(options), std::chrono::nanoseconds::zero());
    };
}

void GlyphnabModel::setPrefs(const Preferences& prefs) {
    Platform::assertMain();
    const Preferences old = prefs_;
    prefs_ = prefs;
    prefsDidChange(old);
}

void GlyphnabModel::prefsDidChange(const Preferences& old) {
    if (prefs_ == old)
        return;
    if (const auto saved = prefs_.save(context_.defaults()); !saved)
        log_.error(QStringLiteral("preferences not saved: %{public}s"), saved.error().reason);
    Q_EMIT prefsChanged();
    const GlyphnabCore::Recents before = recents_;
    recents_.setEnabled(prefs_.keepRecents);
    if (!(recents_ == before))
        Q_EMIT recentsChanged();
    const ReadOptions now = readOptions(prefs_);
    const ReadOptions then = readOptions(old);
    if (now.languages != then.languages || now.detectLanguage != then.detectLanguage)
        warmUp(std::chrono::nanoseconds::zero());
    QPointer<GlyphnabModel> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                Q_EMIT self->changed();
        },
        Qt::QueuedConnection);
}

ReadOptions GlyphnabModel::readOptions(const Preferences& prefs) const {
    ReadOptions options;
    options.languages = prefs.recognitionLanguages(preferredLanguages_(), supportedLanguages_);
    options.detectLanguage = prefs.detectLanguage;
    options.correction = true;
    options.tables = true;
    return options;
}

void GlyphnabModel::addRecent(const QString& text) {
    const GlyphnabCore::Recents before = recents_;
    recents_.add(text);
    if (!(recents_ == before))
        Q_EMIT recentsChanged();
}

void GlyphnabModel::clearRecents() {
    const GlyphnabCore::Recents before = recents_;
    recents_.clear();
    if (!(recents_ == before))
        Q_EMIT recentsChanged();
}

void GlyphnabModel::setBusy(bool busy) {
    if (busy_ == busy)
        return;
    busy_ = busy;
    Q_EMIT busyChanged();
}

void GlyphnabModel::setProgress(std::shared_ptr<ReadProgress> progress) {
    if (progress_ == progress)
        return;
    progress_ = std::move(progress);
    Q_EMIT progressChanged();
}

void GlyphnabModel::setScreenAllowed(bool allowed) {
    if (screenAllowed_ == allowed)
        return;
    screenAllowed_ = allowed;
    Q_EMIT screenAllowedChanged();
}

void GlyphnabModel::setGrantAgain(bool again) {
    if (grantAgain_ == again)
        return;
    grantAgain_ = again;
    Q_EMIT grantAgainChanged();
}

void GlyphnabModel::refreshGrant() {
    Platform::assertMain();
    setScreenAllowed(pictures_.allowed());
    ZantrelKit::GrantMemory::remember(ZantrelKit::Permission::screenRecording(), screenAllowed_,
                                      context_.defaults());
    if (watch_ == false && screenAllowed_)
        log_.info(QStringLiteral("Screen Recording granted"));
    watch_ = screenAllowed_;
}

bool GlyphnabModel::checkGrantAtLaunch() {
    Platform::assertMain();
    if (prefs_.route != GlyphnabCore::Route::screen)
        return false;
    const bool lost = ZantrelKit::GrantMemory::lost(ZantrelKit::Permission::screenRecording(), pictures_.allowed(),
                                                    context_.defaults());
    if (lost)
        log_.info(QStringLiteral("Screen Recording was on before and is off now: asked again at launch"));
    setGrantAgain(lost);
    return lost;
}

void GlyphnabModel::watchGrant(bool on) {
    Platform::assertMain();
    watchers_ += on ? 1 : -1;
    if (watchers_ <= 0) {
        watchers_ = 0;
        if (grantPoll_) {
            grantPoll_->request_stop();
            grantPoll_.reset();
        }
        return;
    }
    if (grantPoll_)
        return;
    refreshGrant();
    grantPoll_.emplace();
    pollGrant(grantPoll_->get_token());
}

QCoro::Task<void> GlyphnabModel::pollGrant(std::stop_token stop) {
    QPointer<GlyphnabModel> self(this);
    Platform::Clock& clock = clock_;
    while (true) {
        const bool slept = co_await clock.sleep(grantPollEvery, stop);
        if (!slept || stop.stop_requested() || !self)
            co_return;
        Platform::assertMain();
        self->refreshGrant();
    }
}

void GlyphnabModel::askForScreenRecording() {
    Platform::assertMain();
    system_.askScreenRecording();
    if (screenRecordingAsked_) {
        system_.mac.open(ZantrelUI::PermissionProbe::settingsURL(ZantrelKit::Permission::screenRecording()));
    } else {
        context_.defaults().setBool(askedKey, true);
        screenRecordingAsked_ = true;
        Q_EMIT screenRecordingAskedChanged();
    }
    refreshGrant();
}

void GlyphnabModel::warmUp(std::chrono::nanoseconds after) {
    Platform::assertMain();
    const ReadOptions options = readOptions(prefs_);
    warmingStop_.request_stop();
    warmingStop_ = std::stop_source();
    std::optional<QCoro::Task<void>> previous = std::move(warming_);
    warming_.reset();
    warming_.emplace(warmRun(std::move(previous), warmer_, options, after, clock_, warmingStop_.get_token()));
}

QString GlyphnabModel::appName() const { return context_.product().name; }

ZantrelUI::Accent GlyphnabModel::accent() const { return context_.accent(); }

void GlyphnabModel::openLink(const QUrl& link) { system_.mac.open(link); }

void GlyphnabModel::copyToPasteboard(const QString& text) {
    Platform::assertMain();
    pasteboard_->clearContents();
    if (!pasteboard_->setString(text))
        log_.error(QStringLiteral("the clipboard refused the text"));
    addRecent(text);
}

void GlyphnabModel::cancelWork() { work_.request_stop(); }

std::stop_token GlyphnabModel::beginWork() {
    work_ = std::stop_source();
    return work_.get_token();
}

void GlyphnabModel::showNotice(const NoticeContent& content) {
    if (notice_)
        notice_->show(content);
}

bool GlyphnabModel::hideNotice() { return notice_ && notice_->hide(); }

}  // namespace Glyphnab
