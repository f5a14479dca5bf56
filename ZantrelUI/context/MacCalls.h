#pragma once

// The side-effecting desktop operations a view or a model may need (login item, quitting,
// opening addresses, showing files, the open and save dialogs, the clipboard) as one value
// of closures. The app passes `live()`; tests build their own values with `isLive` false,
// whose closures record what they are asked. Under the test host every live closure stops
// the process, so a test that forgot its own value fails loudly instead of touching the
// user's files, clipboard or autostart entries.

#include "ZantrelUI/context/LoginItem.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

namespace ZantrelUI {

// What an open dialog asks for.
struct OpenAsk {
    bool folders = false;               // choose folders instead of files
    QStringList types;                  // MIME type names allowed; empty = any
    bool multiple = false;              // several items may be chosen
    std::optional<QUrl> start;          // the folder it opens in; none = the dialog's choice
    std::optional<QString> message;     // a line shown in the dialog
    std::optional<QString> prompt;      // the confirm button's title; none = the default
    bool canCreateFolders = false;
    // The name of one filter that offers all `types` at once, beside "All files"; none =
    // one filter per type.
    std::optional<QString> typesName;

    friend bool operator==(const OpenAsk&, const OpenAsk&) = default;
};

// What a save dialog asks for.
struct SaveAsk {
    QString name;                // proposed file name
    QStringList types;           // MIME type names allowed; empty = any
    std::optional<QUrl> start;   // the folder it opens in

    friend bool operator==(const SaveAsk&, const SaveAsk&) = default;
};

struct MacCalls {
    using Board = std::shared_ptr<Platform::Pasteboard>;

    MacCalls(bool isLive, std::function<LoginItem::Status()> loginStatus, std::function<void(bool)> setLogin,
             std::function<void()> openLoginItems, std::function<void()> quit, std::function<void(const QUrl&)> open,
             std::function<void(const QList<QUrl>&)> reveal, std::function<QList<QUrl>(const OpenAsk&)> openPanel,
             std::function<std::optional<QUrl>(const SaveAsk&)> savePanel, Board board);

    // The value that reaches the real desktop; made once per process, handed out by copy.
    static MacCalls live();

    bool isLive() const { return isLive_; }
    // The clipboard of this value. On a live value under the test host this stops the
    // process ("the general pasteboard").
    Platform::Pasteboard& board() const;
    const Board& sharedBoard() const;

    std::function<LoginItem::Status()> loginStatus;
    // Throws LoginItem::Failure when the desktop refuses the change.
    std::function<void(bool)> setLogin;
    std::function<void()> openLoginItems;
    std::function<void()> quit;
    std::function<void(const QUrl&)> open;
    std::function<void(const QList<QUrl>&)> reveal;
    // Chosen items in order; cancelled = empty.
    std::function<QList<QUrl>(const OpenAsk&)> openPanel;
    // Cancelled = none.
    std::function<std::optional<QUrl>(const SaveAsk&)> savePanel;

private:
    bool isLive_;
    Board board_;
};

// The test-host misuse check of a model handed platform operations: the message when a
// live value is used under the test host, none otherwise.
std::optional<QString> liveCallsMisuse(bool isLive, bool testHost);
// The same, stopping the process with that message.
void refuseLiveCallsUnderTestHost(bool isLive, bool testHost);

// The platform operations in force for a widget: its environment's, else the live value.
MacCalls macCallsOf(const QWidget* widget);

namespace LiveCalls {

// "<operation> under the test host: a test reached the live system calls".
QString testHostMessage(const QString& operation);
// Stops the process with that message when running under the test host.
void refuseUnderTestHost(const QString& operation);

// What the live closures do once past the guard.
LoginItem::Status loginStatus();
void setLogin(bool on);
void openLoginItems();
void quit();
void open(const QUrl& url);
// Asks the desktop's file manager to select the items; without one, opens their folders.
void reveal(const QList<QUrl>& urls);
QList<QUrl> openPanel(const OpenAsk& ask);
// Sets a dialog up as `openPanel` shows it: mode, filters, folder, title and button.
void prepareOpenDialog(QFileDialog& dialog, const OpenAsk& ask);
std::optional<QUrl> savePanel(const SaveAsk& ask);

// The folders to open when no file manager takes a selection: each local item's folder,
// once, in order.
QList<QUrl> revealFallbackFolders(const QList<QUrl>& urls);

}  // namespace LiveCalls

}  // namespace ZantrelUI
