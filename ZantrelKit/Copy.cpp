#include "ZantrelKit/Copy.h"

#include "ZantrelKit/DiagnosticReport.h"
#include "ZantrelKit/Formatting.h"
#include "ZantrelKit/Localization.h"

#include <array>

namespace ZantrelKit::Copy {
namespace {

QString text(const char16_t* key, const char16_t* english, std::initializer_list<TextArgument> arguments = {}) {
    return kitText(QString::fromUtf16(key), QString::fromUtf16(english), arguments);
}

struct KeyWord {
    std::uint16_t keyCode;
    const char16_t* key;
    const char16_t* english;
};

// Key codes 51 and 117 are the keys a PC keyboard labels Backspace and Delete.
constexpr std::array<KeyWord, 15> keyWords{{
    {36, u"key.return", u"Return"},
    {48, u"key.tab", u"Tab"},
    {49, u"key.space", u"Space"},
    {51, u"key.delete", u"Backspace"},
    {53, u"key.escape", u"Escape"},
    {76, u"key.enter", u"Enter"},
    {115, u"key.home", u"Home"},
    {116, u"key.pageUp", u"Page Up"},
    {117, u"key.forwardDelete", u"Delete"},
    {119, u"key.end", u"End"},
    {121, u"key.pageDown", u"Page Down"},
    {123, u"key.left", u"Left Arrow"},
    {124, u"key.right", u"Right Arrow"},
    {125, u"key.down", u"Down Arrow"},
    {126, u"key.up", u"Up Arrow"},
}};

}  // namespace

QString switchOn() { return text(u"switch.on", u"On"); }
QString switchOff() { return text(u"switch.off", u"Off"); }

QString stepOf(std::int64_t step, std::int64_t count) {
    return text(u"onboarding.stepOf", u"Step %lld of %lld", {step, count});
}

QString joinedList(const QStringList& items) { return Formatting::locale().createSeparatedList(items); }

namespace Settings {
QString tabGeneral() { return text(u"settings.tab.general", u"General"); }
QString tabAbout() { return text(u"settings.tab.about", u"About"); }
QString openAtLogin() { return text(u"settings.openAtLogin", u"Open at login"); }
QString needsApproval() {
    return text(u"settings.needsApproval", u"Allow it in your desktop's Startup Applications settings.");
}
QString openLoginItems() { return text(u"settings.openLoginItems", u"Open Startup Applications"); }
QString loginFailed() {
    return text(u"settings.loginFailed",
                u"Couldn't change this. Try again from your desktop's Startup Applications settings.");
}
QString updates() { return text(u"settings.updates", u"Updates"); }
// The app only looks for new versions; it never downloads or installs one itself.
QString updatesDetail() {
    return text(u"settings.updatesDetail", u"Checks once a day and tells you when a new version is out.");
}
QString updatesNotSetUp() { return text(u"settings.updatesNotSetUp", u"Updates aren't set up in this build yet."); }
QString checkForUpdates() { return text(u"settings.checkForUpdates", u"Check for Updates"); }
QString download() { return text(u"settings.download", u"Download"); }
QString version(const QString& version) { return text(u"settings.version", u"Version %@", {version}); }
QString privacy(const QString& appName) {
    return text(u"settings.privacy",
                u"Nothing leaves your computer. %@ goes online only to look for updates and to list the "
                u"other apps in the box.",
                {appName});
}
QString maker() { return QStringLiteral("Made by Zantrel"); }
QString siteLink(const QString& name) { return text(u"settings.siteLink", u"%@ on the web", {name}); }
QString supportSubject(const QString& name) { return name + QStringLiteral(" support"); }
QString supportLine(const QString& email) { return text(u"settings.supportLine", u"Questions? Write to %@.", {email}); }
QString otherApps(const QString& boxName) { return text(u"settings.otherApps", u"Other apps in %@", {boxName}); }
}  // namespace Settings

namespace Panels {
QString allFiles() { return text(u"panel.allFiles", u"All files"); }
}  // namespace Panels

namespace Permission {
QString open() { return text(u"permission.open", u"Open Settings"); }
QString quitReopen() { return text(u"permission.quitReopen", u"Quit and Reopen"); }
QString waiting() { return text(u"permission.waiting", u"Waiting for the switch"); }
QString granted() { return text(u"permission.granted", u"Turned on"); }

QString name(const ZantrelKit::Permission& permission) {
    return permission.pane.isEmpty() ? permission.id : permission.pane.last();
}

QString goTo(const ZantrelKit::Permission& permission) {
    return text(u"permission.goTo", u"Go to %@.", {permission.breadcrumb()});
}

QString turnOn(const QString& appName) { return text(u"permission.turnOn", u"Turn on %@ in the list.", {appName}); }

QString notListed(const QString& appName) {
    return text(u"permission.notListed", u"Not in the list? Add %@ to it, then come back here.", {appName});
}

QString stuck(const QString& appName) {
    return text(u"permission.stuck",
                u"Switched on, but %@ doesn't see it? Quit and reopen %@, then press Open Settings again.",
                {appName, appName});
}

QString stuckAddAgain(const QString& appName) {
    return text(u"permission.stuckAddAgain",
                u"Switched on, but %@ doesn't see it? Quit and reopen %@, then allow it again when your "
                u"desktop asks.",
                {appName, appName});
}

QString shortName(const ZantrelKit::Permission& permission) {
    if (permission.id == u"screenRecording")
        return text(u"permission.short.screenRecording", u"Screen Recording");
    if (permission.id == ZantrelKit::Permission::accessibility().id)
        return text(u"permission.short.accessibility", u"Accessibility");
    if (permission.id == u"fullDiskAccess")
        return text(u"permission.short.fullDiskAccess", u"Full Disk Access");
    return name(permission);
}

QString againTitle(const ZantrelKit::Permission& permission) {
    return text(u"permission.againTitle", u"Allow %@ again", {shortName(permission)});
}

QString againDetail(const ZantrelKit::Permission& permission, const QString& appName) {
    return text(u"permission.againDetail",
                u"%@ had %@ before, and it's off now. Your system can turn it off after an update or a "
                u"change in Settings.",
                {appName, shortName(permission)});
}
}  // namespace Permission

namespace Shortcuts {
QString recording() { return text(u"shortcut.recording", u"Type the keys"); }
QString notSet() { return text(u"shortcut.notSet", u"Not set"); }
QString needsModifier() { return text(u"shortcut.needsModifier", u"Add Control, Alt or Super"); }
QString clear() { return text(u"shortcut.clear", u"Clear shortcut"); }
QString help() { return text(u"shortcut.help", u"Click, then press the keys. Escape cancels, Delete clears."); }
QString system() { return text(u"shortcut.system", u"Your desktop uses these keys too."); }
QString sameAs(const QStringList& commandNames) {
    return text(u"shortcut.sameAs", u"Also set for %@.", {joinedList(commandNames)});
}
}  // namespace Shortcuts

namespace Ticks {
QString allShown() { return text(u"tick.allShown", u"Tick All Shown"); }
QString none() { return text(u"tick.none", u"Untick All"); }

QString state(TickState state) {
    switch (state) {
    case TickState::on:
        return text(u"tick.on", u"Ticked");
    case TickState::off:
        return text(u"tick.off", u"Not ticked");
    case TickState::mixed:
        break;
    }
    return text(u"tick.mixed", u"Some ticked");
}

QString count(std::int64_t ticked, std::int64_t total, const std::optional<QString>& size) {
    const QString counted = text(u"tick.count", u"%lld of %lld ticked", {ticked, total});
    if (!size)
        return counted;
    return text(u"tick.countSize", u"%@, %@", {counted, *size});
}

QString selected(std::int64_t count) { return text(u"tick.selected", u"%lld selected", {count}); }
}  // namespace Ticks

namespace Doing {
QString cancel() { return text(u"doing.cancel", u"Cancel"); }
QString undo() { return text(u"doing.undo", u"Undo"); }
QString stop() { return text(u"doing.stop", u"Stop"); }
QString showFolder(const QString& name) {
    return text(u"doing.showFolder", u"Show %@ in the File Manager", {name});
}
}  // namespace Doing

namespace Flow {
QString working() { return text(u"flow.working", u"In progress"); }
QString copy() { return text(u"flow.copy", u"Copy"); }
QString putBack() { return text(u"flow.putBack", u"Put Back"); }
QString busy(std::int64_t wholePercent) {
    return text(u"flow.busy", u"%@ done", {Formatting::percent(wholePercent)});
}
QString skipped(std::int64_t count) { return text(u"flow.skipped", u"Skipped: %lld", {count}); }
}  // namespace Flow

namespace Tools {
QString more() { return text(u"tools.more", u"More"); }
}  // namespace Tools

namespace MenuBar {
QString showIcon() { return text(u"menubar.showIcon", u"Show in the system tray"); }
QString status(const QString& name, bool paused) {
    if (paused)
        return text(u"menubar.paused", u"%@, paused", {name});
    return text(u"menubar.attention", u"%@, needs attention", {name});
}
QString showIconDetail(const QString& appName) {
    return text(u"menubar.showIconDetail",
                u"Open %@ again from your applications to get back here while it's hidden.", {appName});
}
}  // namespace MenuBar

namespace Find {
QString prompt() { return text(u"find.prompt", u"Search"); }
QString nothing() { return text(u"find.nothing", u"Nothing matches"); }
QString nothingLine() {
    return text(u"find.nothingLine", u"Try fewer letters, or clear the search to see every row.");
}
QString clear() { return text(u"find.clear", u"Clear Search"); }
QString shown(std::int64_t shown, std::int64_t total) {
    if (shown == total)
        return text(u"find.shownAll", u"%lld shown", {shown});
    return text(u"find.shownOf", u"%lld of %lld shown", {shown, total});
}
}  // namespace Find

namespace Menus {
QString settings() { return text(u"menu.settings", u"Settings\u2026"); }
QString quit(const QString& appName) { return text(u"menu.quit", u"Quit %@", {appName}); }
QString edit() { return text(u"menu.edit", u"Edit"); }
QString undo() { return text(u"menu.undo", u"Undo"); }
QString redo() { return text(u"menu.redo", u"Redo"); }
QString cut() { return text(u"menu.cut", u"Cut"); }
QString copy() { return text(u"menu.copy", u"Copy"); }
QString paste() { return text(u"menu.paste", u"Paste"); }
QString selectAll() { return text(u"menu.selectAll", u"Select All"); }
QString find() { return text(u"menu.find", u"Find"); }
QString window() { return text(u"menu.window", u"Window"); }
QString minimize() { return text(u"menu.minimize", u"Minimize"); }
QString close() { return text(u"menu.close", u"Close"); }
QString help() { return text(u"menu.help", u"Help"); }
QString helpFor(const QString& appName) { return text(u"menu.helpFor", u"%@ Help", {appName}); }
}  // namespace Menus

namespace Keys {
QString control() { return text(u"key.control", u"Control"); }
QString option() { return text(u"key.option", u"Alt"); }
QString shift() { return text(u"key.shift", u"Shift"); }
QString command() { return text(u"key.command", u"Super"); }

std::optional<QString> name(std::uint16_t keyCode) {
    for (const KeyWord& word : keyWords)
        if (word.keyCode == keyCode)
            return text(word.key, word.english);
    return std::nullopt;
}
}  // namespace Keys

namespace Diagnostics {
QString button() { return text(u"diagnostics.button", u"Send a report"); }
QString title() { return text(u"diagnostics.title", u"Report for support"); }
QString lead() {
    return text(u"diagnostics.lead", u"This is everything the email carries. Nothing is sent until you send it.");
}
QString openInMail() { return text(u"diagnostics.openInMail", u"Open in Email"); }
QString copy() { return text(u"diagnostics.copy", u"Copy"); }
QString cancel() { return text(u"diagnostics.cancel", u"Cancel"); }

QString caption(const QString& email, const QString& appName) {
    return text(u"diagnostics.caption",
                u"Opens an email to %@ with the app version, your computer model and %@'s own log since it "
                u"last opened. You see it first. Lines that name you or this computer are left out.",
                {email, appName});
}

QString footer(const QString& appName) {
    return text(u"diagnostics.footer",
                u"Log since %@ last opened, newest last, up to %lld lines. This computer's name is left out.",
                {appName, std::int64_t{DiagnosticReport::lineCap}});
}

QString noMail() {
    return text(u"diagnostics.noMail",
                u"No email program opened. Copy the report and paste it into an email instead.");
}

QString subject(const QString& appName, const QString& version, const QString& build) {
    return appName + QStringLiteral(" report ") + version + QStringLiteral(" (") + build + u')';
}
}  // namespace Diagnostics

}  // namespace ZantrelKit::Copy
