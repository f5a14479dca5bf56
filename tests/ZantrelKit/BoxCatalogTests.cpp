#include "ZantrelKit/BoxCatalog.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace ZantrelKit;
using BoxCatalog::App;

namespace {

QByteArray row(const char* id, const char* name, const char* url) {
    return QByteArray(R"({"id": ")") + id + R"(", "name": ")" + name + R"(", "line": "L", "url": ")" + url +
           R"(", "extra": 1})";
}

QByteArray catalogue(std::initializer_list<QByteArray> rows) {
    QByteArrayList list(rows);
    return "{\"apps\": [" + list.join(',') + "]}";
}

// One HTTP answer per connection, on 127.0.0.1; an empty answer keeps the client waiting.
class OneAnswerServer {
public:
    explicit OneAnswerServer(QByteArray answer) : answer_(std::move(answer)) {
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (!request_.contains("\r\n\r\n") || answer_.isEmpty())
                        return;
                    socket->write(answer_);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        server_.listen(QHostAddress::LocalHost);
    }

    static QByteArray http(int status, const QByteArray& body, const QByteArray& reason = "X") {
        return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
               "\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/box-apps.json").arg(server_.serverPort()));
    }
    const QByteArray& request() const { return request_; }

private:
    QTcpServer server_;
    QByteArray answer_;
    QByteArray request_;
};

class BoxCatalogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        resource = folder.filePath(QStringLiteral("box-apps.json"));
        writeResource(catalogue({row("org.example.Copy", "Resource App", "https://example.org/r")}));
    }

    void writeResource(const QByteArray& data) const {
        QFile file(resource);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }

    QList<App> fetch(const std::optional<QUrl>& url, BoxCatalog::FetchLimits limits = {}) const {
        QFuture<QList<App>> future = BoxCatalog::apps(url, QStringLiteral("org.glyphnab.Glyphnab"), resource, limits);
        EXPECT_TRUE(TestSupport::waitUntil([&] { return future.isFinished(); }, std::chrono::seconds(20)));
        return future.isFinished() && future.resultCount() == 1 ? future.result() : QList<App>{};
    }

    static QStringList names(const QList<App>& apps) {
        QStringList result;
        for (const App& app : apps)
            result.append(app.name);
        return result;
    }

    QTemporaryDir folder;
    QString resource;
};

TEST_F(BoxCatalogTest, LeavesOutTheRunningAppUnnamedRowsAndPlainHttp) {
    const QByteArray data = catalogue({
        row("org.glyphnab.Glyphnab", "Glyphnab", "https://glyphnab.org"),
        row("a", "", "https://example.org/a"),
        row("b", "Plain", "http://example.org/b"),
        row("c", "Shouting", "HTTPS://example.org/c"),
        row("d", "Broken", "https://exa mple.org/d"),
        row("e", "Good", "https://example.org/e"),
        row("f", "Good Twice", "https://example.org/e"),
    });
    const QList<App> apps = BoxCatalog::decodeApps(data, QStringLiteral("org.glyphnab.Glyphnab"));
    EXPECT_EQ(names(apps), (QStringList{QStringLiteral("Good"), QStringLiteral("Good Twice")}));
    ASSERT_FALSE(apps.isEmpty());
    EXPECT_EQ(apps.first(), (App{QStringLiteral("e"), QStringLiteral("Good"), QStringLiteral("L"),
                                 QUrl(QStringLiteral("https://example.org/e"))}));
}

TEST_F(BoxCatalogTest, OneBadRowSpoilsTheWholeFile) {
    EXPECT_THROW(BoxCatalog::decodeApps(R"({"apps": [{"id": "a", "name": "A", "url": "https://x"}]})", {}),
                 BoxCatalog::DecodeError);
    EXPECT_THROW(BoxCatalog::decodeApps(R"({"apps": [{"id": 1, "name": "A", "line": "", "url": "https://x"}]})", {}),
                 BoxCatalog::DecodeError);
    EXPECT_THROW(BoxCatalog::decodeApps(R"({"apps": ["row"]})", {}), BoxCatalog::DecodeError);
    EXPECT_THROW(BoxCatalog::decodeApps(R"({"rows": []})", {}), BoxCatalog::DecodeError);
    EXPECT_THROW(BoxCatalog::decodeApps("[]", {}), BoxCatalog::DecodeError);
    EXPECT_THROW(BoxCatalog::decodeApps("", {}), BoxCatalog::DecodeError);

    writeResource(R"({"apps": [{"id": "a", "name": "A", "url": "https://x"}]})");
    EXPECT_THROW(BoxCatalog::resourceApps({}, resource), BoxCatalog::DecodeError);
    EXPECT_TRUE(fetch(std::nullopt).isEmpty());
}

TEST_F(BoxCatalogTest, MissingResourceCopy) {
    QFile::remove(resource);
    EXPECT_THROW(BoxCatalog::resourceApps({}, resource), Missing);
    EXPECT_TRUE(fetch(std::nullopt).isEmpty());
}

TEST_F(BoxCatalogTest, BundledCopyDecodes) {
    const QList<App> bundled = BoxCatalog::resourceApps(QStringLiteral("org.example.other"));
    ASSERT_FALSE(bundled.isEmpty());
    for (const App& app : bundled)
        EXPECT_EQ(app.url.scheme(), QStringLiteral("https"));
    EXPECT_TRUE(BoxCatalog::resourceApps(QStringLiteral("org.glyphnab.Glyphnab")).size() < bundled.size());
}

TEST_F(BoxCatalogTest, GoodRemoteBodyIsTheAnswer) {
    OneAnswerServer server(
        OneAnswerServer::http(200, catalogue({row("org.example.Remote", "Remote App", "https://example.org/x")})));
    EXPECT_EQ(names(fetch(server.url())), QStringList{QStringLiteral("Remote App")});
    EXPECT_TRUE(server.request().startsWith("GET /box-apps.json HTTP/1.1\r\n"));
}

TEST_F(BoxCatalogTest, RemoteCatalogueWithNoUsableRowIsEmptyNotTheResourceCopy) {
    OneAnswerServer server(OneAnswerServer::http(200, catalogue({row("x", "", "https://example.org/x")})));
    EXPECT_TRUE(fetch(server.url()).isEmpty());
}

TEST_F(BoxCatalogTest, FailuresFallBackToTheResourceCopy) {
    const QStringList resourceNames{QStringLiteral("Resource App")};
    {
        OneAnswerServer notFound(OneAnswerServer::http(404, catalogue({row("r", "Remote", "https://e.org")})));
        EXPECT_EQ(names(fetch(notFound.url())), resourceNames);
    }
    {
        OneAnswerServer redirectLike(OneAnswerServer::http(204, QByteArray()));
        EXPECT_EQ(names(fetch(redirectLike.url())), resourceNames);
    }
    {
        OneAnswerServer empty(OneAnswerServer::http(200, QByteArray()));
        EXPECT_EQ(names(fetch(empty.url())), resourceNames);
    }
    {
        OneAnswerServer garbage(OneAnswerServer::http(200, "<html>not json</html>"));
        EXPECT_EQ(names(fetch(garbage.url())), resourceNames);
    }
    {
        // Nobody listens here any more.
        QUrl closed;
        {
            OneAnswerServer gone(QByteArray("x"));
            closed = gone.url();
        }
        EXPECT_EQ(names(fetch(closed)), resourceNames);
    }
    // Not an HTTP address at all.
    EXPECT_EQ(names(fetch(QUrl::fromLocalFile(resource))), resourceNames);
}

TEST_F(BoxCatalogTest, SlowOrOversizedAnswersFallBack) {
    BoxCatalog::FetchLimits tight;
    tight.timeout = std::chrono::milliseconds(300);
    tight.maximumBytes = 64;
    {
        OneAnswerServer silent{QByteArray()};
        EXPECT_EQ(names(fetch(silent.url(), tight)), QStringList{QStringLiteral("Resource App")});
    }
    {
        const QByteArray big = catalogue({row("org.example.Big", "Big", "https://example.org/big"),
                                          row("org.example.Big2", "Big 2", "https://example.org/big2")});
        ASSERT_GT(big.size(), tight.maximumBytes);
        OneAnswerServer oversized(OneAnswerServer::http(200, big));
        EXPECT_EQ(names(fetch(oversized.url(), tight)), QStringList{QStringLiteral("Resource App")});
    }
}

TEST(BoxCatalogApp, JsonRoundTrip) {
    const App app{QStringLiteral("id"), QStringLiteral("Name"), QStringLiteral("Line"),
                  QUrl(QStringLiteral("https://example.org/p?q=1"))};
    EXPECT_EQ(App::fromJson(app.toJson()), app);
    EXPECT_EQ(App::fromJson(QJsonObject{{QStringLiteral("id"), QStringLiteral("x")}}), std::nullopt);
}

}  // namespace
