#include "Glyphnab/shell/StatusController.h"
#include "Glyphnab/shell/StatusMenu.h"

#include "GlyphnabCore/Words.h"
#include "tests/Glyphnab/RecordingModel.h"
#include "tests/text/ImageInputSamples.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

std::optional<QString> usKeys(std::uint16_t keyCode) {
    if (keyCode == 17)
        return QStringLiteral("t");
    if (keyCode == 38)
        return QStringLiteral("j");
    return std::nullopt;
}

QStringList titles(const QMenu& menu) {
    QStringList result;
    for (const QAction* action : menu.actions())
        result.append(action->isSeparator() ? QStringLiteral("—") : action->text());
    return result;
}

QString plain(const QString& toolTip) {
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

class StatusMenuTests : public ::testing::Test {
protected:
    QMenu& rebuilt() {
        StatusMenu::rebuild(menu, fake.model(), [this] { ++settingsOpened; }, usKeys);
        return menu;
    }
    QAction* item(int index) { return rebuilt().actions().at(index); }
    QMenu& recents() {
        QMenu* submenu = rebuilt().actions().at(7)->menu();
        EXPECT_NE(submenu, nullptr);
        return *submenu;
    }
    void trigger(QAction* action) {
        action->trigger();
        fake.settle();
    }

    Testing::RecordingModel fake{QStringLiteral("org.glyphnab.statusmenutest")};
    QMenu menu;
    int settingsOpened = 0;
};

TEST_F(StatusMenuTests, ListsTheItemsInOrderWithTheGrabTitlesFollowingTheLineMode) {
    fake.changePrefs([](auto& prefs) { prefs.lineMode = LineMode::join; });
    const QStringList joined{Words::menuGrabJoin(),
                             Words::menuGrabKeep(),
                             Words::menuGrabAgain(),
                             QStringLiteral("—"),
                             Words::menuFromClipboard(),
                             Words::menuFromFile(),
                             Words::menuDropHint(),
                             Words::menuRecent(),
                             QStringLiteral("—"),
                             Words::menuSettings(),
                             QStringLiteral("Quit Glyph && Co")};
    EXPECT_EQ(titles(rebuilt()), joined);

    fake.changePrefs([](auto& prefs) { prefs.lineMode = LineMode::keep; });
    const QStringList kept = titles(rebuilt());
    EXPECT_EQ(kept.at(0), Words::menuGrabKeep());
    EXPECT_EQ(kept.at(1), Words::menuGrabJoin());
    EXPECT_EQ(rebuilt().actions().size(), 11) << "a rebuild replaces the items instead of adding to them";
    EXPECT_EQ(rebuilt().findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(StatusMenuTests, GrabItemsCarryTheirKeysAsShortcutDataNotAsTitleText) {
    // A tab in the title would be drawn by the tray host as part of the name.
    EXPECT_FALSE(item(0)->text().contains(u'\t'));
    EXPECT_EQ(item(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::META | Qt::Key_T));
    EXPECT_EQ(item(1)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::META | Qt::Key_J));

    // Named keys need no layout name; a layout's own letter is used as it types.
    using ZantrelKit::Shortcut;
    const auto german = [](std::uint16_t) -> std::optional<QString> { return QStringLiteral("z"); };
    EXPECT_EQ(StatusMenu::keySequence(Shortcut{16, Shortcut::Modifiers::control}, german),
              QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(StatusMenu::keySequence(Shortcut{122, Shortcut::Modifiers::option}, {}),
              QKeySequence(Qt::ALT | Qt::Key_F1));
    EXPECT_EQ(StatusMenu::keySequence(Shortcut{116, Shortcut::Modifiers::command}, {}),
              QKeySequence(Qt::META | Qt::Key_PageUp));
}

TEST_F(StatusMenuTests, AGrabWhoseKeysAnotherProgramHoldsSaysSoAndOffersNoKeys) {
    StatusMenu::rebuild(menu, fake.model(), [] {}, usKeys, {GlyphnabCore::Command::grab});
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 12);
    EXPECT_TRUE(actions.at(0)->shortcut().isEmpty());
    EXPECT_EQ(actions.at(1)->text(), Words::menuShortcutRefused(QStringLiteral("Ctrl+Shift+Super+T")));
    EXPECT_FALSE(actions.at(1)->isEnabled());
    EXPECT_EQ(actions.at(2)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::META | Qt::Key_J));
    // The item itself still grabs.
    trigger(actions.at(0));
    EXPECT_EQ(fake.recorded().picks, 1);
}

TEST_F(StatusMenuTests, TheFirstGrabUsesThePreferredModeAndTheSecondTheOther) {
    fake.changePrefs([](auto& prefs) { prefs.lineMode = LineMode::join; });
    trigger(item(0));
    trigger(item(1));
    EXPECT_EQ(fake.recorded().picks, 2);
    const QList<std::optional<LineMode>> modes{LineMode::join, LineMode::keep};
    EXPECT_EQ(fake.recorded().doneModes, modes);
}

TEST_F(StatusMenuTests, AShortcutWithoutAKeyNameShowsNoKeysAndStillGrabs) {
    fake.changePrefs([](auto& prefs) {
        prefs.shortcuts[GlyphnabCore::Command::grab] = ZantrelKit::Shortcut{
            200, ZantrelKit::Shortcut::Modifiers{ZantrelKit::Shortcut::Modifiers::control}};
        prefs.shortcuts.erase(GlyphnabCore::Command::grabOther);
    });
    EXPECT_EQ(item(0)->text(), Words::menuGrab(LineMode::keep));
    EXPECT_EQ(item(1)->text(), Words::menuGrab(LineMode::join));
    trigger(item(0));
    EXPECT_EQ(fake.recorded().picks, 1);

    EXPECT_TRUE(item(0)->shortcut().isEmpty());
    EXPECT_EQ(StatusMenu::keySequence(std::nullopt, usKeys), std::nullopt);
    EXPECT_EQ(StatusMenu::keySequence(ZantrelKit::Shortcut{17, {}}, {}), std::nullopt);
}

TEST_F(StatusMenuTests, SettingsAndQuitCarryCtrlKeysAndReachTheirClosures) {
    QAction* settings = item(9);
    EXPECT_EQ(settings->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    trigger(settings);
    EXPECT_EQ(settingsOpened, 1);
    QAction* quit = item(10);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    trigger(quit);
    EXPECT_EQ(fake.recorded().quits, 1);
    trigger(item(5));
    EXPECT_EQ(fake.recorded().openPanels, 1);
}

TEST_F(StatusMenuTests, EnabledStatesFollowTheModelAtTheMomentTheMenuOpens) {
    for (const int always : {0, 1, 5, 7, 9, 10})
        EXPECT_TRUE(item(always)->isEnabled()) << always;
    EXPECT_FALSE(item(6)->isEnabled()) << "the hint is a line, not a command";

    // The same area: only after a pick, and only on the screen route.
    EXPECT_FALSE(item(2)->isEnabled());
    trigger(item(0));
    ASSERT_TRUE(fake.model().lastArea().has_value());
    QAction* again = item(2);
    EXPECT_TRUE(again->isEnabled());
    trigger(again);
    EXPECT_EQ(fake.recorded().captures.size(), 2);
    EXPECT_EQ(fake.recorded().captures.back(), QRectF(20, 30, 200, 80));
    fake.changePrefs([](auto& prefs) { prefs.route = GlyphnabCore::Route::clipboard; });
    EXPECT_FALSE(item(2)->isEnabled());

    // The clipboard picture: not for text alone.
    fake.board().setString(QStringLiteral("only words"));
    EXPECT_FALSE(item(4)->isEnabled());
    fake.board().setData(Platform::PasteboardType::png,
                         ImageInputSamples::encoded(ImageInputSamples::halves(40, 20), "PNG"));
    QAction* clipboard = item(4);
    EXPECT_TRUE(clipboard->isEnabled());
    trigger(clipboard);
    EXPECT_EQ(fake.board().string(), QStringLiteral("read"));
}

TEST_F(StatusMenuTests, RecentGrabsShowWhyTheyAreEmptyOrOffer) {
    EXPECT_EQ(titles(recents()), QStringList{Words::menuRecentEmpty()});
    EXPECT_FALSE(recents().actions().at(0)->isEnabled());

    fake.model().addRecent(QStringLiteral("older"));
    fake.model().addRecent(QStringLiteral("Salt & Pepper\nsecond line"));
    const QStringList offered{Words::menuRecentHint(), QStringLiteral("Salt && Pepper"), QStringLiteral("older"),
                              QStringLiteral("—"), Words::menuClearRecent()};
    EXPECT_EQ(titles(recents()), offered);
    EXPECT_FALSE(recents().actions().at(0)->isEnabled());

    QAction* first = recents().actions().at(1);
    trigger(first);
    EXPECT_EQ(fake.board().string(), QStringLiteral("Salt & Pepper\nsecond line"));
    trigger(recents().actions().at(4));
    EXPECT_TRUE(fake.model().recents().items().isEmpty());

    fake.model().addRecent(QStringLiteral("kept"));
    fake.changePrefs([](auto& prefs) { prefs.keepRecents = false; });
    EXPECT_EQ(titles(recents()), QStringList{Words::menuRecentOff()});
    EXPECT_FALSE(recents().actions().at(0)->isEnabled());
}

TEST_F(StatusMenuTests, RecentGrabsAreCappedAndTheirTooltipsArePlainFirstCharacters) {
    for (int i = 0; i < 25; ++i)
        fake.model().addRecent(QStringLiteral("grab %1").arg(i));
    const QList<QAction*> actions = recents().actions();
    ASSERT_EQ(actions.size(), 1 + 20 + 2);
    EXPECT_EQ(actions.at(1)->text(), QStringLiteral("grab 24"));
    EXPECT_EQ(actions.at(20)->text(), QStringLiteral("grab 5"));

    const QString markup = QStringLiteral("<b>not bold</b> ") + QString(500, u'x');
    fake.model().addRecent(markup);
    QMenu& submenu = recents();
    EXPECT_TRUE(submenu.toolTipsVisible());
    QAction* item = submenu.actions().at(1);
    EXPECT_EQ(plain(item->toolTip()), markup.left(400));
    trigger(item);
    EXPECT_EQ(fake.board().string(), markup);

    // An emoji at the cut is kept whole rather than split in half.
    const QString emoji = QString(399, u'a') + QStringLiteral("👍🏽tail");
    EXPECT_EQ(plain(StatusMenu::recentToolTip(emoji)), QString(399, u'a') + QStringLiteral("👍🏽"));
}

TEST_F(StatusMenuTests, EitherButtonOpensTheAppsOneMenu) {
    StatusController controller(fake.model(), [] {}, usKeys);
    // A context menu handed to the tray would be redrawn by the panel in its own order.
    EXPECT_EQ(controller.item().contextMenu(), nullptr);
    for (const auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::Trigger}) {
        SCOPED_TRACE(int(reason));
        Q_EMIT controller.item().activated(reason);
        EXPECT_TRUE(controller.menu().isVisible());
        ASSERT_EQ(controller.menu().actions().size(), 11);
        EXPECT_EQ(controller.menu().actions().at(9)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
        controller.menu().hide();
    }
    Q_EMIT controller.item().activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(controller.menu().isVisible());
}

TEST_F(StatusMenuTests, TheControllerFillsTheMenuWhenItOpensAndFollowsShowIcon) {
    StatusController controller(fake.model(), [] {}, usKeys);
    EXPECT_TRUE(controller.menu().actions().isEmpty()) << "filled when it opens, not before";
    Q_EMIT controller.menu().aboutToShow();
    EXPECT_EQ(controller.menu().actions().size(), 11);
    EXPECT_EQ(controller.item().toolTip(), Words::menuIconTip(QStringLiteral("Glyph & Co")));

    EXPECT_TRUE(controller.iconShown());
    EXPECT_TRUE(controller.item().isVisible());
    fake.changePrefs([](auto& prefs) { prefs.showIcon = false; });
    EXPECT_FALSE(controller.iconShown());
    EXPECT_FALSE(controller.item().isVisible());
    fake.changePrefs([](auto& prefs) { prefs.keepRecents = false; });
    EXPECT_FALSE(controller.item().isVisible());
    fake.changePrefs([](auto& prefs) { prefs.showIcon = true; });
    EXPECT_TRUE(controller.item().isVisible());
}

}  // namespace
}  // namespace Glyphnab
