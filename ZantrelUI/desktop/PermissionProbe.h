#pragma once

// Whether a permission is granted now, the settings address of its page, and the request
// that asks where it can and then opens that page. Screen capture is allowed when the
// session's screen service can read the screen (the root window on X11, the portal's
// Screenshot on Wayland); accessibility needs no trust.

#include "ZantrelKit/Permission.h"

#include <QUrl>

namespace ZantrelUI::PermissionProbe {

// Read fresh on every call, from any thread. Matched by id: Accessibility, then Screen
// Recording, then Full Disk Access; any other permission is not granted.
bool isGranted(const ZantrelKit::Permission& permission);
// The same for GUI-thread callers; it checks that it runs there.
bool isGrantedOnMain(const ZantrelKit::Permission& permission);

// The permission's page among the settings addresses (Links); the privacy page for a
// permission of another id.
QUrl settingsURL(const ZantrelKit::Permission& permission);

// Hands the settings address to `calls.open` (the platform-operations value, or any with
// an `open(QUrl)`). A live run would ask the system first, but there is no prompt to
// ask ahead for either permission: every client is trusted with input, and the screen is
// readable or not (a portal asks when the picture is taken). So no value, live, recording or scripted, sees more than the one address.
template <class Calls>
void requestAndOpen(const ZantrelKit::Permission& permission, const Calls& calls) {
    calls.open(settingsURL(permission));
}

}  // namespace ZantrelUI::PermissionProbe
