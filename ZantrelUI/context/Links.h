#pragma once

// The addresses the family's apps open: the support mail and the settings pages where the
// user grants permissions. Settings pages keep the family's own addresses (the stored
// and compared form); opening one shows the matching page of the desktop's settings.

#include "ZantrelKit/OwnerConfig.h"
#include "platform/desktop/SettingsApp.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace ZantrelUI::Links {

const QUrl& accessibilityPane();
const QUrl& screenRecordingPane();
const QUrl& microphonePane();
const QUrl& cameraPane();
const QUrl& inputMonitoringPane();
const QUrl& fullDiskAccessPane();
// The notifications page of one app: the fixed address followed by the bundle id as given.
QUrl notificationsPane(const QString& bundleId);
// The settings address that stands for the privacy page as a whole.
QUrl privacyPane();

// "mailto:<ZNSupportEmail>?subject=<product> support"; nothing when the address is not
// configured.
std::optional<QUrl> supportMail(const ZantrelKit::OwnerConfig& config);

// Opens the address; nothing when absent. Under the test host it stops the process.
void open(const std::optional<QUrl>& url);

// The desktop settings page of a settings address; nothing for any other address.
std::optional<Platform::SettingsApp::Page> settingsPage(const QUrl& url);

// Opens an address on this desktop: a settings address in the desktop's settings program,
// any other with the desktop's handler for its scheme. False (and logged) when nothing
// could be opened.
bool openOnDesktop(const QUrl& url);

}  // namespace ZantrelUI::Links
