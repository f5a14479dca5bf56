#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/settings/AboutSettingsTab.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/settings/Diagnostics.h"
#include "ZantrelUI/settings/DiagnosticsSheet.h"
#include "ZantrelUI/design/LinkButton.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/design/Tokens.h"
#include "platform/async/Clock.h"
#include "platform/log/Log.h"

#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <chrono>

using namespace ZantrelUI;
using DesignTest::DesignFixture;
using Fact = Diagnostics::Fact;

namespace {

Diagnostics::Sources fixedSources(QStringList log, ZantrelKit::DiagnosticReport::PrivateNames names = {}) {
    return {[] { return QStringLiteral("2.1 (40)"); },
            [] { return QStringLiteral("Debian GNU/Linux 12 (bookworm)"); },
            [] { return QStringLiteral("6.1.0-18-amd64"); },
            [] { return QStringLiteral("ThinkPad X1 Carbon"); },
            [log](const QString&) { return log; },
            [names] { return names; }};
}

QString report(const QStringList& log, const ZantrelKit::DiagnosticReport::PrivateNames& names = {},
               const QList<Fact>& fields = {}) {
    return Diagnostics::report(QStringLiteral("Glyphnab"), QStringLiteral("org.glyphnab.Glyphnab"), fields,
                               fixedSources(log, names));
}

TEST(SupportReport, WithoutLogLinesItIsFactsAndFooter) {
    const QString text = report({}, {}, {{QStringLiteral("Route"), QStringLiteral("screen")}});
    const QStringList expected{QStringLiteral("Glyphnab report"),
                               QStringLiteral("Version: 2.1 (40)"),
                               QStringLiteral("System: Debian GNU/Linux 12 (bookworm)"),
                               QStringLiteral("Kernel: 6.1.0-18-amd64"),
                               QStringLiteral("Model: ThinkPad X1 Carbon"),
                               QStringLiteral("Route: screen"),
                               QString(),
                               ZantrelKit::Copy::Diagnostics::footer(QStringLiteral("Glyphnab"))};
    EXPECT_EQ(text, expected.join(u'\n'));
}

TEST(SupportReport, KeepsOnlyTheNewest200Lines) {
    QStringList log;
    for (int i = 0; i < 250; ++i)
        log << QStringLiteral("10:00:00 grab: line %1").arg(i);
    const QStringList lines = report(log).split(u'\n');
    EXPECT_FALSE(lines.contains("10:00:00 grab: line 49"));
    EXPECT_TRUE(lines.contains("10:00:00 grab: line 50"));
    const qsizetype first = lines.indexOf("10:00:00 grab: line 50");
    EXPECT_EQ(lines.indexOf("10:00:00 grab: line 249"), first + 199);
    EXPECT_EQ(lines[first + 200], QString());  // the empty line before the footer
}

TEST(SupportReport, LeavesOutTheUserAndTheComputer) {
    const ZantrelKit::DiagnosticReport::PrivateNames names{QStringLiteral("kestrel"), QStringLiteral("alice"),
                                                           QStringLiteral("/home/alice")};
    const QString text = report({QStringLiteral("09:00:01 file: read /home/alice/Pictures/a.png"),
                                 QStringLiteral("09:00:02 file: opened by Alice"),
                                 QStringLiteral("09:00:03 grab: kestrel is busy"),
                                 QStringLiteral("09:00:04 grab: kestrels nest"),
                                 QStringLiteral("09:00:05 grab: done")},
                                names);
    EXPECT_TRUE(text.contains("09:00:01 file: read ~/Pictures/a.png"));
    EXPECT_FALSE(text.contains("Alice"));
    EXPECT_FALSE(text.contains("kestrel is busy"));
    EXPECT_TRUE(text.contains("09:00:04 grab: kestrels nest"));  // a longer word is not the name
    EXPECT_TRUE(text.contains("09:00:05 grab: done"));
    // Facts are never filtered.
    EXPECT_TRUE(report({}, names, {{QStringLiteral("Who"), QStringLiteral("alice")}}).contains("Who: alice"));
    // An empty host name filters nothing.
    const QString kept = report({QStringLiteral("09:00:06 grab: done")}, {QString(), QString(), QString()});
    EXPECT_TRUE(kept.contains("09:00:06 grab: done"));
}

TEST(SupportReport, LogLinesComeFromTheStoreForOneSubsystem) {
    Platform::LogStore store(10);
    const QDateTime at(QDate(2026, 12, 9), QTime(14, 5, 9));
    store.append({at, QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grab"), Platform::LogLevel::info,
                  QStringLiteral("grab: text, 12 characters")});
    store.append({at.addSecs(1), QStringLiteral("org.other.App"), QStringLiteral("grab"), Platform::LogLevel::info,
                  QStringLiteral("not ours")});
    store.append({at.addSecs(2), QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("hotkeys"),
                  Platform::LogLevel::error, QStringLiteral("refused")});
    EXPECT_EQ(Diagnostics::logLines(QStringLiteral("org.glyphnab.Glyphnab"), store),
              (QStringList{QStringLiteral("14:05:09 grab: grab: text, 12 characters"),
                           QStringLiteral("14:05:11 hotkeys: refused")}));
    EXPECT_TRUE(Diagnostics::logLines(QStringLiteral("org.none"), store).isEmpty());
}

TEST(SupportReport, SystemFactsReadTheirFiles) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    EXPECT_EQ(Diagnostics::hardwareModel(write(QStringLiteral("model"), "ThinkPad X1 Carbon Gen 9\n")),
              "ThinkPad X1 Carbon Gen 9");
    EXPECT_EQ(Diagnostics::hardwareModel(write(QStringLiteral("zero"), QByteArray("Mini\0junk", 9))), "Mini");
    EXPECT_EQ(Diagnostics::hardwareModel(write(QStringLiteral("empty"), QByteArray("\0", 1))), "");
    EXPECT_EQ(Diagnostics::hardwareModel(folder.filePath(QStringLiteral("missing"))), "");

    EXPECT_EQ(Diagnostics::distributionName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(Diagnostics::distributionName("# comment\nNAME=Fedora\nVERSION_ID=39\n"), "Fedora 39");
    EXPECT_EQ(Diagnostics::distributionName("PRETTY_NAME='Arch Linux'\n"), "Arch Linux");
    EXPECT_EQ(Diagnostics::distributionName("PRETTY_NAME=\"Say \\\"hi\\\"\"\n"), "Say \"hi\"");
    EXPECT_EQ(Diagnostics::distributionName(""), "Linux");
    EXPECT_FALSE(Diagnostics::kernelRelease().isEmpty());
}

// A platform-operations value whose clipboard is in memory.
std::shared_ptr<const MacCalls> memoryCalls(std::shared_ptr<Platform::MemoryPasteboard> board,
                                            std::vector<QUrl>* opened = nullptr) {
    return std::make_shared<const MacCalls>(
        false, [] { return LoginItem::Status::off; }, [](bool) {}, [] {}, [] {},
        [opened](const QUrl& url) {
            if (opened)
                opened->push_back(url);
        },
        [](const QList<QUrl>&) {}, [](const OpenAsk&) { return QList<QUrl>(); },
        [](const SaveAsk&) { return std::optional<QUrl>(); }, std::move(board));
}

ZantrelKit::OwnerConfig config(QVariantMap extra) {
    extra.insert(QStringLiteral("CFBundleDisplayName"), QStringLiteral("Glyphnab"));
    extra.insert(QStringLiteral("ZNBoxName"), QStringLiteral("Zantrel Box"));
    return ZantrelKit::OwnerConfig(extra);
}

class SheetTest : public DesignFixture {
protected:
    SheetTest()
        : context(QStringLiteral("org.glyphnab.sheettest"), ZantrelKit::AccentPair::glyphnab,
                  config({{QStringLiteral("ZNSupportEmail"), QStringLiteral("help@zantrel.example")}}), {}),
          board(std::make_shared<Platform::MemoryPasteboard>()),
          clock(false),
          scopedClock(clock) {
        Environment::setMacCalls(&host, memoryCalls(board));
    }

    // A sheet whose composer answers `opens` and records what it was handed.
    DiagnosticsSheet* sheet(const AppContext& from, bool opens) {
        auto* made = new DiagnosticsSheet(from, QStringLiteral("Glyphnab report\nVersion: 1"), &host,
                                          [this, opens](const MailDraft& draft, std::function<void(bool)> done) {
                                              drafts.push_back(draft);
                                              done(opens);
                                          });
        return made;
    }

    AppContext context;
    QWidget host;
    std::shared_ptr<Platform::MemoryPasteboard> board;
    Platform::ManualClock clock;
    Platform::ScopedClock scopedClock;
    std::vector<MailDraft> drafts;
};

TEST_F(SheetTest, CopyWritesTheTextOnceAndShowsItForAMoment) {
    DiagnosticsSheet* report = sheet(context, true);
    report->show();
    EXPECT_EQ(report->textView()->toPlainText(), report->text());
    EXPECT_TRUE(report->textView()->isReadOnly());
    report->copyButton()->click();
    EXPECT_EQ(board->string(), report->text());
    EXPECT_EQ(board->writeCount(), 1);
    EXPECT_EQ(board->clearCount(), 1);
    EXPECT_TRUE(report->copied());
    EXPECT_TRUE(report->isVisible());  // copying leaves the sheet open

    clock.advance(std::chrono::milliseconds(1000));
    report->copyButton()->click();  // again, before the first reset
    EXPECT_EQ(board->writeCount(), 2);
    EXPECT_EQ(board->string(), report->text());  // cleared first: the text once, not twice
    clock.advance(std::chrono::milliseconds(400));
    EXPECT_TRUE(report->copied());
    clock.advance(std::chrono::milliseconds(150));  // the first reset ends at 1.5 s
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !report->copied(); }));
}

TEST_F(SheetTest, OpenInMailHandsOverTheAddressSubjectAndBody) {
    DiagnosticsSheet* report = sheet(context, true);
    report->show();
    report->mailButton()->click();
    ASSERT_EQ(drafts.size(), 1u);
    EXPECT_EQ(drafts[0].to, QStringLiteral("help@zantrel.example"));
    EXPECT_EQ(drafts[0].subject, ZantrelKit::Copy::Diagnostics::subject(QStringLiteral("Glyphnab"), appShortVersion(),
                                                                         appBuildNumber()));
    EXPECT_EQ(drafts[0].body, report->text());
    EXPECT_FALSE(report->isVisible());
    EXPECT_EQ(report->result(), QDialog::Accepted);
}

TEST_F(SheetTest, WhenNoEmailProgramOpensTheSheetSaysSoAndStays) {
    const AppContext bare(QStringLiteral("org.glyphnab.sheetbare"), ZantrelKit::AccentPair::glyphnab, config({}), {});
    DiagnosticsSheet* report = sheet(bare, false);
    report->show();
    EXPECT_FALSE(report->problemLabel()->isVisible());
    report->mailButton()->click();
    ASSERT_EQ(drafts.size(), 1u);
    EXPECT_FALSE(drafts[0].to);  // no address: the composer opens without one
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(report->problemLabel()->isVisible());
    EXPECT_TRUE(report->mailButton()->isEnabled());
}

TEST_F(SheetTest, ReturnMailsAndEscapeCancels) {
    DiagnosticsSheet* report = sheet(context, true);
    report->show();
    QApplication::setActiveWindow(report);
    QTest::keyClick(report, Qt::Key_Return);
    EXPECT_EQ(drafts.size(), 1u);
    EXPECT_FALSE(report->isVisible());

    DiagnosticsSheet* again = sheet(context, true);
    again->show();
    QApplication::setActiveWindow(again);
    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_EQ(drafts.size(), 1u);
}

TEST(MailDraft, TheAddressFormEncodesEveryValue) {
    const MailDraft draft{QStringLiteral("help@zantrel.example"), QStringLiteral("Glyphnab report 1.0 (7)"),
                          QStringLiteral("a & b = c + d\nnext?")};
    const QUrl url = draft.mailto();
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_EQ(url.toEncoded(),
              "mailto:help@zantrel.example?subject=Glyphnab%20report%201.0%20%287%29&body=a%20%26%20b%20%3D%20c%20%2B%20"
              "d%0Anext%3F");
    const MailDraft bare{std::nullopt, QStringLiteral("s"), QStringLiteral("b")};
    EXPECT_EQ(bare.mailto().toEncoded(), "mailto:?subject=s&body=b");
    EXPECT_EQ(draft.xdgEmailArguments(),
              (QStringList{QStringLiteral("--utf8"), QStringLiteral("--subject"), draft.subject,
                           QStringLiteral("--body"), draft.body, QStringLiteral("help@zantrel.example")}));
    EXPECT_EQ(bare.xdgEmailArguments().size(), 5);
}

class AboutTest : public DesignFixture {
protected:
    using App = ZantrelKit::BoxCatalog::App;

    AboutTest() : board(std::make_shared<Platform::MemoryPasteboard>()) {
        Environment::setMacCalls(&host, memoryCalls(board, &opened));
        new QVBoxLayout(&host);
    }

    AboutSettingsTab::Services services() {
        return {[this](const std::optional<QUrl>& from, const QString& excluding) {
                    asks.push_back({from, excluding});
                    return QtFuture::makeReadyFuture(catalogue);
                },
                fixedSources({QStringLiteral("09:00:00 grab: done")}),
                [](const MailDraft&, std::function<void(bool)> done) { done(true); }};
    }

    AboutSettingsTab* tab(const AppContext& context, bool glass, bool showsOthers = true) {
        Environment::setSettingsGlass(&host, glass);
        auto* made = new AboutSettingsTab(
            context, QStringLiteral("Copies the text in any area."), std::nullopt, showsOthers,
            [this] {
                ++fieldCalls;
                return QList<Fact>{{QStringLiteral("Route"), QStringLiteral("call %1").arg(fieldCalls)}};
            },
            nullptr, services());
        host.layout()->addWidget(made);
        return made;
    }

    QWidget host;
    std::shared_ptr<Platform::MemoryPasteboard> board;
    std::vector<QUrl> opened;
    QList<App> catalogue;
    std::vector<std::pair<std::optional<QUrl>, QString>> asks;
    int fieldCalls = 0;
};

TEST_F(AboutTest, WithoutASupportAddressThereIsNoWayToAReport) {
    const AppContext context(QStringLiteral("org.glyphnab.abouttest"), ZantrelKit::AccentPair::glyphnab,
                             config({{QStringLiteral("ZNSupportEmail"), QStringLiteral("PLACEHOLDER")}}), {});
    for (bool glass : {true, false}) {
        AboutSettingsTab* about = tab(context, glass);
        EXPECT_EQ(about->glass(), glass);
        EXPECT_FALSE(about->supportMail());
        EXPECT_EQ(about->supportCard(), nullptr);
        EXPECT_EQ(about->reportButton(), nullptr);
        delete about;
    }
}

TEST_F(AboutTest, VersionDigitsKeepOneWidthInBothLayouts) {
    const AppContext context(QStringLiteral("org.glyphnab.abouttest"), ZantrelKit::AccentPair::glyphnab, config({}), {});
    for (bool glass : {true, false}) {
        AboutSettingsTab* about = tab(context, glass);
        auto* version = about->findChild<QLabel*>(QStringLiteral("zantrel.aboutVersion"));
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text(), about->versionText());
        EXPECT_TRUE(Fonts::sameAdvances(version->font(), QStringLiteral("0123456789")));
        delete about;
    }
}

TEST_F(AboutTest, TheSupportCardMailsAndOpensAFreshReportEachTime) {
    const AppContext context(QStringLiteral("org.glyphnab.abouttest"), ZantrelKit::AccentPair::glyphnab,
                             config({{QStringLiteral("ZNSupportEmail"), QStringLiteral("help@zantrel.example")}}), {});
    AboutSettingsTab* about = tab(context, true);
    host.show();
    ASSERT_NE(about->supportCard(), nullptr);
    EXPECT_EQ(about->supportMail()->toString(), "mailto:help@zantrel.example?subject=Glyphnab support");
    auto* mailLink = about->supportCard()->findChild<LinkButton*>();
    ASSERT_NE(mailLink, nullptr);
    EXPECT_EQ(mailLink->title(), "help@zantrel.example");
    mailLink->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].scheme(), "mailto");

    about->reportButton()->click();
    ASSERT_TRUE(about->report());
    ASSERT_NE(about->sheet(), nullptr);
    EXPECT_TRUE(about->report()->contains("Route: call 1"));
    EXPECT_TRUE(about->report()->contains("09:00:00 grab: done"));
    EXPECT_EQ(about->sheet()->text(), *about->report());
    about->sheet()->cancelButton()->click();
    EXPECT_FALSE(about->report());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return about->sheet() == nullptr; }));

    about->reportButton()->click();
    ASSERT_TRUE(about->report());
    EXPECT_TRUE(about->report()->contains("Route: call 2"));
    EXPECT_EQ(fieldCalls, 2);
}

TEST_F(AboutTest, OtherAppsComeFromTheCatalogueLessThisApp) {
    catalogue = {{QStringLiteral("org.zantrel.Pagewise"), QStringLiteral("Pagewise"), QStringLiteral("PDF pages."),
                  QUrl(QStringLiteral("https://zantrel.example/pagewise"))},
                 {QStringLiteral("org.zantrel.Tallow"), QStringLiteral("Tallow"), QStringLiteral("Counts."),
                  QUrl(QStringLiteral("https://zantrel.example/tallow"))}};
    const AppContext context(QStringLiteral("org.glyphnab.abouttest"), ZantrelKit::AccentPair::glyphnab,
                             config({{QStringLiteral("ZNBoxAppsURL"), QStringLiteral("https://zantrel.example/apps.json")}}),
                             {});
    for (bool glass : {true, false}) {
        asks.clear();
        AboutSettingsTab* about = tab(context, glass);
        EXPECT_FALSE(about->othersCard()->isVisibleTo(about));  // empty until loaded
        host.show();
        ASSERT_TRUE(TestSupport::waitUntil([&] { return about->others().size() == 2; }));
        ASSERT_EQ(asks.size(), 1u);
        EXPECT_EQ(asks[0].first, QUrl(QStringLiteral("https://zantrel.example/apps.json")));
        EXPECT_EQ(asks[0].second, "org.glyphnab.abouttest");
        EXPECT_TRUE(about->othersCard()->isVisibleTo(about));
        QStringList downloads;
        for (const LinkButton* link : about->othersCard()->findChildren<LinkButton*>())
            downloads << link->url().toString();
        EXPECT_EQ(downloads, (QStringList{QStringLiteral("https://zantrel.example/pagewise"),
                                          QStringLiteral("https://zantrel.example/tallow")}));
        if (glass) {
            auto* card = about->othersCard()->findChild<SettingsCard*>();
            ASSERT_NE(card, nullptr);
            EXPECT_EQ(card->rowCount(), 2);
            EXPECT_EQ(card->separatorCount(), 1);
        }
        host.hide();
        delete about;
    }
}

int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST_F(AboutTest, ThePlainLayoutsLinksTakeTheAccentsInkAndItsDividerHasRoom) {
    catalogue = {{QStringLiteral("org.zantrel.Pagewise"), QStringLiteral("Pagewise"), QStringLiteral("PDF pages."),
                  QUrl(QStringLiteral("https://zantrel.example/pagewise"))}};
    const AppContext context(QStringLiteral("org.glyphnab.abouttest"), ZantrelKit::AccentPair::glyphnab,
                             config({{QStringLiteral("ZNBoxAppsURL"), QStringLiteral("https://zantrel.example/apps.json")},
                                     {QStringLiteral("ZNSiteURL"), QStringLiteral("https://zantrel.example")},
                                     {QStringLiteral("ZNSupportEmail"), QStringLiteral("help@zantrel.example")}}),
                             {});
    AboutSettingsTab* about = tab(context, false);
    host.resize(520, 900);
    host.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return about->others().size() == 1; }));
    QCoreApplication::processEvents();

    const QList<LinkButton*> links = about->findChildren<LinkButton*>();
    ASSERT_EQ(links.size(), 3);  // site, support mail, download
    const QImage picture = host.grab().toImage();
    for (const LinkButton* link : links) {
        SCOPED_TRACE(link->title().toStdString());
        const QColor ink = Environment::of(link).accent.ink.resolve(link);
        const QColor system = link->palette().color(QPalette::Link);
        ASSERT_GT(distance(ink.rgb(), system.rgb()), 60) << "the two colours can be told apart";
        const QRect box(link->mapTo(&host, QPoint()), link->size());
        const QRgb ground = picture.pixel(box.topLeft());
        QRgb strongest = ground;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (distance(picture.pixel(x, y), ground) > distance(strongest, ground))
                    strongest = picture.pixel(x, y);
        EXPECT_LT(distance(strongest, ink.rgb()), distance(strongest, system.rgb()));
        EXPECT_LE(distance(strongest, ink.rgb()), 60);
    }

    QFrame* divider = nullptr;
    for (QFrame* frame : about->othersCard()->findChildren<QFrame*>())
        if (frame->frameShape() == QFrame::HLine)
            divider = frame;
    ASSERT_NE(divider, nullptr);
    EXPECT_EQ(divider->y(), 6);
    QLabel* heading = nullptr;
    for (QLabel* label : about->othersCard()->findChildren<QLabel*>())
        if (label->text() == ZantrelKit::Copy::Settings::otherApps(context.product().boxName))
            heading = label;
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->y() - (divider->geometry().bottom() + 1), 6 + about->othersCard()->layout()->spacing());
    host.hide();
    delete about;
}

TEST_F(AboutTest, NoCatalogueRequestWhenOtherAppsAreOff) {
    catalogue = {{QStringLiteral("org.zantrel.Pagewise"), QStringLiteral("Pagewise"), QStringLiteral("PDF pages."),
                  QUrl(QStringLiteral("https://zantrel.example/pagewise"))}};
    const AppContext context(QStringLiteral("org.glyphnab.abouttest"), ZantrelKit::AccentPair::glyphnab,
                             config({{QStringLiteral("ZNBoxAppsURL"), QStringLiteral("not a url")},
                                     {QStringLiteral("ZNSiteURL"), QStringLiteral("not a url")}}),
                             {});
    AboutSettingsTab* off = tab(context, true, false);
    host.show();
    TestSupport::waitUntil([] { return false; }, std::chrono::milliseconds(30));
    EXPECT_TRUE(asks.empty());
    EXPECT_FALSE(off->othersCard()->isVisibleTo(off));
    EXPECT_EQ(off->siteLink(), nullptr);  // a site address that does not parse shows no link
    host.hide();
    delete off;

    // An address that does not parse asks for the kit's own copy.
    AboutSettingsTab* on = tab(context, true, true);
    host.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !asks.empty(); }));
    EXPECT_FALSE(asks[0].first);
    EXPECT_EQ(on->privacyText(), ZantrelKit::Copy::Settings::privacy(QStringLiteral("Glyphnab")));
}

}  // namespace
