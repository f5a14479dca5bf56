#pragma once

// Every text the app itself shows, one accessor per localization key with its English
// default. Texts are looked up anew on every call in the app's own string tables
// ("GlyphnabCore_GlyphnabCore.bundle" in the data folder) for the current text locale.

#include "GlyphnabCore/Outcome.h"
#include "ZantrelKit/Localization.h"
#include "text/LineMode.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <initializer_list>
#include <memory>
#include <optional>

namespace GlyphnabCore::Words {

inline constexpr char16_t bundleName[] = u"GlyphnabCore_GlyphnabCore.bundle";

// The first candidate folder that holds the app's bundle, or nothing.
std::optional<QString> locateBundle(const QStringList& candidates);

// The translation of the key, else the English default, with the arguments filled in.
QString lookup(const QString& key, const QString& englishDefault,
               std::initializer_list<ZantrelKit::TextArgument> arguments = {});

// Points the lookups at other tables while it lives; for tests of the keys themselves.
class TablesOverride {
public:
    explicit TablesOverride(const QString& folder);
    ~TablesOverride();
    TablesOverride(const TablesOverride&) = delete;
    TablesOverride& operator=(const TablesOverride&) = delete;

private:
    std::unique_ptr<ZantrelKit::StringTables> tables_;
    const ZantrelKit::StringTables* previous_ = nullptr;
};

// The desktop's screenshot key, named in the clipboard-route texts.
QString screenshotKey();

// Texts chosen by a value.
QString menuGrab(ZantrelText::LineMode mode);
QString noticeTitle(const Outcome::Kind& kind, qsizetype characters);
QString codeCopied(const QString& kindName);
QString noticeMode(ZantrelText::LineMode mode);
QString noticeReading(qsizetype pages);
QString noticePagesCut(int read, int total, int files, const QString& appName, int limit);
// "Open example.com": the link's host without a leading "www.", or the whole link.
QString noticeOpen(const QUrl& link);
// Names the other way than the mode the grab used.
QString noticeCopyOtherWay(ZantrelText::LineMode mode);
QString shortcutTitle(bool joined);
QString followMacDetail(const QStringList& languageNames);
QString languagesPicked(qsizetype picked, qsizetype total);
// The name of a recognition language in the display locale: the script form for Chinese
// and Cantonese, the region form for other regional identifiers, else the plain name;
// the identifier itself when it cannot be named.
QString languageKey(const QString& identifier, const QLocale& displayLocale);

// Status menu and icon.
QString menuGrabJoin();
QString menuGrabKeep();
QString menuGrabAgain();
QString menuFromClipboard();
QString menuFromFile();
QString menuDropHint();
// The file dialog of "Text from File…": its title and the name of its one filter.
QString fromFileTitle();
QString fromFileTypes();
// The line under a grab item whose keys another program holds.
QString menuShortcutRefused(const QString& shortcut);
QString menuRecent();
QString menuRecentEmpty();
QString menuRecentOff();
QString menuRecentHint();
QString menuClearRecent();
QString menuSettings();
QString menuQuit(const QString& appName);
QString menuIconTip(const QString& appName);

// Area pick.
QString pickHint();

// Notice.
QString noticeTable(qsizetype rows, qsizetype columns);
QString noticeQr();
QString noticeCodes(qsizetype count);
QString noticeCopiedOne();
QString noticeCopied(qsizetype count);
QString noticeNothing();
QString noticeBarcodePlain();
QString noticeCodeAn(const QString& kindName);
QString noticeCode(const QString& kindName);
QString noticeBarcodeAn(const QString& kindName);
QString noticeBarcode(const QString& kindName);
QString noticeModeJoin();
QString noticeModeKeep();
QString noticeReadingOne();
QString noticeTableDetail();
QString noticeNothingDetail();
QString noticeNothingFile();
QString noticeNothingFileDetail();
QString noticeNothingClipboard();
QString noticeNothingClipboardDetail();
QString noticeGrabAgain();
QString noticeCopyText();
QString noticeCopyKept();
QString noticeCopyJoined();
QString noticeClose();

// Errors, as title and detail.
QString errorCapture();
QString errorCaptureDetail();
QString errorCaptureRefused();
QString errorCaptureUnanswered();
QString errorCaptureUnsaved();
QString errorRead();
QString errorReadDetail();
QString errorClipboard();
QString errorClipboardDetail();
QString errorFile();
QString errorFileDetail();
QString errorBusy(const QString& appName);
QString errorNotReady(const QString& appName);
QString errorStopped();
QString errorNothingPicked();
QString errorNoCode();

// Screen Recording grant.
QString grantTitle();
QString grantDetail(const QString& appName);
QString grantOpenSettings();
QString grantAllow();
QString grantClipboardInstead();
QString grantNotNow();
QString grantOn();
QString grantWaiting();
QString grantRelaunch();
QString grantReopen(const QString& appName);
QString grantQuitReopen();

// Onboarding.
QString welcomeTitle();
QString welcomeBody();
QString welcomeLocal();
QString welcomeLines();
QString welcomeTables();
QString welcomeCodes();
QString welcomeLiveText(const QString& appName);
QString routeTitle();
QString routeBody();
QString routeScreen();
QString routeScreenDetail(const QString& appName);
QString routeScreenDetailDesk();
QString routeClipboard();
QString routeClipboardDetail();
QString keysTitle();
QString keysBody();
QString keysBodyNoGlobalKeys();
QString keysBodyDesk();
QString keysTryItCommand();
QString keysTryIt(const QString& shortcut);
QString keysTryItNoGrant(const QString& shortcut);
QString keysTryItClipboard(const QString& shortcut);
// The try-it line while another program holds the grab shortcut, and its button.
QString keysTryItRefused(const QString& shortcut);
QString keysChangeShortcut();
QString keysMenuBar(const QString& appName);
QString keysNoTray(const QString& appName);
QString onboardingNext();
QString onboardingBack();
QString onboardingDone();

// Settings window and About tab.
QString appAbout(const QString& appName);
QString settingsTabShortcuts();
QString settingsTabLanguages();
QString settingsLineBreaks();
QString settingsKeepLines();
QString settingsJoinLines();
QString settingsLineBreaksDetail();
QString settingsGrabFrom();
QString settingsFromScreen();
QString settingsFromClipboardPicture();
QString settingsKeepRecents();
QString settingsKeepRecentsDetail();
QString settingsShowIcon();
QString settingsShowIconDetail(const QString& appName);
QString settingsShortcutJoin();
QString settingsShortcutKeep();
QString settingsShortcutsDetail();
QString settingsShortcutRefused();
// Global keys the desktop cannot register for any app, and the desktop's own keys instead.
QString settingsShortcutNoKey();
QString settingsShortcutsDetailDesk();
QString settingsShortcutNoGlobalKeys();
QString settingsShortcutDeskTrigger(const QString& trigger);
QString settingsShortcutDeskUnset();
QString settingsCopyCommand();
QString grantTitleUnavailable();
QString grantPortalOn();
// On X11 any app may read the screen: there is no permission to have.
QString grantX11On();
QString routeScreenDetailX11();
QString grantDetailUnavailable(const QString& reason);
QString settingsResetShortcuts();
QString settingsFollowMac();
QString settingsFollowMacNone();
QString settingsDetectLanguage();
QString settingsLanguagesDetail();
// The same while the system's languages are followed and no list is shown to pick from.
QString settingsLanguagesDetailFollowing();
QString settingsSearchLanguages();
QString settingsUseMacs();
QString settingsClearLanguages();
QString settingsPickedInOrder();
QString settingsOtherLanguages();
QString settingsNoneChosen();

// Update check.
QString updateChecking();
QString updateUpToDate();
QString updateUpToDateDetail(const QString& appName, const QString& version);
QString updateAvailable(const QString& appName, const QString& version);
QString updateAvailableDetail(const QString& installed);
QString updateFailed();
QString updateFailedNetwork(const QString& reason);
QString updateFailedRefused();
QString updateFailedTooLarge();
QString updateFailedFeed();
QString updateFailedNoVersion();
QString updateOk();

}  // namespace GlyphnabCore::Words
