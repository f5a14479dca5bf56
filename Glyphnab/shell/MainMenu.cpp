#include "Glyphnab/shell/MainMenu.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/StandardMenus.h"
#include "platform/async/MainThread.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace Glyphnab {
namespace {

namespace Words = GlyphnabCore::Words;

QAction* item(QMenu* menu, const QString& title, const QKeySequence& keys, std::function<void()> run) {
    QAction* action = menu->addAction(ZantrelUI::StandardMenus::escapedTitle(title));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, action, [run = std::move(run)] {
        Platform::assertMain();
        run();
    });
    return action;
}

// Edit commands go where the kit's menus send them: the focused widget or its parents.
std::function<void()> toFocusWidget(const char* slot) {
    return [slot] { ZantrelUI::StandardMenus::Responder::perform(slot); };
}

bool isOrdinaryWindow(const QWidget* widget) {
    if (!widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

}  // namespace

MainMenu::MainMenu(const QString& productName, std::function<void()> openSettings, QObject* parent)
    : QObject(parent) {
    auto* app = new QMenu(ZantrelUI::StandardMenus::escapedTitle(productName));
    item(app, Words::menuSettings(), QKeySequence(Qt::CTRL | Qt::Key_Comma), std::move(openSettings));
    app->addSeparator();
    item(app, Words::menuQuit(productName), QKeySequence(Qt::CTRL | Qt::Key_Q), [] { QCoreApplication::quit(); });

    // Fixed English words, as on the other desktops of the family.
    auto* edit = new QMenu(QStringLiteral("Edit"));
    item(edit, QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), toFocusWidget("undo"));
    item(edit, QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), toFocusWidget("redo"));
    edit->addSeparator();
    item(edit, QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), toFocusWidget("cut"));
    item(edit, QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), toFocusWidget("copy"));
    item(edit, QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), toFocusWidget("paste"));
    item(edit, QStringLiteral("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A), toFocusWidget("selectAll"));

    auto* window = new QMenu(QStringLiteral("Window"));
    item(window, QStringLiteral("Close"), QKeySequence(Qt::CTRL | Qt::Key_W), [] {
        if (QWidget* active = QApplication::activeWindow())
            active->close();
    });

    menus_ = {app, edit, window};
}

MainMenu::~MainMenu() { qDeleteAll(menus_); }

QList<QAction*> MainMenu::actions() const {
    QList<QAction*> all;
    for (const QMenu* menu : menus_)
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                all.append(action);
    return all;
}

void MainMenu::install() { qApp->installEventFilter(this); }

void MainMenu::attach(QWidget* window) const {
    const QList<QAction*> present = window->actions();
    for (QAction* action : actions())
        if (!present.contains(action))
            window->addAction(action);
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (isOrdinaryWindow(widget))
            attach(widget);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace Glyphnab
