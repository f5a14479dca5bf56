#pragma once

// The user-visible texts of the family's shared views, windows, menus and the support
// report. Each is read through a localization key with an English default, again on
// every call, so a language change shows on the next lookup.

#include "ZantrelKit/Permission.h"
#include "ZantrelKit/TickState.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace ZantrelKit::Copy {

// A title with a detail line under it.
struct Line {
    QString title;
    QString detail;

    friend bool operator==(const Line&, const Line&) = default;
};

QString switchOn();
QString switchOff();
QString stepOf(std::int64_t step, std::int64_t count);
// The items as an "and" list in the kit's formatting locale: "A, B, and C" in en_US.
QString joinedList(const QStringList& items);

namespace Settings {
QString tabGeneral();
QString tabAbout();
QString openAtLogin();
QString needsApproval();
QString openLoginItems();
QString loginFailed();
QString updates();
QString updatesDetail();
QString updatesNotSetUp();
QString checkForUpdates();
QString download();
QString version(const QString& version);
QString privacy(const QString& appName);
QString maker();
QString siteLink(const QString& name);
QString supportSubject(const QString& name);
QString supportLine(const QString& email);
QString otherApps(const QString& boxName);
}  // namespace Settings

namespace Panels {
// The filter of an open dialog that shows every file.
QString allFiles();
}  // namespace Panels

namespace Permission {
QString open();
QString quitReopen();
QString waiting();
QString granted();
// The last step of the pane path, or the id when there is no path; not localized.
QString name(const ZantrelKit::Permission& permission);
QString goTo(const ZantrelKit::Permission& permission);
QString turnOn(const QString& appName);
QString notListed(const QString& appName);
QString stuck(const QString& appName);
QString stuckAddAgain(const QString& appName);
QString shortName(const ZantrelKit::Permission& permission);
QString againTitle(const ZantrelKit::Permission& permission);
QString againDetail(const ZantrelKit::Permission& permission, const QString& appName);
}  // namespace Permission

namespace Shortcuts {
QString recording();
QString notSet();
QString needsModifier();
QString clear();
QString help();
QString system();
// The other commands that use the same keys, by name.
QString sameAs(const QStringList& commandNames);
}  // namespace Shortcuts

namespace Ticks {
QString allShown();
QString none();
QString state(TickState state);
// "2 of 7 ticked", with the size text after it when one is given.
QString count(std::int64_t ticked, std::int64_t total, const std::optional<QString>& size = std::nullopt);
QString selected(std::int64_t count);
}  // namespace Ticks

namespace Doing {
QString cancel();
QString undo();
QString stop();
QString showFolder(const QString& name);
}  // namespace Doing

namespace Flow {
QString working();
QString copy();
QString putBack();
QString busy(std::int64_t wholePercent);
QString skipped(std::int64_t count);
}  // namespace Flow

namespace Tools {
QString more();
}  // namespace Tools

namespace MenuBar {
QString showIcon();
QString status(const QString& name, bool paused);
QString showIconDetail(const QString& appName);
}  // namespace MenuBar

namespace Find {
QString prompt();
QString nothing();
QString nothingLine();
QString clear();
QString shown(std::int64_t shown, std::int64_t total);
}  // namespace Find

namespace Menus {
QString settings();
QString quit(const QString& appName);
QString edit();
QString undo();
QString redo();
QString cut();
QString copy();
QString paste();
QString selectAll();
QString find();
QString window();
QString minimize();
QString close();
QString help();
QString helpFor(const QString& appName);
}  // namespace Menus

namespace Keys {
QString control();
QString option();
QString shift();
QString command();
// The word for a special key (return, tab, space, the deletes, escape, enter, home, end,
// the page keys and the arrows), or nothing for any other key code.
std::optional<QString> name(std::uint16_t keyCode);
}  // namespace Keys

namespace Diagnostics {
QString button();
QString title();
QString lead();
QString openInMail();
QString copy();
QString cancel();
QString caption(const QString& email, const QString& appName);
// The report's last line; the line cap is the report's.
QString footer(const QString& appName);
QString subject(const QString& appName, const QString& version, const QString& build);
// Shown when no email program could be opened for the report.
QString noMail();
}  // namespace Diagnostics

}  // namespace ZantrelKit::Copy
