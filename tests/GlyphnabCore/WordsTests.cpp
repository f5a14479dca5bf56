#include "GlyphnabCore/Words.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace GlyphnabCore;
using ZantrelText::LineMode;

namespace {

struct Entry {
    const char* key;
    std::function<QString()> accessor;
    QString english;
};

const QString app = QStringLiteral("Glyphnab");
const QString keys = QStringLiteral("Ctrl+Shift+Super+T");

QList<Entry> entries() {
    const QString shot = Words::screenshotKey();
    return {
        {"menu.grabJoin", Words::menuGrabJoin, "Grab Text, Lines Joined"},
        {"menu.grabKeep", Words::menuGrabKeep, "Grab Text, Line Breaks Kept"},
        {"menu.grabAgain", Words::menuGrabAgain, "Grab the Same Area Again"},
        {"menu.fromClipboard", Words::menuFromClipboard, "Text from Clipboard Picture"},
        {"menu.fromFile", Words::menuFromFile, "Text from File…"},
        {"menu.dropHint", Words::menuDropHint, "Or open a picture or a PDF with this app from your file manager"},
        {"menu.recent", Words::menuRecent, "Recent Grabs"},
        {"menu.recentEmpty", Words::menuRecentEmpty, "Nothing Grabbed Yet"},
        {"menu.recentOff", Words::menuRecentOff, "Recent Grabs Are Off"},
        {"menu.recentHint", Words::menuRecentHint, "Click a grab to copy it again"},
        {"menu.clearRecent", Words::menuClearRecent, "Clear Recent Grabs"},
        {"menu.settings", Words::menuSettings, "Settings…"},
        {"menu.quit", [] { return Words::menuQuit(app); }, "Quit Glyphnab"},
        {"menu.iconTip", [] { return Words::menuIconTip(app); }, "Glyphnab. Click for the menu, or use Text from File… for a picture or a PDF."},
        {"pick.hint", Words::pickHint, "Drag over the text. Press Esc to cancel."},
        {"notice.table", [] { return Words::noticeTable(3, 4); }, "Copied a table, 3 rows by 4 columns"},
        {"notice.qr", Words::noticeQr, "Copied a QR code"},
        {"notice.codes", [] { return Words::noticeCodes(2); }, "Copied 2 codes"},
        {"notice.copied.one", Words::noticeCopiedOne, "Copied 1 character"},
        {"notice.copied", [] { return Words::noticeCopied(5); }, "Copied 5 characters"},
        {"notice.nothing", Words::noticeNothing, "No text found"},
        {"notice.barcode.plain", Words::noticeBarcodePlain, "Copied a barcode"},
        {"notice.code.an", [] { return Words::noticeCodeAn("Aztec code"); }, "Copied an Aztec code"},
        {"notice.code", [] { return Words::noticeCode("Data code"); }, "Copied a Data code"},
        {"notice.barcode.an", [] { return Words::noticeBarcodeAn("EAN-13"); }, "Copied an EAN-13 barcode"},
        {"notice.barcode", [] { return Words::noticeBarcode("Code 128"); }, "Copied a Code 128 barcode"},
        {"notice.modeJoin", Words::noticeModeJoin, "Lines joined into paragraphs"},
        {"notice.modeKeep", Words::noticeModeKeep, "Line breaks kept"},
        {"notice.readingOne", Words::noticeReadingOne, "Reading the text"},
        {"notice.reading", [] { return Words::noticeReading(3); }, "Reading 3 pages"},
        {"notice.pagesCut", [] { return Words::noticePagesCut(30, 31, 1, app, 30); }, "Copied the first 30 of 31 pages."},
        {"notice.pagesCutMany", [] { return Words::noticePagesCut(42, 57, 2, app, 30); }, "Copied 42 of 57 pages. Glyphnab reads the first 30 pages of each PDF."},
        {"notice.tableDetail", Words::noticeTableDetail, "Pastes into a spreadsheet as rows and columns"},
        {"notice.nothingDetail", Words::noticeNothingDetail, "Try a larger area or zoom in first. Protected video shows as black and has no text."},
        {"notice.nothingFile", Words::noticeNothingFile, "No text found in that file"},
        {"notice.nothingFileDetail", Words::noticeNothingFileDetail, "The page may be too small or too blurred to read. Try a sharper copy."},
        {"notice.nothingClipboard", Words::noticeNothingClipboard, "No text found in the clipboard picture"},
        {"notice.nothingClipboardDetail", Words::noticeNothingClipboardDetail, "Press " + shot + " and drag over a larger area."},
        {"notice.grabAgain", Words::noticeGrabAgain, "Grab Again"},
        {"notice.open", [] { return Words::noticeOpen(QUrl("https://www.example.com/a")); }, "Open example.com"},
        {"notice.copyText", Words::noticeCopyText, "Copy the Text"},
        {"notice.copyKept", Words::noticeCopyKept, "Copy with Line Breaks"},
        {"notice.copyJoined", Words::noticeCopyJoined, "Copy Lines Joined"},
        {"notice.close", Words::noticeClose, "Close"},
        {"error.capture", Words::errorCapture, "That area couldn't be captured"},
        {"error.captureDetail", Words::errorCaptureDetail, "The screen returned no picture. Try again, or read the clipboard picture instead."},
        {"error.read", Words::errorRead, "That picture couldn't be read"},
        {"error.readDetail", Words::errorReadDetail, "Text recognition stopped with an error. Try again, or try a smaller area."},
        {"error.clipboard", Words::errorClipboard, "No picture on the clipboard"},
        {"error.clipboardDetail", Words::errorClipboardDetail, "Press " + shot + " and drag over the text to copy it as a picture."},
        {"error.file", Words::errorFile, "That file couldn't be read"},
        {"error.fileDetail", Words::errorFileDetail, "Pick a picture or a PDF instead."},
        {"error.busy", [] { return Words::errorBusy(app); }, "Glyphnab is still reading. Try again when it's done."},
        {"error.notReady", [] { return Words::errorNotReady(app); }, "Glyphnab isn't ready yet. Open it, then run the shortcut again."},
        {"error.stopped", Words::errorStopped, "Stopped. Nothing was copied."},
        {"error.nothingPicked", Words::errorNothingPicked, "No area was picked."},
        {"error.noCode", Words::errorNoCode, "No QR code or barcode found in that file."},
        {"grant.title", Words::grantTitle, "Screen Recording is off"},
        {"grant.detail", [] { return Words::grantDetail(app); }, "To grab an area with 1 shortcut, Glyphnab needs Screen Recording. After you switch it on, quit and reopen Glyphnab."},
        {"grant.openSettings", Words::grantOpenSettings, "Open Settings"},
        {"grant.allow", Words::grantAllow, "Allow Screen Recording"},
        {"grant.clipboardInstead", Words::grantClipboardInstead, "Read the Clipboard Picture"},
        {"grant.notNow", Words::grantNotNow, "Not Now"},
        {"grant.on", Words::grantOn, "Screen Recording is on"},
        {"grant.waiting", Words::grantWaiting, "Waiting for Screen Recording"},
        {"grant.relaunch", Words::grantRelaunch, "Switched on? Quit and reopen to start using it."},
        {"grant.reopen", [] { return Words::grantReopen(app); }, "Switched it on? Glyphnab needs to quit and reopen."},
        {"grant.quitReopen", Words::grantQuitReopen, "Quit and Reopen"},
        {"welcome.title", Words::welcomeTitle, "Copy the text you can see"},
        {"welcome.body", Words::welcomeBody, "Press a shortcut, drag over words in any app, a picture, a paused video or a slide, and the text is on your clipboard."},
        {"welcome.local", Words::welcomeLocal, "Text recognition on this computer. Nothing is uploaded."},
        {"welcome.lines", Words::welcomeLines, "Keeps the line breaks, or joins lines into paragraphs."},
        {"welcome.tables", Words::welcomeTables, "Tables paste into a spreadsheet as rows and columns."},
        {"welcome.codes", Words::welcomeCodes, "Reads QR codes and barcodes in the same drag."},
        {"welcome.liveText", [] { return Words::welcomeLiveText(app); }, "Most text tools read a picture you open first. With Glyphnab there is no picture to open. Press the shortcut and drag, in any app."},
        {"route.title", Words::routeTitle, "Choose how to grab"},
        {"route.body", Words::routeBody, "You can change this later in Settings."},
        {"route.screen", Words::routeScreen, "1 shortcut, then drag"},
        {"route.screenDetail", [] { return Words::routeScreenDetail(app); }, "Needs Screen Recording. If your desktop asks for it, allow it, then quit and reopen Glyphnab."},
        {"route.clipboard", Words::routeClipboard, "No permission"},
        {"route.screenDetailX11", Words::routeScreenDetailX11, "Works at once: on X11 apps read the screen without asking for a permission."},
        {"grant.x11On", Words::grantX11On, "Reads the screen directly: X11 asks no permission"},
        {"route.clipboardDetail", Words::routeClipboardDetail, "Press " + shot + " and drag, and your screenshot tool copies the picture to the clipboard. Then press the grab shortcut to turn it into text."},
        {"keys.title", Words::keysTitle, "Your shortcuts"},
        {"keys.body", Words::keysBody, "They work in every app. Click a shortcut to change it."},
        {"keys.tryIt", [] { return Words::keysTryIt(keys); }, "Try it now: press Ctrl+Shift+Super+T and drag over this line."},
        {"keys.tryItNoGrant", [] { return Words::keysTryItNoGrant(keys); }, "Screen Recording is still off. Go back to allow it, or press " + shot + ", drag over this line, then press Ctrl+Shift+Super+T."},
        {"keys.tryItClipboard", [] { return Words::keysTryItClipboard(keys); }, "Try it now: press " + shot + ", drag over this line, then press Ctrl+Shift+Super+T."},
        {"keys.tryItRefused", [] { return Words::keysTryItRefused(keys); }, "Another program already uses Ctrl+Shift+Super+T, so it does nothing here. Pick other keys for it."},
        {"keys.changeShortcut", Words::keysChangeShortcut, "Change Shortcut"},
        {"menu.shortcutRefused", [] { return Words::menuShortcutRefused(keys); }, "Ctrl+Shift+Super+T is used by another program"},
        {"fromFile.title", Words::fromFileTitle, "Text from File"},
        {"fromFile.types", Words::fromFileTypes, "Pictures and PDFs"},
        {"keys.menuBar", [] { return Words::keysMenuBar(app); }, "Glyphnab lives in the system tray. Its menu reads the clipboard picture or a picture or PDF file, and keeps your recent grabs."},
        {"onboarding.next", Words::onboardingNext, "Continue"},
        {"onboarding.back", Words::onboardingBack, "Back"},
        {"onboarding.done", Words::onboardingDone, "Done"},
        {"app.about", [] { return Words::appAbout(app); }, "Glyphnab copies the text in any area of your screen and reads QR codes and barcodes. Text recognition on this computer. Nothing is uploaded and nothing is saved."},
        {"settings.tabShortcuts", Words::settingsTabShortcuts, "Shortcuts"},
        {"settings.tabLanguages", Words::settingsTabLanguages, "Languages"},
        {"settings.lineBreaks", Words::settingsLineBreaks, "Line breaks"},
        {"settings.keepLines", Words::settingsKeepLines, "Keep line breaks"},
        {"settings.joinLines", Words::settingsJoinLines, "Join lines into paragraphs"},
        {"settings.lineBreaksDetail", Words::settingsLineBreaksDetail, "Lists, code and tables keep their lines either way. The second shortcut grabs the other way."},
        {"settings.grabFrom", Words::settingsGrabFrom, "The grab shortcuts read"},
        {"settings.fromScreen", Words::settingsFromScreen, "An area I drag over"},
        {"settings.fromClipboardPicture", Words::settingsFromClipboardPicture, "The clipboard picture"},
        {"settings.keepRecents", Words::settingsKeepRecents, "Keep the last 20 grabs in the menu"},
        {"settings.keepRecentsDetail", Words::settingsKeepRecentsDetail, "In memory only, never on disk. Cleared when you quit."},
        {"settings.showIcon", Words::settingsShowIcon, "Show the icon in the system tray"},
        {"settings.showIconDetail", [] { return Words::settingsShowIconDetail(app); }, "With it hidden, the shortcuts still work. Open Glyphnab again from your applications to see this window."},
        {"settings.shortcutJoin", Words::settingsShortcutJoin, "Grab text (lines joined)"},
        {"settings.shortcutKeep", Words::settingsShortcutKeep, "Grab text (line breaks kept)"},
        {"settings.shortcutsDetail", Words::settingsShortcutsDetail, "Shortcuts work in every app, with no extra permission. Click a shortcut, then press the new keys. Delete clears it, Escape cancels."},
        {"settings.shortcutRefused", Words::settingsShortcutRefused, "Another program already uses this shortcut, so it does nothing here. Pick another."},
        {"settings.resetShortcuts", Words::settingsResetShortcuts, "Reset to Defaults"},
        {"settings.followMac", Words::settingsFollowMac, "Follow the system's languages"},
        {"settings.followMacDetail", [] { return Words::followMacDetail({"English"}); }, "Reads English."},
        {"settings.followMacNone", Words::settingsFollowMacNone, "None of the system's languages is read here, so the recognizer picks."},
        {"settings.detectLanguage", Words::settingsDetectLanguage, "Detect the language of each grab"},
        {"settings.languagesDetail", Words::settingsLanguagesDetail, "These are the languages the recognizer reads on this computer. Pick the ones you grab most. To read more, install the package tesseract-ocr- followed by the language's three-letter code, such as tesseract-ocr-deu for German."},
        {"settings.languagesDetailFollowing", Words::settingsLanguagesDetailFollowing, "These are the languages the recognizer reads on this computer. To read more, install the package tesseract-ocr- followed by the language's three-letter code, such as tesseract-ocr-deu for German."},
        {"settings.searchLanguages", Words::settingsSearchLanguages, "Search languages"},
        {"settings.languagesPicked", [] { return Words::languagesPicked(2, 9); }, "2 of 9 picked"},
        {"settings.useMacs", Words::settingsUseMacs, "Use the System's"},
        {"settings.clearLanguages", Words::settingsClearLanguages, "Clear"},
        {"settings.pickedInOrder", Words::settingsPickedInOrder, "Picked, read in this order"},
        {"settings.otherLanguages", Words::settingsOtherLanguages, "Others"},
        {"settings.noneChosen", Words::settingsNoneChosen, "None picked: the recognizer chooses."},
        {"update.checking", Words::updateChecking, "Checking for updates…"},
        {"update.upToDate", Words::updateUpToDate, "You're up to date"},
        {"update.upToDateDetail", [] { return Words::updateUpToDateDetail(app, "1.2"); }, "Glyphnab 1.2 is the newest version."},
        {"update.available", [] { return Words::updateAvailable(app, "1.3"); }, "Glyphnab 1.3 is available"},
        {"update.availableDetail", [] { return Words::updateAvailableDetail("1.2"); }, "You have version 1.2."},
        {"update.failed", Words::updateFailed, "Couldn't check for updates"},
        {"update.failedNetwork", [] { return Words::updateFailedNetwork("Connection refused"); }, "The update server couldn't be reached: Connection refused"},
        {"update.failedRefused", Words::updateFailedRefused, "The update feed moved to an address that isn't secure, so it wasn't read."},
        {"update.failedTooLarge", Words::updateFailedTooLarge, "The update feed is too large to read."},
        {"update.failedFeed", Words::updateFailedFeed, "The update feed couldn't be read."},
        {"update.failedNoVersion", Words::updateFailedNoVersion, "The update feed lists no version."},
        {"update.ok", Words::updateOk, "OK"},
    };
}

}  // namespace

TEST(WordsTable, EveryKeyHasItsEnglishDefault) {
    ZantrelKit::Localization::setLocale(QLocale(QStringLiteral("en_US")));
    for (const Entry& entry : entries())
        EXPECT_EQ(entry.accessor(), entry.english) << entry.key;
}

TEST(WordsTable, EveryAccessorReadsItsOwnKey) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QJsonObject table;
    for (const Entry& entry : entries())
        table.insert(QString::fromUtf8(entry.key), QStringLiteral("[%1]").arg(QString::fromUtf8(entry.key)));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("en.lproj")));
    QFile file(folder.filePath(QStringLiteral("en.lproj/Localizable.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(table).toJson());
    file.close();

    ZantrelKit::Localization::setLocale(QLocale(QStringLiteral("en_US")));
    const Words::TablesOverride tables(folder.path());
    for (const Entry& entry : entries())
        EXPECT_EQ(entry.accessor(), QStringLiteral("[%1]").arg(QString::fromUtf8(entry.key))) << entry.key;
}

TEST(WordsChoosers, NoticeTitleAndTheArticleRule) {
    using Kind = GlyphnabCore::Outcome::Kind;
    EXPECT_EQ(Words::noticeTitle(Kind::text(), 1), "Copied 1 character");
    EXPECT_EQ(Words::noticeTitle(Kind::text(), 0), "Copied 0 characters");
    EXPECT_EQ(Words::noticeTitle(Kind::text(), 2), "Copied 2 characters");
    EXPECT_EQ(Words::noticeTitle(Kind::code("QR code"), 9), "Copied a QR code");
    EXPECT_EQ(Words::noticeTitle(Kind::code("Micro QR code"), 9), "Copied a QR code");
    EXPECT_EQ(Words::noticeTitle(Kind::code("EAN-13"), 9), "Copied an EAN-13 barcode");
    EXPECT_EQ(Words::noticeTitle(Kind::nothing(), 0), "No text found");
    EXPECT_EQ(Words::codeCopied("Barcode"), "Copied a barcode");
    EXPECT_EQ(Words::codeCopied("Code 128"), "Copied a Code 128 barcode");
    EXPECT_EQ(Words::codeCopied("UPC-A"), "Copied a UPC-A barcode");
    EXPECT_EQ(Words::codeCopied("ITF"), "Copied an ITF barcode");
    EXPECT_EQ(Words::codeCopied("Aztec code"), "Copied an Aztec code");
    EXPECT_EQ(Words::codeCopied(""), "Copied a  barcode");
}

TEST(WordsChoosers, ModesPagesAndLinks) {
    EXPECT_EQ(Words::menuGrab(LineMode::join), Words::menuGrabJoin());
    EXPECT_EQ(Words::noticeMode(LineMode::keep), Words::noticeModeKeep());
    EXPECT_EQ(Words::noticeCopyOtherWay(LineMode::join), "Copy with Line Breaks");
    EXPECT_EQ(Words::noticeCopyOtherWay(LineMode::keep), "Copy Lines Joined");
    EXPECT_EQ(Words::shortcutTitle(true), Words::settingsShortcutJoin());
    EXPECT_EQ(Words::noticeReading(1), "Reading the text");
    EXPECT_EQ(Words::noticeReading(0), "Reading 0 pages");
    EXPECT_EQ(Words::noticeOpen(QUrl("https://wwwexample.com")), "Open wwwexample.com");
    EXPECT_EQ(Words::noticeOpen(QUrl("https://docs.www.example.com")), "Open docs.www.example.com");
    EXPECT_EQ(Words::noticeOpen(QUrl("mailto:someone@example.com")), "Open mailto:someone@example.com");
    EXPECT_EQ(Words::followMacDetail({}), Words::settingsFollowMacNone());
    EXPECT_EQ(Words::followMacDetail({"English", "German"}), "Reads English and German.");
}

TEST(WordsChoosers, LanguageNames) {
    const QLocale english(QStringLiteral("en"));
    EXPECT_EQ(Words::languageKey("zh-Hans", english), "Chinese (Simplified)");
    EXPECT_EQ(Words::languageKey("pt-BR", english), "Portuguese (Brazil)");
    EXPECT_EQ(Words::languageKey("en", english), "English");
    EXPECT_EQ(Words::languageKey("qqq", english), "qqq");
    EXPECT_EQ(Words::languageKey("123", english), "123");
}

TEST(WordsBundle, MissingBundleIsNoCandidate) {
    QTemporaryDir folder;
    EXPECT_FALSE(Words::locateBundle({folder.path(), QString()}));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QString::fromUtf16(Words::bundleName)));
    EXPECT_EQ(Words::locateBundle({QString(), folder.path()}),
              folder.path() + u'/' + QString::fromUtf16(Words::bundleName));
}
