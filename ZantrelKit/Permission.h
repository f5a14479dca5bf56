#pragma once

// The privacy permissions the family's apps may need, as plain values, and the buttons a
// permission prompt offers.

#include <QList>
#include <QString>
#include <QStringList>

namespace ZantrelKit {

struct Permission {
    QString id;        // stable; part of the "grant.<id>.seen" defaults key
    QStringList pane;  // the path through the desktop's settings to the switch

    static const Permission& screenRecording();
    // Built once; this system has no macOS version, so it takes the long-standing name.
    static const Permission& accessibility();
    static Permission accessibility(int osMajorVersion);
    static const Permission& fullDiskAccess();
    static const Permission& microphone();
    static const Permission& camera();
    static const Permission& inputMonitoring();

    // The pane path joined with " > ".
    QString breadcrumb() const;

    friend bool operator==(const Permission&, const Permission&) = default;
};

enum class GrantButton {
    openSettings,   // open the settings page
    quitAndReopen,  // restart so that a new grant applies
};

namespace GrantButtons {
// Granted: quit and reopen; not granted: quit and reopen, then open the settings.
QList<GrantButton> buttons(bool granted);
}  // namespace GrantButtons

}  // namespace ZantrelKit
