// The launch wiring of the application delegate over parts of the test's own: which
// window opens first, the warm-up, the hot keys, reopen and files opened with the app.

#include "Glyphnab/shell/AppDelegate.h"
#include "Glyphnab/shell/AppMain.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/shell/MainMenu.h"
#include "Glyphnab/shell/Updater.h"

#include "GlyphnabCore/Command.h"
#include "ZantrelKit/Formatting.h"
#include "ZantrelKit/GrantMemory.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "platform/async/Clock.h"
#include "platform/pasteboard/Pasteboard.h"
#include "tests/Glyphnab/DeskKeys.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <map>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;
using GlyphnabCore::Preferences;
using ZantrelKit::Shortcut;

void settle() {
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

struct WindowLog {
    int grants = 0;
    QList<std::pair<QString, QSize>> settings;
    QList<std::pair<QString, QSize>> onboarding;
    SettingsSelection selection;
    // The tab selected when Settings opened last.
    std::optional<SettingsTab> tabAtOpen;
    // The hot-key bindings handed to the window set last.
    const HotKeyBindings* bindings = nullptr;
};

class FakeWindows final : public DelegateWindows {
public:
    explicit FakeWindows(WindowLog& log) : log_(log) {}
    void showGrant() override { ++log_.grants; }
    void showSettings(const QString& title, QSize size) override {
        log_.settings.append({title, size});
        log_.tabAtOpen = log_.selection.tab();
    }
    void showOnboarding(const QString& title, QSize size) override { log_.onboarding.append({title, size}); }
    SettingsSelection& selection() override { return log_.selection; }
    void setHotKeyBindings(const HotKeyBindings* bindings) override { log_.bindings = bindings; }

private:
    WindowLog& log_;
};

ZantrelUI::MacCalls quietCalls() {
    return ZantrelUI::MacCalls(
        false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {}, [](const QUrl&) {},
        [](const QList<QUrl>&) {}, [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
        [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
        std::make_shared<Platform::MemoryPasteboard>());
}

class AppDelegateTest : public testing::Test {
protected:
    DelegateParts parts() {
        DelegateParts parts;
        parts.model = [this](ZantrelUI::AppContext& context, std::function<void()> release,
                             std::function<void()> reclaim) {
            releaseForRelaunch = std::move(release);
            reclaimAfterRelaunch = std::move(reclaim);
            PictureSource pictures{
                [this] { return allowed; },
                [this](QColor, QString) -> QCoro::Task<std::optional<QRectF>> {
                    ++picks;
                    co_return std::nullopt;
                },
                [](QRectF) -> QCoro::Task<QImage> { co_return QImage(20, 20, QImage::Format_RGB32); },
                [] {}};
            SystemCalls system{quietCalls(), [] {}, [] {}, [] {}};
            auto reader = [this](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
                ++reads;
                ZantrelText::Reading reading;
                reading.codes.append(
                    ZantrelText::FoundCode{QStringLiteral("read from file"), QStringLiteral("QR code"), true, {}});
                co_return reading;
            };
            auto warmer = [this](ZantrelText::ReadOptions) -> QCoro::Task<void> {
                warmUps.append(clock.now());
                co_return;
            };
            return std::make_unique<GlyphnabModel>(
                context, board, std::move(pictures), std::move(system), reader, warmer,
                ModelAmbient{&clock, [] { return QStringList{"en-Latn-US"}; }, [] { return QStringList{"en-US"}; }});
        };
        parts.windows = [this](GlyphnabModel& model, Updater& given) {
            windowsModel = &model;
            windowsUpdater = &given;
            return std::make_unique<FakeWindows>(windows);
        };
        parts.status = [this](GlyphnabModel& model, std::function<void()> openSettings) {
            statusModel = &model;
            statusOpensSettings = std::move(openSettings);
            return std::make_unique<QObject>();
        };
        parts.shareModel = [this](GlyphnabModel* model) { shared = model; };
        parts.hotKeys = [this]() -> ZantrelUI::HotKeys& { return hotKeys; };
        parts.updater = [this]() -> Updater& {
            ++updaterTouches;
            return updater;
        };
        parts.publish = [this](AppDelegate&) { ++publishes; };
        parts.releaseName = [this] { ++nameReleases; };
        parts.reclaimName = [this] { ++nameReclaims; };
        parts.localizations = [] { return QStringList{"en", "de"}; };
        parts.userLanguages = [this] { return userLanguages; };
        return parts;
    }

    // A delegate whose stored preferences are `prefs`, launched.
    std::unique_ptr<AppDelegate> launch(std::optional<Preferences> prefs = {}, bool grantSeen = false) {
        auto delegate = std::make_unique<AppDelegate>(parts(), QStringList{QStringLiteral("glyphnab")});
        ZantrelKit::DefaultsStore& defaults = delegate->context().defaults();
        if (prefs) {
            EXPECT_TRUE(prefs->save(defaults).has_value());
        }
        if (grantSeen)
            defaults.setBool(ZantrelKit::GrantMemory::key(ZantrelKit::Permission::screenRecording()), true);
        delegate->finishLaunching();
        return delegate;
    }

    static Preferences onboarded() {
        Preferences prefs;
        prefs.onboarded = true;
        return prefs;
    }

    Platform::ManualClock clock{false};
    std::shared_ptr<Platform::MemoryPasteboard> board = std::make_shared<Platform::MemoryPasteboard>();
    bool allowed = true;
    int picks = 0;
    int reads = 0;
    QList<Platform::Clock::TimePoint> warmUps;
    WindowLog windows;
    GlyphnabModel* windowsModel = nullptr;
    Updater* windowsUpdater = nullptr;
    GlyphnabModel* statusModel = nullptr;
    std::function<void()> statusOpensSettings;
    Desk keys;
    ZantrelUI::HotKeys hotKeys{std::make_unique<DeskService>(keys)};
    Updater updater{ZantrelKit::OwnerConfig{}};
    int updaterTouches = 0;
    int publishes = 0;
    GlyphnabModel* shared = nullptr;
    int nameReleases = 0;
    int nameReclaims = 0;
    QStringList userLanguages{"de-CH", "en-US"};
    std::function<void()> releaseForRelaunch, reclaimAfterRelaunch;
};

TEST_F(AppDelegateTest, FirstLaunchOpensOnboardingAndNeverTheGrantPanel) {
    allowed = false;
    const auto delegate = launch(std::nullopt, /*grantSeen=*/true);
    ASSERT_EQ(windows.onboarding.size(), 1);
    EXPECT_EQ(windows.onboarding[0].first, delegate->context().product().name);
    EXPECT_EQ(windows.onboarding[0].second, QSize(580, 530));
    EXPECT_EQ(windows.grants, 0);
    EXPECT_TRUE(windows.settings.isEmpty());
}

TEST_F(AppDelegateTest, LaterLaunchOpensTheGrantPanelOnlyWhenScreenRecordingWasLost) {
    {
        allowed = false;
        const auto delegate = launch(onboarded(), /*grantSeen=*/true);
        EXPECT_EQ(windows.grants, 1);
        EXPECT_TRUE(delegate->model().grantAgain());
        EXPECT_TRUE(windows.onboarding.isEmpty());
    }
    windows.grants = 0;
    {
        allowed = false;  // never seen on: nothing was lost
        const auto delegate = launch(onboarded(), /*grantSeen=*/false);
        EXPECT_EQ(windows.grants, 0);
    }
    {
        allowed = true;
        const auto delegate = launch(onboarded(), /*grantSeen=*/true);
        EXPECT_EQ(windows.grants, 0);
    }
    windowsModel = nullptr;
    {
        allowed = false;
        Preferences prefs = onboarded();
        prefs.route = GlyphnabCore::Route::clipboard;  // needs no permission
        const auto delegate = launch(prefs, /*grantSeen=*/true);
        EXPECT_EQ(windows.grants, 0);
        EXPECT_TRUE(windows.onboarding.isEmpty());
        // The window set is not even made when nothing needs a window.
        EXPECT_EQ(windowsModel, nullptr);
    }
}

TEST_F(AppDelegateTest, LaunchWiresTheModelStatusUpdaterAndBusInOrder) {
    const auto delegate = launch(onboarded());
    GlyphnabModel& model = delegate->model();
    EXPECT_EQ(shared, &model);
    EXPECT_EQ(statusModel, &model);
    EXPECT_GE(updaterTouches, 1);
    EXPECT_EQ(publishes, 1);
    ASSERT_NE(delegate->mainMenu(), nullptr);

    // The model's grant panel is the window set's, made on first use with the shared updater.
    allowed = false;
    model.startGrab(false);
    settle();
    EXPECT_EQ(windows.grants, 1);
    EXPECT_EQ(windowsModel, &model);
    EXPECT_EQ(windowsUpdater, &updater);

    // A second launch call changes nothing.
    delegate->finishLaunching();
    EXPECT_EQ(publishes, 1);
}

TEST_F(AppDelegateTest, WarmUpStartsFortyFiveSecondsAfterLaunch) {
    const auto delegate = launch(onboarded());
    settle();
    clock.advance(44s);
    settle();
    EXPECT_TRUE(warmUps.isEmpty());
    clock.advance(1s);
    settle();
    ASSERT_EQ(warmUps.size(), 1);
    EXPECT_EQ(warmUps[0], std::chrono::nanoseconds(45s));
}

TEST_F(AppDelegateTest, HotKeysAreRegisteredAtLaunchAndAgainOnlyOnARealChange) {
    const auto delegate = launch(onboarded());
    EXPECT_EQ(keys.held, (std::map<std::uint32_t, std::uint16_t>{{1, 17}, {2, 38}}));
    EXPECT_EQ(keys.registrations, 2);

    GlyphnabModel& model = delegate->model();
    model.setPrefs(model.prefs());  // equal: no event
    settle();
    EXPECT_EQ(keys.registrations, 2);

    Preferences prefs = model.prefs();
    prefs.shortcuts[GlyphnabCore::Command::grab] = Shortcut{0, {Shortcut::Modifiers::control, Shortcut::Modifiers::option}};
    model.setPrefs(prefs);
    settle();
    EXPECT_EQ(keys.registrations, 4);  // both bindings again
    EXPECT_EQ(keys.held, (std::map<std::uint32_t, std::uint16_t>{{1, 0}, {2, 38}}));

    prefs.shortcuts.erase(GlyphnabCore::Command::grab);
    model.setPrefs(prefs);
    settle();
    EXPECT_EQ(keys.held, (std::map<std::uint32_t, std::uint16_t>{{1, 38}}));  // only grabOther, now id 1
}

TEST_F(AppDelegateTest, HotKeyPressStartsTheMatchingGrab) {
    const auto delegate = launch(onboarded());
    ASSERT_TRUE(keys.press);
    keys.press(1);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return picks == 1; }));
    settle();
    keys.press(2);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return picks == 2; }));
    keys.press(7);  // no binding
    settle();
    EXPECT_EQ(picks, 2);
}

TEST_F(AppDelegateTest, RelaunchGivesUpTheNameAndHotKeysAndTakesThemBack) {
    const auto delegate = launch(onboarded());
    ASSERT_TRUE(releaseForRelaunch);
    releaseForRelaunch();
    EXPECT_EQ(nameReleases, 1);
    EXPECT_TRUE(keys.held.empty());
    EXPECT_TRUE(hotKeys.isHeld());
    reclaimAfterRelaunch();
    EXPECT_EQ(nameReclaims, 1);
    EXPECT_EQ(keys.held.size(), 2u);
    EXPECT_FALSE(hotKeys.isHeld());
}

TEST_F(AppDelegateTest, ReopenOpensSettingsOnGeneralWhenTheIconIsHidden) {
    Preferences prefs = onboarded();
    prefs.showIcon = false;
    const auto delegate = launch(prefs);
    windows.selection.setTab(SettingsTab::about);
    delegate->reopen();
    ASSERT_EQ(windows.settings.size(), 1);
    EXPECT_EQ(windows.tabAtOpen, SettingsTab::general);
    EXPECT_EQ(windows.settings[0].first, QStringLiteral("Settings"));
    EXPECT_EQ(windows.settings[0].second, QSize(640, 520));
}

TEST_F(AppDelegateTest, ReopenKeepsTheTabWhileTheIconShows) {
    const auto delegate = launch(onboarded());
    windows.selection.setTab(SettingsTab::languages);
    delegate->reopen();
    ASSERT_EQ(windows.settings.size(), 1);
    EXPECT_EQ(windows.tabAtOpen, SettingsTab::languages);
}

TEST_F(AppDelegateTest, StatusItemsSettingsOpensTheSettingsWindow) {
    const auto delegate = launch(onboarded());
    ASSERT_TRUE(statusOpensSettings);
    statusOpensSettings();
    ASSERT_EQ(windows.settings.size(), 1);
    EXPECT_EQ(windows.settings[0].first, QStringLiteral("Settings"));
    // The window set learns which shortcuts the desktop refused from the launch's bindings.
    ASSERT_NE(windows.bindings, nullptr);
    EXPECT_TRUE(windows.bindings->refused().isEmpty());
}

TEST_F(AppDelegateTest, FilesOpenedWithTheAppReachTheModel) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.png"));
    ASSERT_TRUE(QImage(40, 20, QImage::Format_RGB32).save(path));
    const auto delegate = launch(onboarded());
    delegate->openFiles({QUrl::fromLocalFile(path)});
    ASSERT_TRUE(TestSupport::waitUntil([&] { return board->string() == QStringLiteral("read from file"); }));
    EXPECT_EQ(reads, 1);
}

TEST_F(AppDelegateTest, DesktopRequestsDoNothingUnderTheTestHost) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.png"));
    ASSERT_TRUE(QImage(40, 20, QImage::Format_RGB32).save(path));
    const auto delegate = launch(onboarded());
    EXPECT_FALSE(delegate->shouldHandleReopen());
    delegate->openURLs({QUrl::fromLocalFile(path)});
    allowed = false;
    delegate->didBecomeActive();
    settle();
    EXPECT_TRUE(windows.settings.isEmpty());
    EXPECT_EQ(reads, 0);
    EXPECT_FALSE(delegate->model().busy());
    EXPECT_TRUE(delegate->model().screenAllowed());  // not refreshed
    EXPECT_FALSE(AppDelegate::shouldTerminateAfterLastWindowClosed());
}

TEST_F(AppDelegateTest, ServicesReadTheBoardTheyAreHandedOnceLaunched) {
    auto delegate = std::make_unique<AppDelegate>(parts(), QStringList{QStringLiteral("glyphnab")});
    Platform::MemoryPasteboard handed;
    handed.setImage(QImage(30, 30, QImage::Format_RGB32));
    EXPECT_FALSE(delegate->services().copyText(handed));  // no model before launch
    delegate->finishLaunching();
    EXPECT_TRUE(delegate->services().copyText(handed));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return board->string() == QStringLiteral("read from file"); }));
    EXPECT_EQ(reads, 1);
}

TEST_F(AppDelegateTest, FormattingFollowsTheFirstPreferredLocalization) {
    userLanguages = {"de-CH", "en-US"};
    {
        const auto delegate = launch(onboarded());
        EXPECT_EQ(ZantrelKit::Formatting::locale().language(), QLocale::German);
    }
    userLanguages = {"fr-FR"};
    {
        const auto delegate = launch(onboarded());
        EXPECT_EQ(ZantrelKit::Formatting::locale().language(), QLocale::English);
    }
    ZantrelKit::Formatting::setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST(PreferredLocalization, MatchesByLanguageInTheUsersOrder) {
    EXPECT_EQ(preferredLocalization({"en", "de", "pt-BR"}, {"pt-PT", "de"}), QStringLiteral("pt-BR"));
    EXPECT_EQ(preferredLocalization({"en", "de"}, {"fr", "de_AT"}), QStringLiteral("de"));
    EXPECT_EQ(preferredLocalization({"en", "de"}, {"ja"}), QStringLiteral("en"));
    EXPECT_EQ(preferredLocalization({}, {"de"}), QStringLiteral("en"));
}

TEST(MainMenuTest, HasTheAppEditAndWindowMenusWithCtrlKeys) {
    int opened = 0;
    MainMenu menu(QStringLiteral("Glyph & Co"), [&] { ++opened; });
    ASSERT_EQ(menu.menus().size(), 3);
    EXPECT_EQ(menu.menus()[0]->title(), QStringLiteral("Glyph && Co"));
    EXPECT_EQ(menu.menus()[1]->title(), QStringLiteral("Edit"));
    EXPECT_EQ(menu.menus()[2]->title(), QStringLiteral("Window"));

    QStringList keys;
    for (const QAction* action : menu.actions())
        keys.append(action->shortcut().toString(QKeySequence::PortableText));
    EXPECT_EQ(keys, (QStringList{"Ctrl+,", "Ctrl+Q", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+X", "Ctrl+C", "Ctrl+V", "Ctrl+A",
                                 "Ctrl+W"}));
    EXPECT_EQ(menu.actions()[1]->text(), QStringLiteral("Quit Glyph && Co"));

    menu.actions()[0]->trigger();
    EXPECT_EQ(opened, 1);
}

TEST(MainMenuTest, OrdinaryWindowsGetTheCommandKeysAndPanelsDoNot) {
    MainMenu menu(QStringLiteral("Glyphnab"), [] {});
    menu.install();
    QWidget window;
    QWidget panel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.show();
    panel.show();
    EXPECT_EQ(window.actions().size(), menu.actions().size());
    EXPECT_TRUE(panel.actions().isEmpty());
    window.hide();
    window.show();  // shown again: nothing doubled
    EXPECT_EQ(window.actions().size(), menu.actions().size());
}

}  // namespace
}  // namespace Glyphnab

namespace Glyphnab {
namespace {

TEST(LaunchFiles, TakesThePositionalArgumentsAsFilesAndSkipsOptions) {
    const QList<QUrl> files = launchFiles({QStringLiteral("/usr/bin/glyphnab"), QStringLiteral("--state-dir"),
                                           QStringLiteral("/tmp/state"), QStringLiteral("/tmp/a b.pdf"),
                                           QStringLiteral("--no-hotkeys"), QStringLiteral("file:///tmp/c.png"),
                                           QStringLiteral("d.png")});
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[0], QUrl::fromLocalFile(QStringLiteral("/tmp/a b.pdf")));
    EXPECT_EQ(files[1], QUrl::fromLocalFile(QStringLiteral("/tmp/c.png")));
    EXPECT_EQ(files[2], QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("d.png"))));
    EXPECT_TRUE(launchFiles({QStringLiteral("glyphnab")}).isEmpty());
    EXPECT_TRUE(launchFiles({}).isEmpty());
    // The launcher's "Read Text in a File" is an option, not a file.
    const QStringList choose{QStringLiteral("glyphnab"), chooseFilesOption};
    EXPECT_TRUE(launchFiles(choose).isEmpty());
    EXPECT_TRUE(asksToChooseFiles(choose));
    EXPECT_FALSE(asksToChooseFiles({chooseFilesOption}));
    EXPECT_FALSE(asksToChooseFiles({QStringLiteral("glyphnab"), QStringLiteral("/tmp/a.png")}));
}

}  // namespace
}  // namespace Glyphnab
