#include "Glyphnab/shell/Updater.h"

#include "Glyphnab/windows/UpdateDialog.h"
#include "ZantrelUI/context/AppContext.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/log/Log.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <functional>
#include <utility>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("updates"));
    return logger;
}

constexpr auto transferTimeout = 30s;

QCoro::Task<> runSchedule(std::function<void()> check, Updater::Schedule schedule, std::stop_token stop) {
    Platform::Clock& clock = Platform::Clock::shared();
    std::chrono::nanoseconds wait = schedule.first;
    for (;;) {
        const bool slept = co_await clock.sleep(wait, stop);
        if (!slept || stop.stop_requested())
            co_return;
        check();
        wait = schedule.every;
    }
}

QString versionText(const ZantrelKit::OwnerConfig& config) {
    return config.value(QStringLiteral("CFBundleShortVersionString")).value_or(QStringLiteral(GLYPHNAB_VERSION));
}

}  // namespace

Updater::Updater(const ZantrelKit::OwnerConfig& config, QObject* parent) : Updater(config, Schedule{}, parent) {}

Updater::Updater(const ZantrelKit::OwnerConfig& config, std::optional<Schedule> schedule, QObject* parent)
    : QObject(parent), installed_(versionText(config)), appName_(ZantrelKit::Product(config).name) {
    const std::optional<QString> feed = config.value(QStringLiteral("SUFeedURL"));
    const bool keys = feed.has_value() && config.value(QStringLiteral("SUPublicEDKey")).has_value();
    if (keys) {
        feed_ = QUrl(feed->trimmed(), QUrl::StrictMode);
        if (!UpdateFeed::feedAddressAllowed(feed_)) {
            log().error(u"update feed refused, not an https address: %{public}s", feed->trimmed());
            feed_.clear();
        }
    }
    configured_ = !feed_.isEmpty();
    setCanCheck(configured_);
    if (configured_ && schedule) {
        const QPointer<Updater> self(this);
        runSchedule([self] {
            if (self)
                self->startCheck(false);
        }, *schedule, schedule_.get_token());
    }
}

Updater::~Updater() {
    schedule_.request_stop();
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

Updater& Updater::shared() {
    Platform::assertMain();
    // Owned by the application so that the network and the window go before it does.
    static Updater* const updater = new Updater(
        [] {
            const ZantrelUI::AppContext* context = ZantrelUI::AppContext::current();
            return context ? context->config() : ZantrelKit::OwnerConfig{};
        }(),
        QCoreApplication::instance());
    return *updater;
}

void Updater::checkForUpdates() {
    if (!configured_)
        return;
    Platform::assertMain();
    startCheck(true);
}

void Updater::startCheck(bool userAsked) {
    if (userAsked) {
        userAsked_ = true;
        ensureDialog().show(std::nullopt);
    }
    if (reply_)
        return;
    if (network_ == nullptr) {
        network_ = new QNetworkAccessManager(this);
        // A feed on this machine never goes through a proxy.
        if (UpdateFeed::isLoopback(feed_))
            network_->setProxy(QNetworkProxy::NoProxy);
    }
    refused_ = false;
    tooLarge_ = false;
    setCanCheck(false);

    QNetworkRequest request(feed_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setTransferTimeout(static_cast<int>(std::chrono::milliseconds(transferTimeout).count()));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("%1/%2").arg(appName_, installed_));
    QNetworkReply* reply = network_->get(request);
    reply_ = reply;
    // A redirect must lead to an address the feed itself could have had.
    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl& target) {
        if (UpdateFeed::feedAddressAllowed(reply->url().resolved(target))) {
            Q_EMIT reply->redirectAllowed();
            return;
        }
        refused_ = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64 total) {
        if (received > UpdateFeed::maximumFeedBytes || total > UpdateFeed::maximumFeedBytes) {
            tooLarge_ = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finishCheck(reply); });
}

void Updater::finishCheck(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != reply_)
        return;
    reply_.clear();

    UpdateFeed::Result result = UpdateFeed::Failed{UpdateFeed::Failed::Reason::network, {}};
    if (refused_) {
        result = UpdateFeed::Failed{UpdateFeed::Failed::Reason::refusedAddress, {}};
    } else if (tooLarge_) {
        result = UpdateFeed::Failed{UpdateFeed::Failed::Reason::tooLarge, {}};
    } else if (reply->error() != QNetworkReply::NoError) {
        result = UpdateFeed::Failed{UpdateFeed::Failed::Reason::network, reply->errorString()};
    } else {
        result = UpdateFeed::evaluate(reply->read(UpdateFeed::maximumFeedBytes + 1), installed_);
    }

    bool speak = std::exchange(userAsked_, false);
    if (const auto* available = std::get_if<UpdateFeed::Available>(&result)) {
        const QString version = available->item.releaseVersion();
        log().notice(u"update available: %{public}s", version);
        // The daily check tells about one version once.
        if (version != announced_) {
            announced_ = version;
            speak = true;
        }
    } else if (const auto* failed = std::get_if<UpdateFeed::Failed>(&result)) {
        log().error(u"update check failed: %{public}s", UpdateFeed::describe(*failed));
    }

    setCanCheck(true);
    if (speak)
        ensureDialog().show(result);
    Q_EMIT checkFinished(result);
}

UpdateDialog& Updater::ensureDialog() {
    if (dialog_ == nullptr)
        dialog_ = new UpdateDialog(appName_, this);
    return *dialog_;
}

void Updater::setCanCheck(bool canCheck) {
    if (canCheck == canCheck_)
        return;
    canCheck_ = canCheck;
    Q_EMIT canCheckChanged(canCheck);
}

}  // namespace Glyphnab
