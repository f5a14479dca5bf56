#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/context/FileFilters.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/desktop/PermissionProbe.h"

#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using ZantrelUI::MacCalls;
using ZantrelUI::OpenAsk;
using ZantrelUI::SaveAsk;

// What a recording value was asked, in order.
struct Record {
    std::vector<QString> calls;
    QList<QUrl> opened;
    std::vector<OpenAsk> openAsks;
    std::vector<SaveAsk> saveAsks;
};

MacCalls recording(const std::shared_ptr<Record>& record, std::shared_ptr<Platform::MemoryPasteboard> board) {
    return MacCalls{
        false,
        [record] {
            record->calls.push_back(QStringLiteral("loginStatus"));
            return ZantrelUI::LoginItem::Status::needsApproval;
        },
        [record](bool on) { record->calls.push_back(on ? QStringLiteral("login on") : QStringLiteral("login off")); },
        [record] { record->calls.push_back(QStringLiteral("loginItems")); },
        [record] { record->calls.push_back(QStringLiteral("quit")); },
        [record](const QUrl& url) { record->opened << url; },
        [record](const QList<QUrl>& urls) { record->calls.push_back(QStringLiteral("reveal %1").arg(urls.size())); },
        [record](const OpenAsk& ask) {
            record->openAsks.push_back(ask);
            return QList<QUrl>{};
        },
        [record](const SaveAsk& ask) {
            record->saveAsks.push_back(ask);
            return std::optional<QUrl>{};
        },
        std::move(board)};
}

TEST(MacCalls, RecordingValuesRecordAndLeaveTheDesktopAlone) {
    auto record = std::make_shared<Record>();
    auto board = std::make_shared<Platform::MemoryPasteboard>();
    const MacCalls calls = recording(record, board);
    EXPECT_FALSE(calls.isLive());
    EXPECT_EQ(calls.loginStatus(), ZantrelUI::LoginItem::Status::needsApproval);
    calls.setLogin(false);
    calls.quit();
    calls.reveal({QUrl::fromLocalFile(QStringLiteral("/tmp/a")), QUrl::fromLocalFile(QStringLiteral("/tmp/b"))});
    EXPECT_EQ(record->calls, (std::vector<QString>{QStringLiteral("loginStatus"), QStringLiteral("login off"),
                                                   QStringLiteral("quit"), QStringLiteral("reveal 2")}));
    const OpenAsk ask{false, {QStringLiteral("application/pdf")}, true, std::nullopt, std::nullopt, std::nullopt, false, std::nullopt};
    EXPECT_TRUE(calls.openPanel(ask).isEmpty());
    ASSERT_EQ(record->openAsks.size(), 1u);
    EXPECT_EQ(record->openAsks[0], ask);
    EXPECT_FALSE(calls.savePanel(SaveAsk{QStringLiteral("Report.txt"), {}, std::nullopt}));
    // A test value's own board is readable under the test host.
    calls.board().setString(QStringLiteral("hello"));
    EXPECT_EQ(board->string(), QStringLiteral("hello"));
}

TEST(MacCalls, CopiesShareTheBoardAndMayReplaceOneClosure) {
    auto record = std::make_shared<Record>();
    auto board = std::make_shared<Platform::MemoryPasteboard>();
    const MacCalls original = recording(record, board);
    MacCalls copy = original;
    int quits = 0;
    copy.quit = [&quits] { ++quits; };
    copy.quit();
    original.quit();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(record->calls, std::vector<QString>{QStringLiteral("quit")});
    EXPECT_EQ(&copy.board(), &original.board());
}

TEST(MacCalls, RequestAndOpenHandsExactlyOneAddressToOpen) {
    auto record = std::make_shared<Record>();
    const MacCalls calls = recording(record, std::make_shared<Platform::MemoryPasteboard>());
    ZantrelUI::PermissionProbe::requestAndOpen(ZantrelKit::Permission::screenRecording(), calls);
    ASSERT_EQ(record->opened.size(), 1);
    EXPECT_EQ(record->opened[0], ZantrelUI::PermissionProbe::settingsURL(ZantrelKit::Permission::screenRecording()));
}

TEST(MacCalls, TheEnvironmentHandsOutItsValueElseTheLiveOne) {
    auto record = std::make_shared<Record>();
    QWidget host;
    QWidget child(&host);
    EXPECT_TRUE(ZantrelUI::macCallsOf(&child).isLive());
    ZantrelUI::Environment::setMacCalls(
        &host, std::make_shared<const MacCalls>(recording(record, std::make_shared<Platform::MemoryPasteboard>())));
    const MacCalls found = ZantrelUI::macCallsOf(&child);
    EXPECT_FALSE(found.isLive());
    found.quit();
    EXPECT_EQ(record->calls, std::vector<QString>{QStringLiteral("quit")});
}

TEST(MacCallsMisuse, OnlyALiveValueUnderTheTestHostIsRefused) {
    const QString message = QStringLiteral("a model under the test host holds the live system calls: pass recording ones");
    EXPECT_EQ(ZantrelUI::liveCallsMisuse(true, true), message);
    EXPECT_FALSE(ZantrelUI::liveCallsMisuse(true, false));
    EXPECT_FALSE(ZantrelUI::liveCallsMisuse(false, true));
    ZantrelUI::refuseLiveCallsUnderTestHost(false, true);  // returns
    EXPECT_DEATH(ZantrelUI::refuseLiveCallsUnderTestHost(true, true),
                 "a model under the test host holds the live system calls: pass recording ones");
}

TEST(MacCallsDeathTest, EveryLiveOperationStopsUnderTheTestHostNamingItself) {
    const MacCalls live = MacCalls::live();
    const char* ending = " under the test host: a test reached the live system calls";
    EXPECT_DEATH(live.loginStatus(), std::string("open at login, read") + ending);
    EXPECT_DEATH(live.setLogin(true), std::string("open at login on") + ending);
    EXPECT_DEATH(live.setLogin(false), std::string("open at login off") + ending);
    EXPECT_DEATH(live.openLoginItems(), std::string("Login Items") + ending);
    EXPECT_DEATH(live.quit(), std::string("Quit") + ending);
    EXPECT_DEATH(live.open(QUrl(QStringLiteral("https://example.org/a"))),
                 std::string("open https://example.org/a") + ending);
    EXPECT_DEATH(live.reveal({QUrl::fromLocalFile(QStringLiteral("/tmp"))}), std::string("Show in Finder") + ending);
    EXPECT_DEATH(live.openPanel(OpenAsk{}), std::string("the open panel") + ending);
    EXPECT_DEATH(live.savePanel(SaveAsk{}), std::string("the save panel") + ending);
    EXPECT_DEATH(live.board(), std::string("the general pasteboard") + ending);
}

TEST(MacCallsReveal, FallbackOpensEachLocalItemsFolderOnce) {
    const QList<QUrl> folders = ZantrelUI::LiveCalls::revealFallbackFolders(
        {QUrl::fromLocalFile(QStringLiteral("/tmp/x/a.png")), QUrl::fromLocalFile(QStringLiteral("/tmp/x/b.png")),
         QUrl(QStringLiteral("https://example.org/c")), QUrl::fromLocalFile(QStringLiteral("/tmp/y/c.pdf"))});
    EXPECT_EQ(folders, (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/x")),
                                    QUrl::fromLocalFile(QStringLiteral("/tmp/y"))}));
    EXPECT_TRUE(ZantrelUI::LiveCalls::revealFallbackFolders({}).isEmpty());
}

}  // namespace

namespace {

TEST(OpenDialogFilters, PicturesAndPdfsAreOneFilterBesideAllFiles) {
    const QStringList types{QStringLiteral("image/*"), QStringLiteral("application/pdf")};
    const QStringList patterns = ZantrelUI::FileFilters::patterns(types);
    // The wildcard type is every picture Qt reads, not dropped.
    for (const char* pattern : {"*.png", "*.jpg", "*.jpeg", "*.bmp", "*.gif", "*.pdf"})
        EXPECT_TRUE(patterns.contains(QString::fromLatin1(pattern))) << pattern;
    // A camera's upper-case names match as well.
    EXPECT_TRUE(patterns.contains(QStringLiteral("*.JPG")));
    EXPECT_TRUE(patterns.contains(QStringLiteral("*.PDF")));
    EXPECT_EQ(QSet<QString>(patterns.begin(), patterns.end()).size(), patterns.size()) << "each pattern once";
    EXPECT_FALSE(patterns.contains(QStringLiteral("*.txt")));

    const QStringList filters = ZantrelUI::FileFilters::nameFilters(types, QStringLiteral("Pictures and PDFs"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters.at(0).startsWith(QStringLiteral("Pictures and PDFs (")));
    EXPECT_TRUE(filters.at(0).contains(QStringLiteral(" *.png ")));
    EXPECT_EQ(filters.at(1), QStringLiteral("All files (*)"));
    EXPECT_EQ(ZantrelUI::FileFilters::nameFilters({QStringLiteral("no/such-type")}, QStringLiteral("X")),
              QStringList{QStringLiteral("All files (*)")});
}

TEST(OpenDialogFilters, TheDialogIsSetUpWithTheFilterTheFolderAndTheMessage) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    OpenAsk ask;
    ask.types = {QStringLiteral("image/*"), QStringLiteral("application/pdf")};
    ask.multiple = true;
    ask.typesName = QStringLiteral("Pictures and PDFs");
    ask.message = QStringLiteral("Text from File");
    ask.start = QUrl::fromLocalFile(folder.path());
    QFileDialog dialog;
    ZantrelUI::LiveCalls::prepareOpenDialog(dialog, ask);
    EXPECT_EQ(dialog.nameFilters(), ZantrelUI::FileFilters::nameFilters(ask.types, ask.typesName));
    // The combo shows the name; its long list of patterns stays out of sight.
    EXPECT_TRUE(dialog.testOption(QFileDialog::HideNameFilterDetails));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Pictures and PDFs"));
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    // The message is a line inside the dialog, above its contents; the title stays the dialog's.
    EXPECT_NE(dialog.windowTitle(), QStringLiteral("Text from File"));
    const auto* message = dialog.findChild<QLabel*>(QStringLiteral("message"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), QStringLiteral("Text from File"));
    dialog.resize(700, 500);
    dialog.show();
    for (const QWidget* below : {static_cast<QWidget*>(dialog.findChild<QListView*>(QStringLiteral("listView"))),
                                 static_cast<QWidget*>(dialog.findChild<QWidget*>(QStringLiteral("lookInCombo")))}) {
        ASSERT_NE(below, nullptr);
        EXPECT_GE(below->mapTo(&dialog, QPoint(0, 0)).y(), message->geometry().bottom());
    }
    EXPECT_EQ(QFileInfo(dialog.directory().path()).canonicalFilePath(), QFileInfo(folder.path()).canonicalFilePath());

    // Without a name each type keeps a filter of its own, as before.
    ask.typesName.reset();
    ask.types = {QStringLiteral("application/pdf")};
    QFileDialog plain;
    ZantrelUI::LiveCalls::prepareOpenDialog(plain, ask);
    ASSERT_EQ(plain.nameFilters().size(), 1);
    EXPECT_TRUE(plain.nameFilters().first().contains(QStringLiteral("*.pdf")));
}

TEST(OpenDialogFilters, SeveralFoldersAreReturnedWhenSeveralMayBeChosen) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("one")));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("two")));
    OpenAsk ask;
    ask.folders = true;
    ask.multiple = true;
    ask.start = QUrl::fromLocalFile(folder.path());
    QFileDialog dialog;
    ZantrelUI::LiveCalls::prepareOpenDialog(dialog, ask);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    QStringList chosen;
    QObject::connect(&dialog, &QFileDialog::filesSelected, [&](const QStringList& files) { chosen = files; });
    dialog.show();
    // The folder's rows come in from a worker thread.
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) == 2; }, 20'000));
    list->selectAll();
    QMetaObject::invokeMethod(&dialog, "accept");
    QStringList names;
    for (const QString& path : chosen)
        names << QFileInfo(path).fileName();
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

}  // namespace
