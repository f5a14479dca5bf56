#pragma once

// The family's standard main menu for a window: the app menu (Settings…, Quit), Edit,
// Window and, when the app has one, Help. Command keys are Ctrl-based. Edit commands go to
// the widget with the keyboard focus or the nearest of its parents that can do them; Find
// posts the in-process find notice for the active window; Quit goes through the platform
// operations of the window's environment.

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenuBar;
class QObject;
class QWidget;

namespace ZantrelUI::StandardMenus {

// The main menu for `window` (its parent; the caller places it). `help` none = no Help menu.
QMenuBar* build(const QString& appName, std::function<void()> settings,
                std::optional<std::function<void()>> help, QWidget* window);

// A menu item with a title and a key that runs `action` on the GUI thread; the action lives
// as long as the item.
QAction* item(const QString& title, const QKeySequence& key, std::function<void()> action, QObject* parent);

// Menu titles show "&" as written.
QString escapedTitle(const QString& title);

// The editing commands the Edit menu sends to the focused widget or its parents.
namespace Responder {
// "undo", "redo", "cut", "copy", "paste", "selectAll".
// A widget's property of this name may hold a QObject that takes the commands for it.
inline constexpr const char* responderProperty = "zantrel.responder";
bool canPerform(const char* command);
// True when a widget took it.
bool perform(const char* command);
}  // namespace Responder

}  // namespace ZantrelUI::StandardMenus

namespace ZantrelUI {

// The same commands for a window without a menu bar: Settings… (Ctrl+,), Quit (Ctrl+Q),
// Find (Ctrl+F) and Close (Ctrl+W) as actions of the window. Find and Close act on the
// active window, else on the window the key went to; with neither, Close does nothing.
struct StandardCommands {
    QString name;  // the app's name, for "Quit %@"
    std::function<void()> settings;

    // Adds the four actions to `window`, in that order, and returns them.
    QList<QAction*> install(QWidget* window) const;
};

}  // namespace ZantrelUI
