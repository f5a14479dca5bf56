#include "Glyphnab/shell/StatusMenu.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "GlyphnabCore/TextLines.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "platform/async/MainThread.h"
#include "text/ImageInput.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QTextDocument>

namespace Glyphnab::StatusMenu {
namespace {

using GlyphnabCore::Command;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

LineMode otherMode(LineMode mode) { return mode == LineMode::join ? LineMode::keep : LineMode::join; }

std::optional<ZantrelKit::Shortcut> shortcutOf(const GlyphnabCore::Preferences& prefs, Command command) {
    const auto it = prefs.shortcuts.find(command);
    if (it == prefs.shortcuts.end())
        return std::nullopt;
    return it->second;
}

// Runs once the menu has closed and let go of the pointer: a grab's overlay or a file
// dialog must not open under a menu that still holds it.
template <class Run>
void onTriggered(QAction* action, Run run) {
    QObject::connect(action, &QAction::triggered, action, std::move(run), Qt::QueuedConnection);
}

// An item that runs the model's operation while the model is there.
template <class Run>
QAction* addModelItem(QMenu& menu, const QString& title, GlyphnabModel& model, Run run) {
    QAction* action = menu.addAction(menuTitle(title));
    onTriggered(action, [model = QPointer<GlyphnabModel>(&model), run] {
        if (model)
            run(*model);
    });
    return action;
}

QAction* addLine(QMenu& menu, const QString& title) {
    QAction* action = menu.addAction(menuTitle(title));
    action->setEnabled(false);
    return action;
}

void addGrab(QMenu& menu, GlyphnabModel& model, const GlyphnabCore::Preferences& prefs, bool other,
             const KeyName& keyName, const QSet<Command>& refused) {
    const LineMode mode = other ? otherMode(prefs.lineMode) : prefs.lineMode;
    const Command command = other ? Command::grabOther : Command::grab;
    const std::optional<ZantrelKit::Shortcut> shortcut = shortcutOf(prefs, command);
    QAction* action = menu.addAction(menuTitle(Words::menuGrab(mode)));
    // Real key data, so the menu (or the panel it is exported to) lines the keys up in
    // its own column. The keys are global: the hot key fires them, not this item.
    const auto keys = keySequence(shortcut, keyName);
    if (keys && !refused.contains(command)) {
        action->setShortcut(*keys);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    onTriggered(action, [model = QPointer<GlyphnabModel>(&model), other] {
        if (model)
            model->startGrab(other);
    });
    // Keys another program holds do nothing here: say so rather than offer them.
    if (shortcut && refused.contains(command)) {
        const std::optional<QString> name = keyName ? keyName(shortcut->keyCode) : std::nullopt;
        addLine(menu, Words::menuShortcutRefused(shortcut->text(name)));
    }
}

}  // namespace

std::optional<QKeySequence> keySequence(const std::optional<ZantrelKit::Shortcut>& shortcut,
                                        const KeyName& keyName) {
    if (!shortcut)
        return std::nullopt;
    return ZantrelUI::KeyboardLayout::keySequence(*shortcut,
                                                  keyName ? keyName(shortcut->keyCode) : std::nullopt);
}

QString menuTitle(const QString& text) {
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&&"));
    return escaped;
}

QString recentToolTip(const QString& text) {
    // Tooltips take markup; a grab is shown as the text it is.
    return Qt::convertFromPlainText(GlyphnabCore::TextLines::firstCharacters(text, toolTipLength));
}

void rebuild(QMenu& menu, GlyphnabModel& model, const std::function<void()>& openSettings,
             const KeyName& keyName, const QSet<Command>& refused) {
    Platform::assertMain();
    // The earlier submenus are children of the menu, not its actions.
    for (QMenu* old : menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        delete old;
    menu.clear();
    const GlyphnabCore::Preferences prefs = model.prefs();

    addGrab(menu, model, prefs, false, keyName, refused);
    addGrab(menu, model, prefs, true, keyName, refused);
    QAction* again = addModelItem(menu, Words::menuGrabAgain(), model, [](GlyphnabModel& m) { m.grabSameArea(); });
    again->setEnabled(prefs.route == GlyphnabCore::Route::screen && model.lastArea().has_value());
    menu.addSeparator();

    QAction* clipboard =
        addModelItem(menu, Words::menuFromClipboard(), model, [](GlyphnabModel& m) { m.read(m.pasteboard()); });
    clipboard->setEnabled(ZantrelText::ImageInput::hasInput(model.pasteboard()));
    addModelItem(menu, Words::menuFromFile(), model, [](GlyphnabModel& m) { m.pickFile(); });
    addLine(menu, Words::menuDropHint());

    auto* recents = new QMenu(menuTitle(Words::menuRecent()), &menu);
    recents->setToolTipsVisible(true);
    fillRecents(*recents, model);
    menu.addMenu(recents);
    menu.addSeparator();

    QAction* settings = menu.addAction(menuTitle(Words::menuSettings()));
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    onTriggered(settings, [openSettings] {
        if (openSettings)
            openSettings();
    });
    QAction* quit =
        addModelItem(menu, Words::menuQuit(model.appName()), model, [](GlyphnabModel& m) { m.system().mac.quit(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void fillRecents(QMenu& menu, GlyphnabModel& model) {
    menu.clear();
    if (!model.prefs().keepRecents) {
        addLine(menu, Words::menuRecentOff());
        return;
    }
    const QStringList items = model.recents().items();
    if (items.isEmpty()) {
        addLine(menu, Words::menuRecentEmpty());
        return;
    }
    addLine(menu, Words::menuRecentHint());
    for (const QString& text : items) {
        QAction* action =
            addModelItem(menu, GlyphnabCore::Recents::menuTitle(text), model, [text](GlyphnabModel& m) {
                m.copyRecent(text);
            });
        action->setToolTip(recentToolTip(text));
    }
    menu.addSeparator();
    addModelItem(menu, Words::menuClearRecent(), model, [](GlyphnabModel& m) { m.clearRecents(); });
}

}  // namespace Glyphnab::StatusMenu
