#include "Glyphnab/shell/AppBus.h"

#include "Glyphnab/shell/AppIntents.h"
#include "Glyphnab/shell/ServiceProvider.h"
#include "GlyphnabCore/Words.h"
#include "platform/pasteboard/Pasteboard.h"
#include "tests/Glyphnab/IntentFixture.h"
#include "tests/Glyphnab/PrivateBus.h"
#include "tests/support/TestSupport.h"

#include <QCoroTimer>
#include <QDBusPendingCall>
#include <QDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;
using AppBusClient::Answer;
using AppBusClient::Failure;
namespace Words = GlyphnabCore::Words;

Answer await(QCoro::Task<Answer> task) { return QCoro::waitFor(std::move(task)); }

// What the fake app was asked and how it answers.
struct Asked {
    QList<QList<QUrl>> reads;
    QList<QUrl> codes;
    QList<QStringList> boardTypes;
    QList<QList<QUrl>> boardUrls;
    QList<QList<QUrl>> opened;
    int reopens = 0;
    int choices = 0;
    int grabs = 0;
    bool grabStopped = false;
    // A grab waits until this is set (or until it is stopped).
    bool releaseGrab = true;
    bool modelThere = true;
    // A read waits until this is set (or until it is stopped).
    bool releaseRead = true;
    bool readStopped = false;
    std::optional<QString> busy;
};

AppBusTarget fakeTarget(std::shared_ptr<Asked> asked) {
    AppBusTarget target;
    target.grab = [asked](std::stop_token stop) -> QCoro::Task<QString> {
        ++asked->grabs;
        while (!asked->releaseGrab && !stop.stop_requested()) {
            QTimer tick;
            tick.start(10ms);
            co_await tick;
        }
        if (stop.stop_requested()) {
            asked->grabStopped = true;
            throw IntentFailure(Words::errorStopped());
        }
        co_return QStringLiteral("grabbed text");
    };
    target.read = [asked](QList<QUrl> urls, std::stop_token stop) -> QCoro::Task<QString> {
        asked->reads.append(urls);
        while (!asked->releaseRead && !stop.stop_requested()) {
            QTimer tick;
            tick.start(10ms);
            co_await tick;
        }
        if (stop.stop_requested()) {
            asked->readStopped = true;
            throw IntentFailure(Words::errorStopped());
        }
        QStringList names;
        for (const QUrl& url : urls)
            names.append(url.fileName());
        co_return names.join(u'\n');
    };
    target.code = [asked](QUrl url) -> QCoro::Task<QString> {
        asked->codes.append(url);
        if (url.fileName() == u"broken.png")
            throw std::runtime_error("engine broke");
        throw IntentFailure(Words::errorNoCode());
        co_return QString();
    };
    target.copyText = [asked](const Platform::Pasteboard& board) {
        asked->boardTypes.append(board.types());
        asked->boardUrls.append(board.urls());
        return asked->modelThere;
    };
    target.openFiles = [asked](QList<QUrl> urls) { asked->opened.append(urls); };
    target.reopen = [asked] { ++asked->reopens; };
    target.chooseFiles = [asked] { ++asked->choices; };
    target.refusal = [asked] { return asked->busy; };
    return target;
}

class AppBusTests : public ::testing::Test {
protected:
    static void SetUpTestSuite() { daemonHolder = std::make_unique<PrivateBus::Daemon>(); }
    static void TearDownTestSuite() { daemonHolder.reset(); }

    void SetUp() override {
        if (!daemon.isRunning())
            GTEST_SKIP() << "no dbus-daemon";
        server = std::make_unique<AppBus>(fakeTarget(asked), daemon.connect(QStringLiteral("app")));
        ASSERT_TRUE(server->exportObject());
        ASSERT_TRUE(server->claimName());
        client = daemon.connect(QStringLiteral("client"));
        ASSERT_TRUE(client.isConnected());
    }
    void TearDown() override {
        server.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("app"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    // A raw call, for what the client functions never send.
    QDBusMessage rawCall(const QString& method, const QVariantList& arguments) {
        QDBusMessage call = QDBusMessage::createMethodCall(AppBusNames::service, AppBusNames::path,
                                                           AppBusNames::interface, method);
        call.setArguments(arguments);
        QDBusPendingCall pending = client.asyncCall(call, 5000);
        TestSupport::waitUntil([&] { return pending.isFinished(); });
        return pending.reply();
    }

    static inline std::unique_ptr<PrivateBus::Daemon> daemonHolder;
    PrivateBus::Daemon& daemon = *daemonHolder;
    std::shared_ptr<Asked> asked = std::make_shared<Asked>();
    std::unique_ptr<AppBus> server;
    QDBusConnection client{QStringLiteral("none")};
};

TEST_F(AppBusTests, TheActionsAnswerWithTheirTextAndPathsArriveAbsolute) {
    EXPECT_TRUE(AppBusClient::instanceRunning(client));
    const Answer grabbed = await(AppBusClient::grab(client));
    ASSERT_TRUE(grabbed.has_value()) << grabbed.error().message.toStdString();
    EXPECT_EQ(*grabbed, u"grabbed text");

    const Answer read = await(AppBusClient::read(client, {QStringLiteral("scan.png"), QStringLiteral("/data/b.pdf")}));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, u"scan.png\nb.pdf");
    ASSERT_EQ(asked->reads.size(), 1);
    EXPECT_EQ(asked->reads.front(), (QList<QUrl>{QUrl::fromLocalFile(QDir::current().filePath("scan.png")),
                                                 QUrl::fromLocalFile(QStringLiteral("/data/b.pdf"))}));
}

// The signatures other programs call by.
TEST_F(AppBusTests, TheInterfaceIsPublishedWithItsSignatures) {
    QDBusMessage call = QDBusMessage::createMethodCall(AppBusNames::service, AppBusNames::path,
                                                       QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                       QStringLiteral("Introspect"));
    QDBusPendingCall pending = client.asyncCall(call, 5000);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return pending.isFinished(); }));
    const QString xml = pending.reply().arguments().value(0).toString().simplified();
    EXPECT_TRUE(xml.contains(u"<interface name=\"org.glyphnab.Glyphnab\">")) << xml.toStdString();
    for (const char* method :
         {R"(<method name="GrabText"> <arg type="s" direction="out"/> </method>)",
          R"(<method name="ReadText"> <arg type="s" direction="out"/> <arg name="paths" type="as" direction="in"/>)",
          R"(<method name="ReadCode"> <arg type="s" direction="out"/> <arg name="path" type="s" direction="in"/>)",
          R"(<method name="CopyText"> <arg name="uris" type="as" direction="in"/> <arg name="bytes" type="ay" direction="in"/> <arg name="mimeType" type="s" direction="in"/>)",
          R"(<method name="OpenFiles"> <arg name="uris" type="as" direction="in"/>)", R"(<method name="Reopen"> </method>)",
          R"(<method name="ChooseFiles"> </method>)"})
        EXPECT_TRUE(xml.contains(QString::fromUtf8(method))) << method << "\n" << xml.toStdString();
}

TEST_F(AppBusTests, FailuresAreErrorRepliesThatCarryTheMessage) {
    const Answer noCode = await(AppBusClient::code(client, QStringLiteral("/data/page.png")));
    ASSERT_FALSE(noCode.has_value());
    EXPECT_EQ(noCode.error().kind, Failure::Kind::failed);
    EXPECT_EQ(noCode.error().message, Words::errorNoCode());

    const Answer broken = await(AppBusClient::code(client, QStringLiteral("/data/broken.png")));
    ASSERT_FALSE(broken.has_value());
    EXPECT_EQ(broken.error().kind, Failure::Kind::failed);
    EXPECT_EQ(broken.error().message, u"engine broke");

    // Paths the instance cannot place are refused before anything runs.
    const QDBusMessage relative = rawCall(QStringLiteral("ReadText"), {QStringList{QStringLiteral("scan.png")}});
    EXPECT_EQ(relative.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(relative.errorName(), AppBusNames::invalidArgs);
    EXPECT_EQ(relative.errorMessage(), Words::errorFileDetail());
    const QDBusMessage none = rawCall(QStringLiteral("ReadText"), {QStringList{}});
    EXPECT_EQ(none.errorName(), AppBusNames::invalidArgs);
    EXPECT_TRUE(asked->reads.isEmpty());
}

TEST_F(AppBusTests, AWaitingGrabHoldsUpNoOtherCall) {
    asked->releaseGrab = false;
    auto pending = AppBusClient::grab(client);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return asked->grabs == 1; }));
    const Answer reopened = await(AppBusClient::reopen(client));
    EXPECT_TRUE(reopened.has_value());
    EXPECT_EQ(asked->reopens, 1);
    EXPECT_FALSE(pending.isReady());
    asked->releaseGrab = true;
    const Answer grabbed = await(std::move(pending));
    ASSERT_TRUE(grabbed.has_value());
    EXPECT_EQ(*grabbed, u"grabbed text");
}

TEST_F(AppBusTests, ACallerThatLeavesTheBusStopsItsGrab) {
    asked->releaseGrab = false;
    {
        QDBusConnection leaver = daemon.connect(QStringLiteral("leaver"));
        QDBusMessage call = QDBusMessage::createMethodCall(AppBusNames::service, AppBusNames::path,
                                                           AppBusNames::interface, QStringLiteral("GrabText"));
        leaver.asyncCall(call, 60000);
        ASSERT_TRUE(TestSupport::waitUntil([&] { return asked->grabs == 1; }));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("leaver"));
    EXPECT_TRUE(TestSupport::waitUntil([&] { return asked->grabStopped; }));
}

// An interrupted `glyphnab read` leaves the bus; the app's reading stops with it.
TEST_F(AppBusTests, ACallerThatLeavesTheBusStopsItsReading) {
    asked->releaseRead = false;
    {
        QDBusConnection leaver = daemon.connect(QStringLiteral("reader"));
        QDBusMessage call = QDBusMessage::createMethodCall(AppBusNames::service, AppBusNames::path,
                                                           AppBusNames::interface, QStringLiteral("ReadText"));
        call.setArguments({QStringList{QStringLiteral("/data/long.pdf")}});
        leaver.asyncCall(call, 60000);
        ASSERT_TRUE(TestSupport::waitUntil([&] { return asked->reads.size() == 1; }));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("reader"));
    EXPECT_TRUE(TestSupport::waitUntil([&] { return asked->readStopped; }));
}

// While a reading runs the app only beeps at new work: the caller is told so instead of
// being answered with success.
TEST_F(AppBusTests, CopyTextAndOpenFilesWhileBusyAnswerTheBusyText) {
    const QString busyText = Words::errorBusy(QStringLiteral("Glyphnab"));
    asked->busy = busyText;
    const QDBusMessage copy =
        rawCall(QStringLiteral("CopyText"), {QStringList{QStringLiteral("/data/a.png")}, QByteArray(), QString()});
    EXPECT_EQ(copy.errorName(), AppBusNames::failed);
    EXPECT_EQ(copy.errorMessage(), busyText);
    EXPECT_EQ(asked->boardUrls.size(), 1) << "the app is told all the same: it shows its busy notice";

    const Answer opened = await(AppBusClient::openFiles(client, {QUrl::fromLocalFile(QStringLiteral("/data/a.png"))}));
    ASSERT_FALSE(opened.has_value());
    EXPECT_EQ(opened.error().kind, Failure::Kind::failed);
    EXPECT_EQ(opened.error().message, busyText);
    EXPECT_EQ(asked->opened.size(), 1);

    // Bad input is still told apart from a busy app.
    const QDBusMessage bad = rawCall(QStringLiteral("CopyText"), {QStringList{}, QByteArray(), QString()});
    EXPECT_EQ(bad.errorName(), AppBusNames::invalidArgs);

    asked->busy.reset();
    EXPECT_TRUE(await(AppBusClient::openFiles(client, {QUrl::fromLocalFile(QStringLiteral("/data/a.png"))})));
    EXPECT_EQ(asked->opened.size(), 2);
}

TEST_F(AppBusTests, CopyTextHandsTheFilesOrTheBytesOverAsABoard) {
    const QDBusMessage files = rawCall(QStringLiteral("CopyText"),
                                       {QStringList{QStringLiteral("file:///data/a.png"), QStringLiteral("/data/b.pdf")},
                                        QByteArray(), QString()});
    EXPECT_EQ(files.type(), QDBusMessage::ReplyMessage) << files.errorMessage().toStdString();
    ASSERT_EQ(asked->boardUrls.size(), 1);
    EXPECT_EQ(asked->boardUrls.front(), (QList<QUrl>{QUrl(QStringLiteral("file:///data/a.png")),
                                                     QUrl::fromLocalFile(QStringLiteral("/data/b.pdf"))}));

    const QDBusMessage picture = rawCall(QStringLiteral("CopyText"),
                                         {QStringList{}, IntentFixture::png(20), QStringLiteral("image/png")});
    EXPECT_EQ(picture.type(), QDBusMessage::ReplyMessage) << picture.errorMessage().toStdString();
    ASSERT_EQ(asked->boardTypes.size(), 2);
    EXPECT_TRUE(asked->boardTypes.back().contains(Platform::PasteboardType::png));
}

TEST_F(AppBusTests, CopyTextRefusesWhatCannotBeReadAndReportsAMissingModel) {
    const QStringList none;
    for (const QVariantList& arguments :
         {QVariantList{QStringList{QStringLiteral("https://example.com/a.png")}, QByteArray(), QString()},
          QVariantList{none, QByteArrayLiteral("just words"), QStringLiteral("text/plain")},
          QVariantList{none, QByteArray(), QString()},
          QVariantList{QStringList{QStringLiteral("/data/notes.txt")}, QByteArray(), QString()}}) {
        const QDBusMessage refused = rawCall(QStringLiteral("CopyText"), arguments);
        EXPECT_EQ(refused.errorName(), AppBusNames::invalidArgs);
        EXPECT_EQ(refused.errorMessage(), Words::errorFileDetail());
    }
    EXPECT_TRUE(asked->boardTypes.isEmpty());

    asked->modelThere = false;
    const QDBusMessage gone =
        rawCall(QStringLiteral("CopyText"), {QStringList{QStringLiteral("/data/a.png")}, QByteArray(), QString()});
    EXPECT_EQ(gone.errorName(), AppBusNames::failed);
    EXPECT_EQ(gone.errorMessage(), notReadyFailure().message);
}

TEST_F(AppBusTests, OpenFilesChoosingFilesAndReopenReachTheApp) {
    const Answer opened = await(AppBusClient::openFiles(
        client, {QUrl::fromLocalFile(QStringLiteral("/data/a b.png")), QUrl::fromLocalFile("/data/c.pdf")}));
    ASSERT_TRUE(opened.has_value()) << opened.error().message.toStdString();
    ASSERT_EQ(asked->opened.size(), 1);
    EXPECT_EQ(asked->opened.front().front().toLocalFile(), u"/data/a b.png");
    EXPECT_EQ(asked->opened.front().size(), 2);
    EXPECT_TRUE(await(AppBusClient::reopen(client)).has_value());
    EXPECT_EQ(asked->reopens, 1);
    EXPECT_TRUE(await(AppBusClient::chooseFiles(client)).has_value());
    EXPECT_EQ(asked->choices, 1);
    EXPECT_EQ(asked->reopens, 1);
}

TEST_F(AppBusTests, TheNameHasOneOwnerAndForwardingWithoutOneSaysSo) {
    AppBus second(fakeTarget(asked), daemon.connect(QStringLiteral("second")));
    EXPECT_FALSE(second.claimName());

    server->releaseName();
    EXPECT_FALSE(AppBusClient::instanceRunning(client));
    const Answer answer = await(AppBusClient::grab(client));
    ASSERT_FALSE(answer.has_value());
    EXPECT_EQ(answer.error().kind, Failure::Kind::noInstance);
    EXPECT_EQ(asked->grabs, 0);
    // A relaunch that failed takes the name back.
    EXPECT_TRUE(server->claimName());
    EXPECT_TRUE(AppBusClient::instanceRunning(client));
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));
}

TEST_F(AppBusTests, ANotConnectedBusHasNoInstance) {
    const QDBusConnection nowhere = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                                  QStringLiteral("nowhere"));
    EXPECT_FALSE(AppBusClient::instanceRunning(nowhere));
    const Answer answer = await(AppBusClient::read(nowhere, {QStringLiteral("/a.png")}));
    ASSERT_FALSE(answer.has_value());
    EXPECT_EQ(answer.error().kind, Failure::Kind::noInstance);
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

// The three actions of a real target run the intents: before launch, each says so.
TEST_F(AppBusTests, TheIntentTargetAnswersWithTheActionsOwnFailures) {
    server.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("app"));
    AppBusTarget target = AppBusTarget::withIntents();
    EXPECT_FALSE(target.copyText);
    AppBus app(std::move(target), daemon.connect(QStringLiteral("app")));
    ASSERT_TRUE(app.exportObject());
    ASSERT_TRUE(app.claimName());
    setSharedModel(nullptr);
    const Answer grabbed = await(AppBusClient::grab(client));
    const Answer read = await(AppBusClient::read(client, {QStringLiteral("/data/a.png")}));
    const Answer code = await(AppBusClient::code(client, QStringLiteral("/data/a.png")));
    for (const Answer* answer : {&grabbed, &read, &code}) {
        ASSERT_FALSE(answer->has_value());
        EXPECT_EQ(answer->error().message, notReadyFailure().message);
    }
    // No copy-text closure given: an error, not a silent success.
    const QDBusMessage copy =
        rawCall(QStringLiteral("CopyText"), {QStringList{QStringLiteral("/data/a.png")}, QByteArray(), QString()});
    EXPECT_EQ(copy.errorName(), AppBusNames::failed);
}

class ServiceProviderTests : public IntentFixture::ModelOnFakes {};

TEST_F(ServiceProviderTests, ReadsWhatItIsHandedLikeAnyGrabAndFailsOnceTheModelIsGone) {
    auto model = makeModel();
    readings[30] = IntentFixture::textReading({QStringLiteral("Handed over by a service")});
    ServiceProvider services;
    services.model = model.get();
    Platform::MemoryPasteboard handed;
    handed.setUrls({pictureFile(30)});
    EXPECT_TRUE(services.copyText(handed));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !model->busy(); }));
    EXPECT_EQ(board->string(), u"Handed over by a service");
    model.reset();
    EXPECT_FALSE(services.copyText(handed));
}

}  // namespace
}  // namespace Glyphnab
