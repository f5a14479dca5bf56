#include "ZantrelUI/desktop/AreaSelector.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/model/GrabRoads.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/DesktopSettings.h"
#include "platform/async/Clock.h"
#include "platform/log/Log.h"
#include "platform/pasteboard/Pasteboard.h"
#include "tests/support/TestSupport.h"
#include "tests/text/AwaitResult.h"
#include "tests/support/BadInputs.h"
#include "tests/text/ImageInputSamples.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;
using GlyphnabCore::Outcome;
using ZantrelText::LineMode;
using ZantrelText::Reading;
namespace Words = GlyphnabCore::Words;

void settle() {
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

class FakeNotice final : public NoticeShowing {
public:
    void show(const NoticeContent& content) override {
        shown.push_back(content);
        visible = true;
    }
    bool hide() override {
        ++hides;
        return std::exchange(visible, false);
    }
    std::vector<NoticeContent> shown;
    bool visible = false;
    int hides = 0;
};

Reading codeReading(const QString& payload) {
    Reading reading;
    if (payload.isEmpty())
        return reading;
    reading.codes.append(ZantrelText::FoundCode{payload, QStringLiteral("QR code"), true, QRectF(0, 0, 10, 10)});
    return reading;
}

ZantrelUI::MacCalls recordingCalls(QList<QUrl>* opened, QList<QUrl> openAnswer = {},
                                   std::vector<ZantrelUI::OpenAsk>* asked = nullptr) {
    return ZantrelUI::MacCalls(
        false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {},
        [opened](const QUrl& url) { opened->append(url); }, [](const QList<QUrl>&) {},
        [openAnswer, asked](const ZantrelUI::OpenAsk& ask) {
            if (asked)
                asked->push_back(ask);
            return openAnswer;
        },
        [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
        std::make_shared<Platform::MemoryPasteboard>());
}

class GlyphnabModelTests : public ::testing::Test {
protected:
    enum class ReaderMode { returns, throws, blocks };

    GlyphnabModelTests()
        : clock(true),
          context(QStringLiteral("org.glyphnab.modeltest"), ZantrelKit::AccentPair::glyphnab,
                  ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}),
                  {}) {}

    std::unique_ptr<GlyphnabModel> makeModel() {
        PictureSource pictures{
            [this] { return allowed; },
            [this](QColor ink, QString hint) -> QCoro::Task<std::optional<QRectF>> {
                ++picks;
                pickInks.append(ink);
                pickHints.append(hint);
                if (pickWaits)
                    co_await clock.sleep(5s);
                if (pickFailure)
                    throw ZantrelUI::PickFailure(*pickFailure);
                co_return pickAnswer;
            },
            [this](QRectF area) -> QCoro::Task<QImage> {
                captures.append(area);
                captureTimes.append(clock.now());
                if (captureFails)
                    throw std::runtime_error("no pixels");
                if (captureHangs)
                    co_await clock.sleep(1h);
                co_return QImage(20, 20, QImage::Format_RGB32);
            },
            [this] { ++cancelledPicks; }};
        SystemCalls system{recordingCalls(&opened, openAnswer, &openAsks), [this] { ++asks; }, [] {}, [this] { ++beeps; }};
        auto reader = [this](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<Reading> {
            ++reads;
            if (onRead)
                onRead();
            if (readerMode == ReaderMode::blocks)
                co_await clock.sleep(readFor);
            if (readerMode == ReaderMode::throws)
                throw std::runtime_error("engine broke");
            co_return codeReading(payload);
        };
        auto warmer = [this](ZantrelText::ReadOptions options) -> QCoro::Task<void> {
            warmed.append(options);
            co_return;
        };
        auto model = std::make_unique<GlyphnabModel>(
            context, board, std::move(pictures), std::move(system), reader, warmer,
            ModelAmbient{&clock, [] { return QStringList{"en-Latn-US", "de-Latn-DE", "fr-Latn-FR"}; },
                         [] { return QStringList{"en-US", "de-DE"}; }});
        auto notice = std::make_unique<FakeNotice>();
        this->notice = notice.get();
        model->setNotice(std::move(notice));
        model->setShowGrantPanel([this] { ++grantPanels; });
        return model;
    }

    void runUntilIdle(GlyphnabModel& model) {
        ASSERT_TRUE(TestSupport::waitUntil([&] { return !model.busy() && !model.picking(); }));
        settle();
    }

    Platform::ManualClock clock;
    ZantrelUI::AppContext context;
    std::shared_ptr<Platform::MemoryPasteboard> board = std::make_shared<Platform::MemoryPasteboard>();
    bool allowed = true;
    std::optional<QRectF> pickAnswer = QRectF(10, 10, 100, 50);
    bool captureFails = false;
    std::optional<Platform::CaptureFailure> pickFailure;
    bool captureHangs = false;
    bool pickWaits = false;
    ReaderMode readerMode = ReaderMode::returns;
    std::chrono::milliseconds readFor = 1s;
    QString payload = QStringLiteral("hello");
    QList<QUrl> opened, openAnswer;
    std::vector<ZantrelUI::OpenAsk> openAsks;
    QStringList pickHints;
    QList<QColor> pickInks;
    QList<QRectF> captures;
    QList<Platform::Clock::TimePoint> captureTimes;
    QList<ZantrelText::ReadOptions> warmed;
    int picks = 0, cancelledPicks = 0, asks = 0, beeps = 0, reads = 0, grantPanels = 0;
    FakeNotice* notice = nullptr;
    std::function<void()> onRead;
};

TEST_F(GlyphnabModelTests, ScreenGrabCopiesLogsAndShowsDoneWithTheOtherModeForGrabOther) {
    auto model = makeModel();
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.lineMode = LineMode::join;
    model->setPrefs(prefs);
    model->startGrab(true);
    runUntilIdle(*model);
    EXPECT_EQ(pickHints, QStringList{Words::pickHint()});
    EXPECT_EQ(board->string(), QStringLiteral("hello"));
    EXPECT_EQ(model->recents().items(), QStringList{QStringLiteral("hello")});
    EXPECT_EQ(model->lastArea(), QRectF(10, 10, 100, 50));
    ASSERT_FALSE(notice->shown.empty());
    const auto* done = notice->shown.back().asDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->mode, LineMode::keep);
    EXPECT_EQ(done->source, GrabSource::screen);
    EXPECT_EQ(model->progress(), nullptr);
    bool logged = false;
    for (const auto& entry : Platform::LogStore::shared().entries(QStringLiteral("org.glyphnab.modeltest")))
        logged = logged || entry.message == QStringLiteral("grab: code(\"QR code\"), 5 characters");
    EXPECT_TRUE(logged);
}

TEST_F(GlyphnabModelTests, BusyGuardBeepsAndShowsTheBusyNoticeOnlyWhileReading) {
    readerMode = ReaderMode::blocks;
    clock.setAutoAdvance(false);
    auto model = makeModel();
    model->startGrab(false);
    settle();
    ASSERT_TRUE(model->busy());
    // Under 0.3 s: no busy notice yet.
    EXPECT_TRUE(std::none_of(notice->shown.begin(), notice->shown.end(), [](auto& c) { return c.asBusy(); }));
    clock.advance(300ms);
    settle();
    ASSERT_FALSE(notice->shown.empty());
    EXPECT_NE(notice->shown.back().asBusy(), nullptr);
    const std::size_t before = notice->shown.size();
    model->startGrab(false);
    EXPECT_EQ(beeps, 1);
    ASSERT_EQ(notice->shown.size(), before + 1);
    EXPECT_EQ(notice->shown.back().asBusy()->progress, model->progress());
    EXPECT_EQ(picks, 1);
    clock.advance(1s);
    runUntilIdle(*model);
    EXPECT_NE(notice->shown.back().asDone(), nullptr);
}

TEST_F(GlyphnabModelTests, AReadingUnderThreeTenthsOfASecondNeverShowsTheBusyNotice) {
    readerMode = ReaderMode::blocks;
    readFor = 200ms;
    auto model = makeModel();
    model->startGrab(false);
    runUntilIdle(*model);
    clock.advance(1s);
    settle();
    EXPECT_TRUE(std::none_of(notice->shown.begin(), notice->shown.end(), [](auto& c) { return c.asBusy(); }));
}

TEST_F(GlyphnabModelTests, SecondCommandDuringAPickOnlyBeeps) {
    clock.setAutoAdvance(false);
    pickWaits = true;
    auto model = makeModel();
    model->startGrab(false);
    settle();
    ASSERT_TRUE(model->picking());
    const std::size_t shown = notice->shown.size();
    model->startGrab(true);
    model->readFiles({QUrl::fromLocalFile(QStringLiteral("/nowhere.png"))});
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(notice->shown.size(), shown);
    EXPECT_EQ(picks, 1);
    clock.advance(5s);
    runUntilIdle(*model);
    EXPECT_EQ(board->string(), QStringLiteral("hello"));
}

TEST_F(GlyphnabModelTests, NoticeOnScreenDelaysTheCaptureByNinetyMilliseconds) {
    auto model = makeModel();
    model->startGrab(false);
    runUntilIdle(*model);
    ASSERT_EQ(captureTimes.size(), 1);
    const auto first = captureTimes[0];
    EXPECT_TRUE(notice->visible);  // the done notice
    model->grabSameArea();
    runUntilIdle(*model);
    ASSERT_EQ(captureTimes.size(), 2);
    EXPECT_EQ(captureTimes[1] - first >= 90ms, true);
    EXPECT_EQ(captures[1], captures[0]);
}

TEST_F(GlyphnabModelTests, WithoutANoticeTheCaptureStartsAtOnce) {
    auto model = makeModel();
    const auto start = clock.now();
    model->startGrab(false);
    runUntilIdle(*model);
    ASSERT_EQ(captureTimes.size(), 1);
    EXPECT_EQ(captureTimes[0], start);
}

TEST_F(GlyphnabModelTests, ClipboardRouteNeverPicksNorAsksForTheGrant) {
    allowed = false;
    board->setData(Platform::PasteboardType::pdf, ImageInputSamples::pdf({ImageInputSamples::textPage("Alpha")}));
    auto model = makeModel();
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.route = GlyphnabCore::Route::clipboard;
    model->setPrefs(prefs);
    model->startGrab(false);
    runUntilIdle(*model);
    EXPECT_EQ(picks, 0);
    EXPECT_EQ(grantPanels, 0);
    EXPECT_EQ(board->string(), QStringLiteral("Alpha"));
    ASSERT_NE(notice->shown.back().asDone(), nullptr);
    EXPECT_EQ(notice->shown.back().asDone()->source, GrabSource::clipboard);
}

TEST_F(GlyphnabModelTests, ScreenRouteWithoutTheGrantShowsThePanelOnly) {
    allowed = false;
    auto model = makeModel();
    model->startGrab(false);
    EXPECT_EQ(grantPanels, 1);
    EXPECT_EQ(picks, 0);
    EXPECT_FALSE(model->grantAgain());
}

TEST_F(GlyphnabModelTests, StopDuringReadingCopiesAndShowsNothing) {
    readerMode = ReaderMode::blocks;
    clock.setAutoAdvance(false);
    auto model = makeModel();
    model->startGrab(false);
    settle();
    const std::size_t shownBefore = notice->shown.size();
    model->cancelWork();
    clock.advance(2s);
    runUntilIdle(*model);
    EXPECT_EQ(board->writeCount(), 0);
    EXPECT_TRUE(model->recents().items().isEmpty());
    for (std::size_t i = shownBefore; i < notice->shown.size(); ++i)
        EXPECT_NE(notice->shown[i].asBusy(), nullptr);
}

TEST_F(GlyphnabModelTests, NothingFoundLeavesTheClipboardAndShowsTheNothingOutcome) {
    payload.clear();
    auto model = makeModel();
    board->setString(QStringLiteral("before"));
    model->startGrab(false);
    runUntilIdle(*model);
    EXPECT_EQ(board->string(), QStringLiteral("before"));
    EXPECT_EQ(board->writeCount(), 1);
    ASSERT_NE(notice->shown.back().asDone(), nullptr);
    EXPECT_TRUE(notice->shown.back().asDone()->outcome.kind.is<Outcome::Kind::Nothing>());
}

TEST_F(GlyphnabModelTests, CaptureFailureAndReadingFailureShowTheirOwnNotices) {
    captureFails = true;
    auto model = makeModel();
    model->startGrab(false);
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asFailure(), nullptr);
    EXPECT_EQ(notice->shown.back().asFailure()->title, Words::errorCapture());
    EXPECT_TRUE(model->lastArea().has_value());

    captureFails = false;
    readerMode = ReaderMode::throws;
    model->grabSameArea();
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asFailure(), nullptr);
    EXPECT_EQ(notice->shown.back().asFailure()->title, Words::errorRead());
}

// The desktop's screenshot behind the overlay failed: its reason reaches the notice and the
// command line, never "No area was picked."
TEST_F(GlyphnabModelTests, AScreenThatCannotBePicturedForThePickSaysWhy) {
    using Cause = Platform::CaptureFailure::Cause;
    const std::pair<Cause, QString> causes[] = {{Cause::refused, Words::errorCaptureRefused()},
                                                {Cause::unanswered, Words::errorCaptureUnanswered()},
                                                {Cause::unsaved, Words::errorCaptureUnsaved()}};
    auto model = makeModel();
    for (const auto& [cause, detail] : causes) {
        pickFailure = Platform::CaptureFailure{QStringLiteral("the desktop said so"), cause};
        model->startGrab(false);
        runUntilIdle(*model);
        ASSERT_NE(notice->shown.back().asFailure(), nullptr);
        EXPECT_EQ(notice->shown.back().asFailure()->title, Words::errorCapture());
        EXPECT_EQ(notice->shown.back().asFailure()->detail, detail);
        EXPECT_FALSE(model->lastArea().has_value());
    }
    try {
        TestAwait::result(model->grabForIntent(LineMode::keep, 60));
        FAIL() << "expected a failure";
    } catch (const IntentFailure& failure) {
        EXPECT_EQ(failure.message, Words::errorCapture() + QStringLiteral(": the desktop said so"));
    }
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(board->writeCount(), 0);
}

TEST_F(GlyphnabModelTests, ACaptureThatNeverAnswersFailsAfterItsTimeLimit) {
    clock.setAutoAdvance(false);
    captureHangs = true;
    auto model = makeModel();
    model->startGrab(false);
    settle();
    ASSERT_TRUE(model->busy());
    clock.advance(9s);
    settle();
    EXPECT_TRUE(model->busy());
    clock.advance(1s);
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asFailure(), nullptr);
    EXPECT_EQ(notice->shown.back().asFailure()->title, Words::errorCapture());
    EXPECT_EQ(reads, 0);
}

TEST_F(GlyphnabModelTests, ClipboardPdfOfFortyFivePagesIsCutAtThirty) {
    std::vector<ImageInputSamples::Page> pages;
    for (int i = 0; i < 45; ++i)
        pages.push_back(ImageInputSamples::textPage(QStringLiteral("Page %1").arg(i + 1)));
    board->setData(Platform::PasteboardType::pdf, ImageInputSamples::pdf(pages));
    auto model = makeModel();
    model->read(*board);
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asDone(), nullptr);
    EXPECT_EQ(notice->shown.back().asDone()->cut, (GlyphnabCore::PageCut{30, 45, 1, 30}));
    // Two or more inputs bring the busy notice up at once.
    EXPECT_TRUE(std::any_of(notice->shown.begin(), notice->shown.end(), [](auto& c) { return c.asBusy(); }));
}

TEST_F(GlyphnabModelTests, DroppedPdfsReportTheirPageCutAndUnreadableFilesTheFileFailure) {
    QTemporaryDir folder;
    auto write = [&](const QString& name, int count) {
        std::vector<ImageInputSamples::Page> pages;
        for (int i = 0; i < count; ++i)
            pages.push_back(ImageInputSamples::textPage(QStringLiteral("P%1").arg(i)));
        const QString path = folder.filePath(name);
        EXPECT_TRUE(ImageInputSamples::writeFile(path, ImageInputSamples::pdf(pages)));
        return QUrl::fromLocalFile(path);
    };
    const QUrl ten = write("ten.pdf", 10), forty = write("forty.pdf", 40), otherTen = write("ten2.pdf", 10);
    auto model = makeModel();
    model->readFiles({ten, forty});
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asDone(), nullptr);
    EXPECT_EQ(notice->shown.back().asDone()->cut, (GlyphnabCore::PageCut{40, 50, 2, 30}));
    EXPECT_EQ(notice->shown.back().asDone()->source, GrabSource::file);
    EXPECT_EQ(GlyphnabModel::pageCut({ten, otherTen}), std::nullopt);

    const QString junk = folder.filePath("junk.png");
    ImageInputSamples::writeFile(junk, "not a picture");
    model->readFiles({QUrl::fromLocalFile(junk)});
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asFailure(), nullptr);
    EXPECT_EQ(notice->shown.back().asFailure()->title, Words::errorFile());
    EXPECT_EQ(notice->shown.back().asFailure()->detail, Words::errorFileDetail());
    EXPECT_FALSE(model->busy());

    // A locked PDF is the right type of file: the notice says what is wrong with it.
    const QString locked = folder.filePath("locked.pdf");
    ImageInputSamples::writeFile(locked, BadInputs::pdfWithPassword());
    model->readFiles({QUrl::fromLocalFile(locked)});
    runUntilIdle(*model);
    ASSERT_NE(notice->shown.back().asFailure(), nullptr);
    EXPECT_EQ(notice->shown.back().asFailure()->detail, QStringLiteral("locked.pdf: is protected by a password"));
    try {
        TestAwait::result(model->readForIntent({QUrl::fromLocalFile(locked)}));
        ADD_FAILURE() << "a locked PDF was read";
    } catch (const IntentFailure& failure) {
        EXPECT_EQ(failure.problem, ZantrelText::ImageInput::Problem::password);
    }
}

TEST_F(GlyphnabModelTests, PrefsWritesSaveWarmAndAnnounceOnlyRealChanges) {
    auto model = makeModel();
    int changes = 0;
    QObject::connect(model.get(), &GlyphnabModel::changed, [&] { ++changes; });
    model->setPrefs(model->prefs());
    settle();
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(warmed.isEmpty());

    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.shortcuts.erase(GlyphnabCore::Command::grabOther);
    model->setPrefs(prefs);
    EXPECT_EQ(changes, 0);  // delivered later
    settle();
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(warmed.isEmpty());
    EXPECT_EQ(GlyphnabCore::Preferences::load(context.defaults()), prefs);

    prefs.followSystemLanguages = false;
    prefs.languages = {QStringLiteral("fr-Latn-FR")};
    model->setPrefs(prefs);
    settle();
    ASSERT_EQ(warmed.size(), 1);
    EXPECT_EQ(warmed[0].languages, QStringList{QStringLiteral("fr-Latn-FR")});

    model->addRecent(QStringLiteral("x"));
    prefs.keepRecents = false;
    model->setPrefs(prefs);
    EXPECT_TRUE(model->recents().items().isEmpty());
}

TEST_F(GlyphnabModelTests, GrantWatchersCountAndPollEverySecond) {
    clock.setAutoAdvance(false);
    allowed = false;
    auto model = makeModel();
    model->watchGrant(true);
    model->watchGrant(true);
    model->watchGrant(false);
    EXPECT_TRUE(model->pollingGrant());
    allowed = true;
    clock.advance(1s);
    settle();
    EXPECT_TRUE(model->screenAllowed());
    int granted = 0;
    for (const auto& entry : Platform::LogStore::shared().entries(QStringLiteral("org.glyphnab.modeltest")))
        granted += entry.message == QStringLiteral("Screen Recording granted");
    EXPECT_GE(granted, 1);
    model->watchGrant(false);
    EXPECT_FALSE(model->pollingGrant());
    model->watchGrant(false);
    EXPECT_EQ(model->grantWatchers(), 0);
}

TEST_F(GlyphnabModelTests, AskingTwiceOpensTheSettingsTheSecondTime) {
    auto model = makeModel();
    model->askForScreenRecording();
    EXPECT_EQ(asks, 1);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(context.defaults().boolValue(QStringLiteral("screenRecording.asked")), true);
    model->askForScreenRecording();
    EXPECT_EQ(asks, 2);
    EXPECT_EQ(opened.size(), 1);
}

// `glyphnab grab` under the clipboard route does what the shortcut does: it reads the
// clipboard at once instead of waiting for a pick nobody expects.
TEST_F(GlyphnabModelTests, AnIntentGrabUnderTheClipboardRouteReadsTheClipboard) {
    allowed = false;
    board->setData(Platform::PasteboardType::pdf, ImageInputSamples::pdf({ImageInputSamples::textPage("Alpha")}));
    auto model = makeModel();
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.route = GlyphnabCore::Route::clipboard;
    model->setPrefs(prefs);
    const Outcome outcome = TestAwait::result(model->grabForIntent(LineMode::keep, 60));
    EXPECT_EQ(outcome.copied, QStringLiteral("Alpha"));
    EXPECT_EQ(picks, 0);
    EXPECT_EQ(board->string(), QStringLiteral("Alpha"));
    EXPECT_FALSE(model->busy());

    // Nothing readable on the clipboard: a message, at once, and the app free again.
    board->clearContents();
    board->setString(QStringLiteral("just words"));
    try {
        TestAwait::result(model->grabForIntent(LineMode::keep, 60));
        FAIL() << "expected a failure";
    } catch (const IntentFailure& failure) {
        EXPECT_EQ(failure.message, Words::errorClipboard());
    }
    EXPECT_EQ(picks, 0);
    EXPECT_FALSE(model->busy());
}

TEST_F(GlyphnabModelTests, IntentGrabReportsReadingFailureWithTheReadingText) {
    readerMode = ReaderMode::throws;
    auto model = makeModel();
    try {
        TestAwait::result(model->grabForIntent(LineMode::keep, 60));
        FAIL() << "expected a failure";
    } catch (const IntentFailure& failure) {
        EXPECT_EQ(failure.message, Words::errorRead());
    }
    pickAnswer.reset();
    try {
        TestAwait::result(model->grabForIntent(LineMode::keep, 60));
        FAIL() << "expected a failure";
    } catch (const IntentFailure& failure) {
        EXPECT_EQ(failure.message, Words::errorNothingPicked());
    }
}

TEST_F(GlyphnabModelTests, FileIntentLeavesTheClipboardAndRecentsAlone) {
    QTemporaryDir folder;
    const QString path = folder.filePath("a.pdf");
    ASSERT_TRUE(ImageInputSamples::writeFile(path, ImageInputSamples::pdf({ImageInputSamples::textPage("Beta")})));
    auto model = makeModel();
    const Outcome outcome = TestAwait::result(model->readForIntent({QUrl::fromLocalFile(path)}));
    EXPECT_EQ(outcome.copied, QStringLiteral("Beta"));
    EXPECT_EQ(board->writeCount(), 0);
    EXPECT_TRUE(model->recents().items().isEmpty());
    EXPECT_THROW(TestAwait::result(model->readForIntent({QUrl::fromLocalFile(folder.filePath("none.txt"))})),
                 IntentFailure);
}

// The selector is drawn over the desktop: a light desktop gets the accent's light ink.
TEST_F(GlyphnabModelTests, ThePickInkFollowsTheDesktopsScheme) {
    auto& desktop = ZantrelUI::DesktopSettings::shared();
    const std::optional<bool> before = desktop.prefersDark();
    auto model = makeModel();
    const ZantrelUI::Accent accent = context.accent();
    desktop.setPrefersDark(false);
    model->startGrab(false);
    runUntilIdle(*model);
    desktop.setPrefersDark(true);
    model->startGrab(false);
    runUntilIdle(*model);
    desktop.setPrefersDark(before);
    ASSERT_EQ(pickInks.size(), 2);
    EXPECT_EQ(pickInks[0], accent.ink.resolve(ZantrelUI::ColorScheme::light));
    EXPECT_EQ(pickInks[1], accent.ink.resolve(ZantrelUI::ColorScheme::dark));
    EXPECT_NE(pickInks[0], pickInks[1]);
}

// `glyphnab read` interrupted while the app reads several pictures: the rest is not read.
TEST_F(GlyphnabModelTests, AnIntentReadingStopsWithItsCaller) {
    QTemporaryDir folder;
    QList<QUrl> files;
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::white);
        ASSERT_TRUE(picture.save(folder.filePath(name)));
        files.append(QUrl::fromLocalFile(folder.filePath(name)));
    }
    auto model = makeModel();
    std::stop_source caller;
    onRead = [&caller] { caller.request_stop(); };
    try {
        TestAwait::result(model->readForIntent(files, caller.get_token()));
        FAIL() << "a stopped reading is no success";
    } catch (const IntentFailure& failure) {
        EXPECT_EQ(failure.message, Words::errorStopped());
    }
    EXPECT_EQ(reads, 1);
}

// A grab asked for and given up at once must not leave its one-minute watchdog behind to
// cancel the next person's pick.
TEST_F(GlyphnabModelTests, AnIntentGrabThatEndsEarlyLeavesNoWatchdog) {
    clock.setAutoAdvance(false);
    auto model = makeModel();
    std::stop_source caller;
    caller.request_stop();
    EXPECT_THROW(TestAwait::result(model->grabForIntent(LineMode::keep, 60, caller.get_token())), IntentFailure);
    pickWaits = true;
    model->startGrab(false);
    settle();
    ASSERT_TRUE(model->picking());
    clock.advance(61s);
    settle();
    EXPECT_EQ(cancelledPicks, 0);
}

TEST(SystemCallsRelaunch, QuitsOnlyWhenTheNewInstanceStartedAndGivesItsGrabsBackOtherwise) {
    QStringList steps;
    QStringList passed;
    bool starts = true;
    Relaunch relaunch{QStringLiteral("/usr/bin/glyphnab"),
                      {QStringLiteral("--state-dir"), QStringLiteral("/tmp/s")},
                      [&] { steps << "release"; },
                      [&](const QString&, const QStringList& arguments) {
                          steps << "start";
                          passed = arguments;
                          return starts;
                      },
                      [&] { steps << "reclaim"; },
                      [&] { steps << "quit"; }};
    EXPECT_TRUE(relaunch.run());
    EXPECT_EQ(steps, (QStringList{"release", "start", "quit"}));
    EXPECT_EQ(passed, (QStringList{"--state-dir", "/tmp/s"}));
    steps.clear();
    starts = false;
    EXPECT_FALSE(relaunch.run());
    EXPECT_EQ(steps, (QStringList{"release", "start", "reclaim"}));
}

// Opened with files ("Open With"), then relaunched for the permission: the new instance
// must not read them again over what is on the clipboard now.
TEST(SystemCallsRelaunch, PassesTheOptionsButNotTheLaunchFiles) {
    EXPECT_EQ(Relaunch::options({QStringLiteral("/home/me/scan.png"), QStringLiteral("--state-dir"),
                                 QStringLiteral("/tmp/state"), QStringLiteral("file:///home/me/b.pdf"),
                                 QStringLiteral("--no-hotkeys")}),
              (QStringList{"--state-dir", "/tmp/state", "--no-hotkeys"}));
    EXPECT_EQ(Relaunch::options({QStringLiteral("--state-dir"), QStringLiteral("-odd name.png")}),
              (QStringList{"--state-dir", "-odd name.png"})) << "the folder after --state-dir is kept whatever it looks like";
    EXPECT_TRUE(Relaunch::options({QStringLiteral("a.png"), QStringLiteral("b.png")}).isEmpty());
}

using GlyphnabModelDeathTest = GlyphnabModelTests;

TEST_F(GlyphnabModelDeathTest, TestHostStopsAModelWithLiveCallsOrTheDesktopClipboard) {
    auto build = [this](SystemCalls system, std::shared_ptr<Platform::Pasteboard> pasteboard) {
        GlyphnabModel model(context, std::move(pasteboard), PictureSource{[] { return true; }, {}, {}, {}},
                            std::move(system), {}, {}, ModelAmbient{&clock, [] { return QStringList{}; }, {}});
    };
    EXPECT_DEATH(build(SystemCalls{ZantrelUI::MacCalls::live(), [] {}, [] {}, [] {}}, board),
                 "a model under the test host holds the live system calls: pass recording ones");
    EXPECT_DEATH(build(SystemCalls{recordingCalls(&opened), [] {}, [] {}, [] {}},
                       std::make_shared<Platform::ClipboardPasteboard>()),
                 "Glyphnab: a model under the test host writes to its own pasteboard, never the general one");
}

}  // namespace
}  // namespace Glyphnab

namespace Glyphnab {
namespace {

TEST_F(GlyphnabModelTests, TextFromFileOffersPicturesAndPdfsAndOpensWhereTheLastPickWas) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString picked = folder.filePath(QStringLiteral("scan.png"));
    openAnswer = {QUrl::fromLocalFile(picked)};
    auto model = makeModel();
    model->pickFile();
    settle();
    ASSERT_EQ(openAsks.size(), 1u);
    const ZantrelUI::OpenAsk& first = openAsks.front();
    EXPECT_EQ(first.typesName, GlyphnabCore::Words::fromFileTypes());
    EXPECT_EQ(first.message, GlyphnabCore::Words::fromFileTitle());
    EXPECT_TRUE(first.multiple);
    ASSERT_TRUE(first.start.has_value());
    EXPECT_EQ(first.start->toLocalFile(),
              GlyphnabModel::pickStartFolder(std::nullopt,
                                             QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                                             QDir::homePath()));

    openAnswer.clear();
    model->pickFile();
    settle();
    ASSERT_EQ(openAsks.size(), 2u);
    EXPECT_EQ(openAsks.back().start, QUrl::fromLocalFile(folder.path())) << "the folder of the last pick";
}

TEST(PickStartFolder, TheLastFolderElseThePicturesElseHome) {
    QTemporaryDir last, pictures;
    ASSERT_TRUE(last.isValid() && pictures.isValid());
    const QString home = QStringLiteral("/home/someone");
    EXPECT_EQ(GlyphnabModel::pickStartFolder(last.path(), pictures.path(), home), last.path());
    EXPECT_EQ(GlyphnabModel::pickStartFolder(std::nullopt, pictures.path(), home), pictures.path());
    EXPECT_EQ(GlyphnabModel::pickStartFolder(last.path() + QStringLiteral("/gone"), pictures.path(), home),
              pictures.path());
    EXPECT_EQ(GlyphnabModel::pickStartFolder(std::nullopt, pictures.path() + QStringLiteral("/gone"), home), home);
    EXPECT_EQ(GlyphnabModel::pickStartFolder(std::nullopt, QString(), home), home);
}

}  // namespace
}  // namespace Glyphnab
