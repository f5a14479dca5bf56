// The app's single texts with their English defaults.

#include "GlyphnabCore/Words.h"

namespace GlyphnabCore::Words {
namespace {

QString text(const char16_t* key, const char16_t* englishDefault,
             std::initializer_list<ZantrelKit::TextArgument> arguments = {}) {
    return lookup(QString::fromUtf16(key), QString::fromUtf16(englishDefault), arguments);
}

}  // namespace

// GNOME's screenshot tool copies what it takes to the clipboard; KDE's Spectacle opens on
// the same key.
QString screenshotKey() { return QStringLiteral("the screenshot key (PrtSc)"); }

QString menuGrabJoin() { return text(u"menu.grabJoin", u"Grab Text, Lines Joined"); }
QString menuGrabKeep() { return text(u"menu.grabKeep", u"Grab Text, Line Breaks Kept"); }
QString menuGrabAgain() { return text(u"menu.grabAgain", u"Grab the Same Area Again"); }
QString menuFromClipboard() { return text(u"menu.fromClipboard", u"Text from Clipboard Picture"); }
QString menuFromFile() { return text(u"menu.fromFile", u"Text from File…"); }
// Tray icons take no drops on Linux desktops.
QString menuDropHint() {
    return text(u"menu.dropHint", u"Or open a picture or a PDF with this app from your file manager");
}
QString menuRecent() { return text(u"menu.recent", u"Recent Grabs"); }
QString menuRecentEmpty() { return text(u"menu.recentEmpty", u"Nothing Grabbed Yet"); }
QString menuRecentOff() { return text(u"menu.recentOff", u"Recent Grabs Are Off"); }
QString menuRecentHint() { return text(u"menu.recentHint", u"Click a grab to copy it again"); }
QString menuClearRecent() { return text(u"menu.clearRecent", u"Clear Recent Grabs"); }
QString menuSettings() { return text(u"menu.settings", u"Settings…"); }
QString menuQuit(const QString& appName) { return text(u"menu.quit", u"Quit %@", {appName}); }
QString menuIconTip(const QString& appName) {
    return text(u"menu.iconTip", u"%@. Click for the menu, or use Text from File… for a picture or a PDF.", {appName});
}

QString pickHint() { return text(u"pick.hint", u"Drag over the text. Press Esc to cancel."); }

QString noticeTable(qsizetype rows, qsizetype columns) {
    return text(u"notice.table", u"Copied a table, %lld rows by %lld columns", {rows, columns});
}
QString noticeQr() { return text(u"notice.qr", u"Copied a QR code"); }
QString noticeCodes(qsizetype count) { return text(u"notice.codes", u"Copied %lld codes", {count}); }
QString noticeCopiedOne() { return text(u"notice.copied.one", u"Copied 1 character"); }
QString noticeCopied(qsizetype count) { return text(u"notice.copied", u"Copied %lld characters", {count}); }
QString noticeNothing() { return text(u"notice.nothing", u"No text found"); }
QString noticeBarcodePlain() { return text(u"notice.barcode.plain", u"Copied a barcode"); }
QString noticeCodeAn(const QString& kindName) { return text(u"notice.code.an", u"Copied an %@", {kindName}); }
QString noticeCode(const QString& kindName) { return text(u"notice.code", u"Copied a %@", {kindName}); }
QString noticeBarcodeAn(const QString& kindName) {
    return text(u"notice.barcode.an", u"Copied an %@ barcode", {kindName});
}
QString noticeBarcode(const QString& kindName) { return text(u"notice.barcode", u"Copied a %@ barcode", {kindName}); }
QString noticeModeJoin() { return text(u"notice.modeJoin", u"Lines joined into paragraphs"); }
QString noticeModeKeep() { return text(u"notice.modeKeep", u"Line breaks kept"); }
QString noticeReadingOne() { return text(u"notice.readingOne", u"Reading the text"); }
QString noticeTableDetail() { return text(u"notice.tableDetail", u"Pastes into a spreadsheet as rows and columns"); }
QString noticeNothingDetail() {
    return text(u"notice.nothingDetail",
                u"Try a larger area or zoom in first. Protected video shows as black and has no text.");
}
QString noticeNothingFile() { return text(u"notice.nothingFile", u"No text found in that file"); }
QString noticeNothingFileDetail() {
    return text(u"notice.nothingFileDetail", u"The page may be too small or too blurred to read. Try a sharper copy.");
}
QString noticeNothingClipboard() { return text(u"notice.nothingClipboard", u"No text found in the clipboard picture"); }
QString noticeNothingClipboardDetail() {
    return text(u"notice.nothingClipboardDetail", u"Press %@ and drag over a larger area.", {screenshotKey()});
}
QString noticeGrabAgain() { return text(u"notice.grabAgain", u"Grab Again"); }
QString noticeCopyText() { return text(u"notice.copyText", u"Copy the Text"); }
QString noticeCopyKept() { return text(u"notice.copyKept", u"Copy with Line Breaks"); }
QString noticeCopyJoined() { return text(u"notice.copyJoined", u"Copy Lines Joined"); }
QString noticeClose() { return text(u"notice.close", u"Close"); }

QString errorCapture() { return text(u"error.capture", u"That area couldn't be captured"); }
QString errorCaptureDetail() {
    return text(u"error.captureDetail",
                u"The screen returned no picture. Try again, or read the clipboard picture instead.");
}
QString errorCaptureRefused() {
    return text(u"error.captureRefused",
                u"The desktop refused the screenshot. If it asked you, allow it the next time, or read the "
                u"clipboard picture instead.");
}
QString errorCaptureUnanswered() {
    return text(u"error.captureUnanswered",
                u"The desktop did not answer the screenshot request. Try again, or read the clipboard picture "
                u"instead.");
}
QString errorCaptureUnsaved() {
    return text(u"error.captureUnsaved",
                u"The desktop could not save the screenshot. Check that your Pictures folder can be written, then "
                u"try again.");
}
QString errorRead() { return text(u"error.read", u"That picture couldn't be read"); }
QString errorReadDetail() {
    return text(u"error.readDetail", u"Text recognition stopped with an error. Try again, or try a smaller area.");
}
QString errorClipboard() { return text(u"error.clipboard", u"No picture on the clipboard"); }
QString errorClipboardDetail() {
    return text(u"error.clipboardDetail",
                u"Press %@ and drag over the text to copy it as a picture.",
                {screenshotKey()});
}
QString errorFile() { return text(u"error.file", u"That file couldn't be read"); }
QString errorFileDetail() { return text(u"error.fileDetail", u"Pick a picture or a PDF instead."); }
QString errorBusy(const QString& appName) {
    return text(u"error.busy", u"%@ is still reading. Try again when it's done.", {appName});
}
QString errorNotReady(const QString& appName) {
    return text(u"error.notReady", u"%@ isn't ready yet. Open it, then run the shortcut again.", {appName});
}
QString errorStopped() { return text(u"error.stopped", u"Stopped. Nothing was copied."); }
QString errorNothingPicked() { return text(u"error.nothingPicked", u"No area was picked."); }
QString errorNoCode() { return text(u"error.noCode", u"No QR code or barcode found in that file."); }

QString grantTitle() { return text(u"grant.title", u"Screen Recording is off"); }
QString grantDetail(const QString& appName) {
    return text(u"grant.detail",
                u"To grab an area with 1 shortcut, %@ needs Screen Recording. After you switch it on, "
                u"quit and reopen %@.",
                {appName, appName});
}
QString grantOpenSettings() { return text(u"grant.openSettings", u"Open Settings"); }
QString grantAllow() { return text(u"grant.allow", u"Allow Screen Recording"); }
QString grantClipboardInstead() { return text(u"grant.clipboardInstead", u"Read the Clipboard Picture"); }
QString grantNotNow() { return text(u"grant.notNow", u"Not Now"); }
QString grantOn() { return text(u"grant.on", u"Screen Recording is on"); }
QString grantWaiting() { return text(u"grant.waiting", u"Waiting for Screen Recording"); }
QString grantRelaunch() { return text(u"grant.relaunch", u"Switched on? Quit and reopen to start using it."); }
QString grantReopen(const QString& appName) {
    return text(u"grant.reopen", u"Switched it on? %@ needs to quit and reopen.", {appName});
}
QString grantQuitReopen() { return text(u"grant.quitReopen", u"Quit and Reopen"); }

QString welcomeTitle() { return text(u"welcome.title", u"Copy the text you can see"); }
QString welcomeBody() {
    return text(u"welcome.body",
                u"Press a shortcut, drag over words in any app, a picture, a paused video or a slide, "
                u"and the text is on your clipboard.");
}
QString welcomeLocal() { return text(u"welcome.local", u"Text recognition on this computer. Nothing is uploaded."); }
QString welcomeLines() { return text(u"welcome.lines", u"Keeps the line breaks, or joins lines into paragraphs."); }
QString welcomeTables() { return text(u"welcome.tables", u"Tables paste into a spreadsheet as rows and columns."); }
QString welcomeCodes() { return text(u"welcome.codes", u"Reads QR codes and barcodes in the same drag."); }
QString welcomeLiveText(const QString& appName) {
    return text(u"welcome.liveText",
                u"Most text tools read a picture you open first. With %@ there is no picture to open. "
                u"Press the shortcut and drag, in any app.",
                {appName});
}
QString routeTitle() { return text(u"route.title", u"Choose how to grab"); }
QString routeBody() { return text(u"route.body", u"You can change this later in Settings."); }
QString routeScreen() { return text(u"route.screen", u"1 shortcut, then drag"); }
QString routeScreenDetail(const QString& appName) {
    return text(u"route.screenDetail",
                u"Needs Screen Recording. If your desktop asks for it, allow it, then quit and reopen %@.",
                {appName});
}
QString routeScreenDetailDesk() {
    return text(u"route.screenDetailDesk",
                u"Your desktop may ask you to allow screenshots the first time you grab. Allow it there and the "
                u"grab goes on.");
}
QString routeClipboard() { return text(u"route.clipboard", u"No permission"); }
QString routeClipboardDetail() {
    return text(u"route.clipboardDetail",
                u"Press %@ and drag, and your screenshot tool copies the picture to the clipboard. "
                u"Then press the grab shortcut to turn it into text.",
                {screenshotKey()});
}
QString keysTitle() { return text(u"keys.title", u"Your shortcuts"); }
QString keysBody() { return text(u"keys.body", u"They work in every app. Click a shortcut to change it."); }
QString keysBodyNoGlobalKeys() {
    return text(u"keys.bodyNoGlobalKeys",
                u"This desktop doesn't let apps set global shortcuts. In its keyboard settings, add a custom "
                u"shortcut for each command below.");
}
QString keysBodyDesk() {
    return text(u"keys.bodyDesk", u"Your desktop runs these shortcuts. Change them in its keyboard settings.");
}
QString keysTryItCommand() {
    return text(u"keys.tryItCommand", u"Try it now: press the shortcut you gave the grab command, and drag over this line.");
}
QString keysTryIt(const QString& shortcut) {
    return text(u"keys.tryIt", u"Try it now: press %@ and drag over this line.", {shortcut});
}
QString keysTryItNoGrant(const QString& shortcut) {
    return text(u"keys.tryItNoGrant",
                u"Screen Recording is still off. Go back to allow it, or press %@, drag over this line, "
                u"then press %@.",
                {screenshotKey(), shortcut});
}
QString keysTryItClipboard(const QString& shortcut) {
    return text(u"keys.tryItClipboard", u"Try it now: press %@, drag over this line, then press %@.",
                {screenshotKey(), shortcut});
}
QString keysTryItRefused(const QString& shortcut) {
    return text(u"keys.tryItRefused",
                u"Another program already uses %@, so it does nothing here. Pick other keys for it.", {shortcut});
}
QString keysChangeShortcut() { return text(u"keys.changeShortcut", u"Change Shortcut"); }
QString fromFileTitle() { return text(u"fromFile.title", u"Text from File"); }
QString fromFileTypes() { return text(u"fromFile.types", u"Pictures and PDFs"); }
QString menuShortcutRefused(const QString& shortcut) {
    return text(u"menu.shortcutRefused", u"%@ is used by another program", {shortcut});
}
QString keysMenuBar(const QString& appName) {
    return text(u"keys.menuBar",
                u"%@ lives in the system tray. Its menu reads the clipboard picture or a picture or PDF "
                u"file, and keeps your recent grabs.",
                {appName});
}
QString keysNoTray(const QString& appName) {
    return text(u"keys.noTray",
                u"This desktop shows no tray, so %@ has no icon. Start %@ again from your apps to open its "
                u"Settings.",
                {appName, appName});
}
QString onboardingNext() { return text(u"onboarding.next", u"Continue"); }
QString onboardingBack() { return text(u"onboarding.back", u"Back"); }
QString onboardingDone() { return text(u"onboarding.done", u"Done"); }

QString appAbout(const QString& appName) {
    return text(u"app.about",
                u"%@ copies the text in any area of your screen and reads QR codes and barcodes. Text "
                u"recognition on this computer. Nothing is uploaded and nothing is saved.",
                {appName});
}
QString settingsTabShortcuts() { return text(u"settings.tabShortcuts", u"Shortcuts"); }
QString settingsTabLanguages() { return text(u"settings.tabLanguages", u"Languages"); }
QString settingsLineBreaks() { return text(u"settings.lineBreaks", u"Line breaks"); }
QString settingsKeepLines() { return text(u"settings.keepLines", u"Keep line breaks"); }
QString settingsJoinLines() { return text(u"settings.joinLines", u"Join lines into paragraphs"); }
QString settingsLineBreaksDetail() {
    return text(u"settings.lineBreaksDetail",
                u"Lists, code and tables keep their lines either way. The second shortcut grabs the other way.");
}
QString settingsGrabFrom() { return text(u"settings.grabFrom", u"The grab shortcuts read"); }
QString settingsFromScreen() { return text(u"settings.fromScreen", u"An area I drag over"); }
QString settingsFromClipboardPicture() { return text(u"settings.fromClipboardPicture", u"The clipboard picture"); }
QString settingsKeepRecents() { return text(u"settings.keepRecents", u"Keep the last 20 grabs in the menu"); }
QString settingsKeepRecentsDetail() {
    return text(u"settings.keepRecentsDetail", u"In memory only, never on disk. Cleared when you quit.");
}
QString settingsShowIcon() { return text(u"settings.showIcon", u"Show the icon in the system tray"); }
QString settingsShowIconDetail(const QString& appName) {
    return text(u"settings.showIconDetail",
                u"With it hidden, the shortcuts still work. Open %@ again from your applications to see "
                u"this window.",
                {appName});
}
QString settingsShortcutJoin() { return text(u"settings.shortcutJoin", u"Grab text (lines joined)"); }
QString settingsShortcutKeep() { return text(u"settings.shortcutKeep", u"Grab text (line breaks kept)"); }
QString settingsShortcutsDetail() {
    return text(u"settings.shortcutsDetail",
                u"Shortcuts work in every app, with no extra permission. Click a shortcut, then press the "
                u"new keys. Delete clears it, Escape cancels.");
}
QString settingsShortcutRefused() {
    return text(u"settings.shortcutRefused",
                u"Another program already uses this shortcut, so it does nothing here. Pick another.");
}
QString settingsShortcutsDetailDesk() {
    return text(u"settings.shortcutsDetailDesk",
                u"Here the desktop runs the grab commands from its own keyboard settings. The keys above are "
                u"what the app asks for where it can set global shortcuts itself.");
}
QString settingsShortcutNoKey() {
    return text(u"settings.shortcutNoKey", u"This keyboard has no key for this shortcut, so it does nothing here. Pick another.");
}
QString settingsShortcutNoGlobalKeys() {
    return text(u"settings.shortcutNoGlobalKeys",
                u"This desktop doesn't let apps set global shortcuts. In your desktop's keyboard settings, add a "
                u"custom shortcut that runs this command:");
}
QString settingsShortcutDeskTrigger(const QString& trigger) {
    return text(u"settings.shortcutDeskTrigger",
                u"Your desktop runs this with %@. Change it in the desktop's keyboard settings.", {trigger});
}
QString settingsShortcutDeskUnset() {
    return text(u"settings.shortcutDeskUnset",
                u"Your desktop has no keys for this yet. Set them in the desktop's keyboard settings.");
}
QString settingsCopyCommand() { return text(u"settings.copyCommand", u"Copy"); }
QString grantPortalOn() {
    return text(u"grant.portalOn", u"Screenshots come from your desktop, which may ask you once");
}
QString grantX11On() { return text(u"grant.x11On", u"Reads the screen directly: X11 asks no permission"); }
QString routeScreenDetailX11() {
    return text(u"route.screenDetailX11", u"Works at once: on X11 apps read the screen without asking for a permission.");
}
QString grantTitleUnavailable() { return text(u"grant.titleUnavailable", u"Screen capture isn't available"); }
QString grantDetailUnavailable(const QString& reason) {
    return text(u"grant.detailUnavailable",
                u"%@. Read the clipboard picture instead: take a screenshot with your desktop's tool first.",
                {reason});
}
QString settingsResetShortcuts() { return text(u"settings.resetShortcuts", u"Reset to Defaults"); }
QString settingsFollowMac() { return text(u"settings.followMac", u"Follow the system's languages"); }
QString settingsFollowMacNone() {
    return text(u"settings.followMacNone", u"None of the system's languages is read here, so the recognizer picks.");
}
QString settingsDetectLanguage() { return text(u"settings.detectLanguage", u"Detect the language of each grab"); }
QString settingsLanguagesDetail() {
    return text(u"settings.languagesDetail",
                u"These are the languages the recognizer reads on this computer. Pick the ones you grab "
                u"most. To read more, install the package tesseract-ocr- followed by the "
                u"language's three-letter code, such as tesseract-ocr-deu for German.");
}
QString settingsLanguagesDetailFollowing() {
    return text(u"settings.languagesDetailFollowing",
                u"These are the languages the recognizer reads on this computer. To read more, install the "
                u"package tesseract-ocr- followed by the language's three-letter code, such as "
                u"tesseract-ocr-deu for German.");
}
QString settingsSearchLanguages() { return text(u"settings.searchLanguages", u"Search languages"); }
QString settingsUseMacs() { return text(u"settings.useMacs", u"Use the System's"); }
QString settingsClearLanguages() { return text(u"settings.clearLanguages", u"Clear"); }
QString settingsPickedInOrder() { return text(u"settings.pickedInOrder", u"Picked, read in this order"); }
QString settingsOtherLanguages() { return text(u"settings.otherLanguages", u"Others"); }
QString settingsNoneChosen() { return text(u"settings.noneChosen", u"None picked: the recognizer chooses."); }

QString updateChecking() { return text(u"update.checking", u"Checking for updates…"); }
QString updateUpToDate() { return text(u"update.upToDate", u"You're up to date"); }
QString updateUpToDateDetail(const QString& appName, const QString& version) {
    return text(u"update.upToDateDetail", u"%@ %@ is the newest version.", {appName, version});
}
QString updateAvailable(const QString& appName, const QString& version) {
    return text(u"update.available", u"%@ %@ is available", {appName, version});
}
QString updateAvailableDetail(const QString& installed) {
    return text(u"update.availableDetail", u"You have version %@.", {installed});
}
QString updateFailed() { return text(u"update.failed", u"Couldn't check for updates"); }
QString updateFailedNetwork(const QString& reason) {
    return text(u"update.failedNetwork", u"The update server couldn't be reached: %@", {reason});
}
QString updateFailedRefused() {
    return text(u"update.failedRefused", u"The update feed moved to an address that isn't secure, so it wasn't read.");
}
QString updateFailedTooLarge() { return text(u"update.failedTooLarge", u"The update feed is too large to read."); }
QString updateFailedFeed() { return text(u"update.failedFeed", u"The update feed couldn't be read."); }
QString updateFailedNoVersion() { return text(u"update.failedNoVersion", u"The update feed lists no version."); }
QString updateOk() { return text(u"update.ok", u"OK"); }

}  // namespace GlyphnabCore::Words
