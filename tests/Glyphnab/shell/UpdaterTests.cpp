#include "Glyphnab/windows/UpdateDialog.h"
#include "Glyphnab/shell/Updater.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/PillButton.h"
#include "platform/async/Clock.h"
#include "tests/support/TestSupport.h"

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;
using TestSupport::waitUntil;

QByteArray feed(const QByteArray& shortVersion, const QByteArray& link = "https://glyphnab.org/download") {
    return "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
           "<item><title>Glyphnab " + shortVersion + "</title><link>" + link + "</link>"
           "<enclosure url=\"https://glyphnab.org/glyphnab.tar.gz\" sparkle:shortVersionString=\"" + shortVersion +
           "\" sparkle:version=\"" + shortVersion + "\"/></item></channel></rss>";
}

// Answers each request on 127.0.0.1 with the response set for its path, once the request
// is in; `hold` keeps the answer back until `release`.
class FeedServer final : public QObject {
public:
    FeedServer() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                auto request = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                    *request += socket->readAll();
                    if (!request->contains("\r\n\r\n"))
                        return;
                    ++requests;
                    const QByteArray path = request->split(' ').value(1);
                    held_ = socket;
                    heldPath_ = path;
                    if (!hold)
                        release();
                });
            }
        });
    }

    void answer(const QByteArray& status, const QByteArray& body, const QByteArray& headers = {},
                const QByteArray& path = "/appcast.xml") {
        responses_[path] = "HTTP/1.1 " + status + "\r\nContent-Type: application/rss+xml\r\nContent-Length: " +
                           QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }
    void release() {
        if (!held_)
            return;
        held_->write(responses_.value(heldPath_, "HTTP/1.1 500 Nothing Here\r\nContent-Length: 0\r\n\r\n"));
        held_->disconnectFromHost();
        held_.clear();
    }
    QUrl url(const QString& path = QStringLiteral("/appcast.xml")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }

    bool hold = false;
    int requests = 0;

private:
    QTcpServer server_;
    QHash<QByteArray, QByteArray> responses_;
    QPointer<QTcpSocket> held_;
    QByteArray heldPath_;
};

ZantrelKit::OwnerConfig config(const QString& feedUrl, const QString& key = QStringLiteral("c2lnbmluZyBrZXk="),
                               const QString& version = QStringLiteral("1.2")) {
    return ZantrelKit::OwnerConfig(QVariantMap{{"CFBundleDisplayName", "Glyphnab"},
                                               {"CFBundleShortVersionString", version},
                                               {"SUFeedURL", feedUrl},
                                               {"SUPublicEDKey", key}});
}

// Records the answers and every change of `canCheck` while it lives.
struct Watch final : QObject {
    explicit Watch(Updater& updater) {
        connect(&updater, &Updater::canCheckChanged, this, [this](bool value) { changes.push_back(value); });
        connect(&updater, &Updater::checkFinished, this, [this, &updater](const UpdateFeed::Result& result) {
            results.push_back(result);
            canCheckAtFinish.push_back(updater.canCheck());
        });
    }
    std::vector<bool> changes;
    std::vector<UpdateFeed::Result> results;
    std::vector<bool> canCheckAtFinish;
};

ZantrelUI::MacCalls recordingCalls(QList<QUrl>* opened) {
    return ZantrelUI::MacCalls(
        false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {},
        [opened](const QUrl& url) { opened->append(url); }, [](const QList<QUrl>&) {},
        [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
        [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
        std::make_shared<Platform::MemoryPasteboard>());
}

TEST(UpdaterSetup, MissingOrPlaceholderKeysLeaveItIdle) {
    const QString https = QStringLiteral("https://glyphnab.org/appcast.xml");
    const std::vector<ZantrelKit::OwnerConfig> idle{
        config(https, QString()),
        config(https, QStringLiteral("PLACEHOLDER")),
        config(https, QStringLiteral("key-PLACEHOLDER-here")),
        config(QStringLiteral("PLACEHOLDER")),
        config(QString()),
        ZantrelKit::OwnerConfig(QVariantMap{{"SUPublicEDKey", "c2lnbmluZyBrZXk="}}),
        // Keys in place, but a feed that is not fetched: plain http elsewhere, or not a web address.
        config(QStringLiteral("http://glyphnab.org/appcast.xml")),
        config(QStringLiteral("file:///tmp/appcast.xml")),
        config(QStringLiteral("not an address")),
    };
    for (const ZantrelKit::OwnerConfig& info : idle) {
        Updater updater(info, Updater::Schedule{0s, 0s});
        Watch watch(updater);
        EXPECT_FALSE(updater.configured());
        EXPECT_FALSE(updater.canCheck());
        updater.checkForUpdates();
        QCoreApplication::processEvents();
        EXPECT_FALSE(updater.canCheck());
        EXPECT_EQ(updater.dialog(), nullptr);
        EXPECT_TRUE(watch.changes.empty());
        EXPECT_TRUE(watch.results.empty());
    }

    Updater ready(config(https), std::nullopt);
    EXPECT_TRUE(ready.configured());
    EXPECT_TRUE(ready.canCheck());
    EXPECT_EQ(ready.installedVersion(), "1.2");
}

class UpdaterNetwork : public ::testing::Test {
protected:
    using UpToDate = UpdateFeed::UpToDate;

    UpdateFeed::Result check(Updater& updater) {
        Watch watch(updater);
        updater.checkForUpdates();
        EXPECT_TRUE(waitUntil([&] { return !watch.results.empty(); }));
        return watch.results.empty() ? UpdateFeed::Result(UpToDate{}) : watch.results.front();
    }

    FeedServer server;
};

TEST_F(UpdaterNetwork, CanCheckIsFalseWhileTheCheckRunsAndTheWindowFollowsIt) {
    server.answer("200 OK", feed("1.3"));
    server.hold = true;
    Updater updater(config(server.url().toString()), std::nullopt);
    Watch watch(updater);
    ASSERT_TRUE(updater.canCheck());

    updater.checkForUpdates();
    EXPECT_FALSE(updater.canCheck());
    ASSERT_NE(updater.dialog(), nullptr);
    EXPECT_TRUE(updater.dialog()->isVisible());
    ASSERT_NE(updater.dialog()->view(), nullptr);
    EXPECT_TRUE(updater.dialog()->view()->checking());
    EXPECT_EQ(updater.dialog()->view()->title(), "Checking for updates…");
    ASSERT_TRUE(waitUntil([&] { return server.requests == 1; }));
    // A second press while it runs joins the same check.
    updater.checkForUpdates();
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.changes, std::vector<bool>{false});

    server.release();
    ASSERT_TRUE(waitUntil([&] { return !watch.results.empty(); }));
    EXPECT_EQ(watch.changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(watch.results.size(), 1u);
    EXPECT_EQ(server.requests, 1);
    EXPECT_FALSE(updater.dialog()->view()->checking());
}

TEST_F(UpdaterNetwork, ANewerVersionOffersItsDownloadPage) {
    server.answer("200 OK", feed("1.10", "https://glyphnab.org/releases/1.10"));
    Updater updater(config(server.url().toString()), std::nullopt);
    Watch watch(updater);
    updater.checkForUpdates();
    ASSERT_TRUE(waitUntil([&] { return !watch.results.empty(); }));

    EXPECT_EQ(watch.changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(watch.canCheckAtFinish, std::vector<bool>{true});
    ASSERT_TRUE(std::holds_alternative<UpdateFeed::Available>(watch.results.front()));
    UpdateView* view = updater.dialog()->view();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->checking());
    EXPECT_EQ(view->title(), "Glyphnab 1.10 is available");
    EXPECT_EQ(view->detail(), "You have version 1.2.");
    ASSERT_NE(view->downloadButton(), nullptr);

    QList<QUrl> opened;
    ZantrelUI::Environment::setMacCalls(view->window(),
                                        std::make_shared<const ZantrelUI::MacCalls>(recordingCalls(&opened)));
    view->downloadButton()->click();
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://glyphnab.org/releases/1.10")});
    EXPECT_FALSE(updater.dialog()->isVisible());

    // Checking again reopens the window with fresh content.
    updater.checkForUpdates();
    EXPECT_TRUE(updater.dialog()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return watch.results.size() == 2; }));
    EXPECT_EQ(server.requests, 2);
    ASSERT_TRUE(waitUntil([&] { return updater.dialog()->view() != nullptr && !updater.dialog()->view()->checking(); }));
    EXPECT_EQ(updater.dialog()->view()->title(), "Glyphnab 1.10 is available");
}

TEST_F(UpdaterNetwork, TheSameVersionIsUpToDate) {
    server.answer("200 OK", feed("1.2"));
    Updater updater(config(server.url().toString()), std::nullopt);
    EXPECT_EQ(check(updater), UpdateFeed::Result(UpToDate{"1.2"}));
    EXPECT_TRUE(updater.canCheck());
    UpdateView* view = updater.dialog()->view();
    EXPECT_EQ(view->title(), "You're up to date");
    EXPECT_EQ(view->detail(), "Glyphnab 1.2 is the newest version.");
    EXPECT_EQ(view->downloadButton(), nullptr);
    view->okButton()->click();
    EXPECT_FALSE(updater.dialog()->isVisible());
}

TEST_F(UpdaterNetwork, FailuresAreReportedAndTheCheckCanStartAgain) {
    using Reason = UpdateFeed::Failed::Reason;
    const auto reason = [](const UpdateFeed::Result& result) {
        EXPECT_TRUE(std::holds_alternative<UpdateFeed::Failed>(result));
        return std::holds_alternative<UpdateFeed::Failed>(result) ? std::get<UpdateFeed::Failed>(result).reason
                                                                   : Reason::network;
    };
    Updater updater(config(server.url().toString()), std::nullopt);

    server.answer("404 Not Found", "missing");
    const UpdateFeed::Result missing = check(updater);
    EXPECT_EQ(reason(missing), Reason::network);
    EXPECT_FALSE(std::get<UpdateFeed::Failed>(missing).detail.isEmpty());
    EXPECT_TRUE(updater.canCheck());
    EXPECT_EQ(updater.dialog()->view()->title(), "Couldn't check for updates");

    server.answer("200 OK", "<html>captive portal</html>");
    EXPECT_EQ(reason(check(updater)), Reason::unreadable);
    EXPECT_EQ(updater.dialog()->view()->detail(), "The update feed couldn't be read.");

    server.answer("302 Found", {}, "Location: http://glyphnab.org/appcast.xml\r\n");
    EXPECT_EQ(reason(check(updater)), Reason::refusedAddress);

    server.answer("200 OK", QByteArray(UpdateFeed::maximumFeedBytes + 10, ' '));
    EXPECT_EQ(reason(check(updater)), Reason::tooLarge);
    EXPECT_TRUE(updater.canCheck());

    // A redirect within this machine is followed.
    server.answer("301 Moved Permanently", {}, "Location: " + server.url("/moved.xml").toEncoded() + "\r\n");
    server.answer("200 OK", feed("1.2"), {}, "/moved.xml");
    EXPECT_EQ(check(updater), UpdateFeed::Result(UpToDate{"1.2"}));
}

TEST_F(UpdaterNetwork, NobodyListening) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    Updater updater(config(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(port)), std::nullopt);
    const UpdateFeed::Result result = check(updater);
    ASSERT_TRUE(std::holds_alternative<UpdateFeed::Failed>(result));
    EXPECT_EQ(std::get<UpdateFeed::Failed>(result).reason, UpdateFeed::Failed::Reason::network);
    EXPECT_TRUE(updater.dialog()->view()->detail().startsWith("The update server couldn't be reached: "));
}

TEST_F(UpdaterNetwork, BackgroundChecksSpeakOnlyOfANewVersionAndOnlyOnce) {
    Platform::ManualClock clock(false);
    const Platform::ScopedClock scoped(clock);
    server.answer("200 OK", feed("1.2"));
    Updater updater(config(server.url().toString()), Updater::Schedule{1min, 24h});
    Watch watch(updater);
    const auto advance = [&](std::chrono::nanoseconds by, std::size_t results,
                             std::chrono::milliseconds timeout = 5s) {
        clock.advance(by);
        return waitUntil([&] { return watch.results.size() == results; }, timeout);
    };

    ASSERT_FALSE(advance(59s, 1, 200ms));
    EXPECT_EQ(server.requests, 0);
    ASSERT_TRUE(advance(1s, 1));
    EXPECT_EQ(watch.changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(updater.dialog(), nullptr);  // up to date: nothing to say

    server.answer("200 OK", feed("1.3"));
    ASSERT_TRUE(advance(24h, 2));
    ASSERT_NE(updater.dialog(), nullptr);
    EXPECT_TRUE(updater.dialog()->isVisible());
    EXPECT_EQ(updater.dialog()->view()->title(), "Glyphnab 1.3 is available");
    updater.dialog()->close();

    ASSERT_TRUE(advance(24h, 3));
    EXPECT_FALSE(updater.dialog()->isVisible());  // told once already

    server.answer("404 Not Found", "gone");
    ASSERT_TRUE(advance(24h, 4));
    EXPECT_FALSE(updater.dialog()->isVisible());  // a failed background check stays quiet
    EXPECT_EQ(server.requests, 4);
}

}  // namespace
}  // namespace Glyphnab
