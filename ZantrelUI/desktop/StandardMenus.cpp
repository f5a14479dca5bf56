#include "ZantrelUI/desktop/StandardMenus.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/desktop/FindBroadcast.h"
#include "platform/async/MainThread.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPointer>
#include <QWindow>

#include <array>
#include <vector>

namespace ZantrelUI::StandardMenus {

namespace Menus = ZantrelKit::Copy::Menus;

namespace {

// The object that takes a command: the focused widget or the nearest of its parents that
// has a slot of that name without arguments, or the helper a widget names as its responder
// (a piece that adds keyboard handling to someone else's widget).
QObject* responderFor(const char* command) {
    const QByteArray signature = QByteArray(command) + "()";
    const auto takes = [&signature](const QObject* o) {
        const int index = o->metaObject()->indexOfMethod(signature.constData());
        return index >= 0 && o->metaObject()->method(index).methodType() == QMetaMethod::Slot;
    };
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (takes(w))
            return w;
        if (auto* helper = w->property(Responder::responderProperty).value<QObject*>(); helper != nullptr && takes(helper))
            return helper;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

struct EditCommand {
    const char* command;
    QString (*title)();
    QKeySequence key;
};

}  // namespace

QString escapedTitle(const QString& title) {
    QString escaped = title;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool Responder::canPerform(const char* command) { return responderFor(command) != nullptr; }

bool Responder::perform(const char* command) {
    Platform::assertMain();
    QObject* target = responderFor(command);
    return target != nullptr && QMetaObject::invokeMethod(target, command);
}

QAction* item(const QString& title, const QKeySequence& key, std::function<void()> action, QObject* parent) {
    auto* entry = new QAction(escapedTitle(title), parent);
    entry->setShortcut(key);
    QObject::connect(entry, &QAction::triggered, entry, [action = std::move(action)] {
        Platform::assertMain();
        if (action)
            action();
    });
    return entry;
}

QMenuBar* build(const QString& appName, std::function<void()> settings, std::optional<std::function<void()>> help,
                QWidget* window) {
    Platform::assertMain();
    auto* bar = new QMenuBar(window);
    const QPointer<QWidget> host(window);

    QMenu* app = bar->addMenu(escapedTitle(appName));
    app->addAction(item(Menus::settings(), QKeySequence(Qt::CTRL | Qt::Key_Comma), std::move(settings), app));
    app->addSeparator();
    app->addAction(item(Menus::quit(appName), QKeySequence(Qt::CTRL | Qt::Key_Q),
                        [host] { macCallsOf(host.data()).quit(); }, app));

    QMenu* edit = bar->addMenu(escapedTitle(Menus::edit()));
    const std::array<EditCommand, 6> commands{{
        {"undo", &Menus::undo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"redo", &Menus::redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {"cut", &Menus::cut, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"copy", &Menus::copy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"paste", &Menus::paste, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"selectAll", &Menus::selectAll, QKeySequence(Qt::CTRL | Qt::Key_A)},
    }};
    std::vector<std::pair<QAction*, const char*>> responderItems;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const EditCommand& c = commands[i];
        if (i == 2)
            edit->addSeparator();
        QAction* entry = item(c.title(), c.key, [command = c.command] { Responder::perform(command); }, edit);
        edit->addAction(entry);
        responderItems.emplace_back(entry, c.command);
    }
    edit->addSeparator();
    edit->addAction(item(Menus::find(), QKeySequence(Qt::CTRL | Qt::Key_F),
                         [] { FindBroadcast::shared().post(QApplication::activeWindow()); }, edit));

    QMenu* windowMenu = bar->addMenu(escapedTitle(Menus::window()));
    QAction* minimize = item(Menus::minimize(), QKeySequence(Qt::CTRL | Qt::Key_M), [] {
        if (QWidget* active = QApplication::activeWindow())
            active->showMinimized();
    }, windowMenu);
    QAction* close = item(Menus::close(), QKeySequence(Qt::CTRL | Qt::Key_W), [] {
        // As if its close button were pressed: the window may still ask first.
        if (QWidget* active = QApplication::activeWindow())
            active->close();
    }, windowMenu);
    windowMenu->addAction(minimize);
    windowMenu->addAction(close);

    if (help) {
        QMenu* helpMenu = bar->addMenu(escapedTitle(Menus::help()));
        helpMenu->addAction(item(Menus::helpFor(appName), QKeySequence(Qt::CTRL | Qt::Key_Question), std::move(*help),
                                 helpMenu));
    }

    // Items that act on the focused widget or the active window are enabled only while
    // there is one that can take them.
    const auto validate = [responderItems, minimize, close] {
        for (const auto& [entry, command] : responderItems)
            entry->setEnabled(Responder::canPerform(command));
        const bool hasWindow = QApplication::activeWindow() != nullptr;
        minimize->setEnabled(hasWindow);
        close->setEnabled(hasWindow);
    };
    validate();
    QObject::connect(qApp, &QApplication::focusChanged, bar, validate);
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, bar, validate);
    QObject::connect(edit, &QMenu::aboutToShow, bar, validate);
    QObject::connect(windowMenu, &QMenu::aboutToShow, bar, validate);
    return bar;
}

}  // namespace ZantrelUI::StandardMenus

namespace ZantrelUI {

QList<QAction*> StandardCommands::install(QWidget* window) const {
    Platform::assertMain();
    namespace Menus = ZantrelKit::Copy::Menus;
    const QPointer<QWidget> host(window);
    // The active window, else the one the key went to.
    const auto target = [host]() -> QWidget* {
        if (QWidget* active = QApplication::activeWindow())
            return active;
        return host ? host->window() : nullptr;
    };
    const QList<QAction*> commands{
        StandardMenus::item(Menus::settings(), QKeySequence(Qt::CTRL | Qt::Key_Comma), settings, window),
        StandardMenus::item(Menus::quit(name), QKeySequence(Qt::CTRL | Qt::Key_Q),
                            [host] { macCallsOf(host.data()).quit(); }, window),
        StandardMenus::item(Menus::find(), QKeySequence(Qt::CTRL | Qt::Key_F),
                            [target] { FindBroadcast::shared().post(target()); }, window),
        StandardMenus::item(Menus::close(), QKeySequence(Qt::CTRL | Qt::Key_W),
                            [target] {
                                if (QWidget* closing = target())
                                    closing->close();
                            },
                            window),
    };
    for (QAction* command : commands) {
        command->setShortcutContext(Qt::WindowShortcut);
        window->addAction(command);
    }
    return commands;
}

}  // namespace ZantrelUI
