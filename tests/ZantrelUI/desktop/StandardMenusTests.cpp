#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/ZantrelUI/RecordingCalls.h"

#include "ZantrelUI/pieces/FindField.h"
#include "ZantrelUI/desktop/StandardMenus.h"

#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

// The titles of a menu's items, separators as "-".
QStringList titles(const QMenu* menu) {
    QStringList list;
    for (const QAction* action : menu->actions())
        list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

QAction* find(const QMenu* menu, const QString& title) {
    for (QAction* action : menu->actions())
        if (action->text() == title)
            return action;
    return nullptr;
}

QMenu* menu(const QMenuBar* bar, int index) { return bar->actions().at(index)->menu(); }

class StandardMenusTest : public DesignFixture {
protected:
    StandardMenusTest() {
        window.setWindowTitle(QStringLiteral("Host"));
        auto* column = new QVBoxLayout(&window);
        field = new QLineEdit(QStringLiteral("some text"), &window);
        column->addWidget(field);
        Environment::setMacCalls(&window, DesignTest::recordingCalls(log));
    }
    ~StandardMenusTest() override { QApplication::setActiveWindow(nullptr); }

    QMenuBar* build(bool withHelp) {
        std::optional<std::function<void()>> help;
        if (withHelp)
            help = [this] { ++helps; };
        return StandardMenus::build(QStringLiteral("Tom & Jerry"), [this] { ++settings; }, help, &window);
    }

    void focusField() {
        window.show();
        QApplication::setActiveWindow(&window);
        field->setFocus();
        TestSupport::waitUntil([&] { return QApplication::focusWidget() == field; }, std::chrono::seconds(2));
    }

    QWidget window;
    QLineEdit* field = nullptr;
    std::shared_ptr<DesignTest::CallLog> log = std::make_shared<DesignTest::CallLog>();
    int settings = 0;
    int helps = 0;
};

TEST_F(StandardMenusTest, ThreeMenusWithoutHelpFourWithItInOrder) {
    const QMenuBar* plain = build(false);
    ASSERT_EQ(plain->actions().size(), 3);
    EXPECT_EQ(plain->actions()[0]->text(), "Tom && Jerry");  // "&" shows as written
    EXPECT_EQ(plain->actions()[1]->text(), "Edit");
    EXPECT_EQ(plain->actions()[2]->text(), "Window");
    EXPECT_EQ(titles(menu(plain, 0)), (QStringList{"Settings\u2026", "-", "Quit Tom && Jerry"}));
    EXPECT_EQ(titles(menu(plain, 1)),
              (QStringList{"Undo", "Redo", "-", "Cut", "Copy", "Paste", "Select All", "-", "Find"}));
    EXPECT_EQ(titles(menu(plain, 2)), (QStringList{"Minimize", "Close"}));

    const QMenuBar* full = build(true);
    ASSERT_EQ(full->actions().size(), 4);
    EXPECT_EQ(full->actions()[3]->text(), "Help");
    EXPECT_EQ(titles(menu(full, 3)), QStringList{"Tom && Jerry Help"});
    EXPECT_EQ(full->parentWidget(), &window);
}

TEST_F(StandardMenusTest, CommandKeysAreCtrlBasedAndRedoTakesShift) {
    const QMenuBar* bar = build(true);
    const auto key = [&](int index, const QString& title) {
        const QAction* action = find(menu(bar, index), title);
        return action ? action->shortcut() : QKeySequence();
    };
    EXPECT_EQ(key(0, "Settings\u2026"), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(key(0, "Quit Tom && Jerry"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(key(1, "Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(key(1, "Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(key(1, "Cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(key(1, "Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(key(1, "Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(key(1, "Select All"), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(key(1, "Find"), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(key(2, "Minimize"), QKeySequence(Qt::CTRL | Qt::Key_M));
    EXPECT_EQ(key(2, "Close"), QKeySequence(Qt::CTRL | Qt::Key_W));
    EXPECT_EQ(key(3, "Tom && Jerry Help"), QKeySequence(Qt::CTRL | Qt::Key_Question));
}

TEST_F(StandardMenusTest, SettingsHelpAndQuitRunTheirActionsQuitThroughTheWindowsOperations) {
    const QMenuBar* bar = build(true);
    find(menu(bar, 0), "Settings\u2026")->trigger();
    find(menu(bar, 3), "Tom && Jerry Help")->trigger();
    find(menu(bar, 0), "Quit Tom && Jerry")->trigger();
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(helps, 1);
    EXPECT_EQ(log->quits, 1);
}

TEST_F(StandardMenusTest, EditItemsAreEnabledOnlyWithAFocusedWidgetThatTakesThem) {
    const QMenuBar* bar = build(false);
    QMenu* edit = menu(bar, 1);
    for (const char* title : {"Undo", "Redo", "Cut", "Copy", "Paste", "Select All"})
        EXPECT_FALSE(find(edit, QString::fromUtf8(title))->isEnabled()) << title;
    EXPECT_TRUE(find(edit, "Find")->isEnabled());
    EXPECT_FALSE(find(menu(bar, 2), "Close")->isEnabled());

    focusField();
    ASSERT_EQ(QApplication::focusWidget(), field);
    for (const char* title : {"Undo", "Redo", "Cut", "Copy", "Paste", "Select All"})
        EXPECT_TRUE(find(edit, QString::fromUtf8(title))->isEnabled()) << title;
    EXPECT_TRUE(find(menu(bar, 2), "Close")->isEnabled());

    find(edit, "Select All")->trigger();
    EXPECT_EQ(field->selectedText(), "some text");
    // The focused widget's parents are asked too; a command nobody takes is refused.
    EXPECT_FALSE(StandardMenus::Responder::perform("noSuchCommand"));
}

TEST_F(StandardMenusTest, FindPostsTheActiveWindowOrNothing) {
    const QMenuBar* bar = build(false);
    std::vector<QObject*> posted;
    const auto connection = QObject::connect(&FindBroadcast::shared(), &FindBroadcast::posted,
                                             [&](QObject* target) { posted.push_back(target); });
    QAction* findItem = find(menu(bar, 1), "Find");
    findItem->trigger();
    focusField();
    findItem->trigger();
    QObject::disconnect(connection);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0], nullptr);
    EXPECT_EQ(posted[1], &window);
}

TEST_F(StandardMenusTest, CloseAsksTheActiveWindowToCloseAndDoesNothingWithoutOne) {
    const QMenuBar* bar = build(false);
    QAction* close = find(menu(bar, 2), "Close");
    close->trigger();  // no active window: nothing happens
    focusField();
    ASSERT_TRUE(window.isVisible());
    close->trigger();
    EXPECT_FALSE(window.isVisible());
}

using StandardCommandsTest = StandardMenusTest;

TEST_F(StandardCommandsTest, TheFourCommandsActOnTheActiveWindowElseTheirOwn) {
    const QList<QAction*> commands =
        StandardCommands{QStringLiteral("Tom & Jerry"), [this] { ++settings; }}.install(&window);
    QStringList shown;
    for (const QAction* command : commands)
        shown << command->text() + u' ' + command->shortcut().toString();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Settings… Ctrl+,"), QStringLiteral("Quit Tom && Jerry Ctrl+Q"),
                                  QStringLiteral("Find Ctrl+F"), QStringLiteral("Close Ctrl+W")}));
    commands[0]->trigger();
    EXPECT_EQ(settings, 1);
    commands[1]->trigger();
    EXPECT_EQ(log->quits, 1);

    // No window is active: Find names the commands' own window, Close closes it.
    std::vector<QObject*> posted;
    const auto connection = QObject::connect(&FindBroadcast::shared(), &FindBroadcast::posted,
                                             [&](QObject* target) { posted.push_back(target); });
    window.show();
    QApplication::setActiveWindow(nullptr);
    commands[2]->trigger();
    QObject::disconnect(connection);
    EXPECT_EQ(posted, std::vector<QObject*>{&window});
    commands[3]->trigger();
    EXPECT_FALSE(window.isVisible());

    // The key itself reaches them through the window.
    focusField();
    QTest::keyClick(field, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(settings, 2);
}

}  // namespace
