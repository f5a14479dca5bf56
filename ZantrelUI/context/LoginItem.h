#pragma once

// Opening at login: an XDG autostart entry "<bundle id>.desktop" in the user's autostart
// folder. Helpers are login items of their own, by identifier, copied from their installed
// desktop entry.

#include <QString>

#include <stdexcept>

namespace ZantrelUI::LoginItem {

enum class Status { on, off, needsApproval };

// A login item could not be changed; the text says why.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `needsApproval` is never the answer here: the desktop asks nobody.
Status status(const QString& bundleId);
// The name the autostart entry shows: the running app's product name.
QString entryName();
// In a given autostart folder.
Status status(const QString& folder, const QString& bundleId);

// Writes or removes the app's entry (this program, named after the application). Throws
// Failure; under the test host it stops the process.
void setOpenAtLogin(bool on, const QString& bundleId);
// The same in a given folder, for a given program.
void setOpenAtLogin(bool on, const QString& folder, const QString& bundleId, const QString& name,
                    const QString& program);

// Shows where the desktop lists what starts at login: KDE's Autostart settings, GNOME
// Tweaks, else the autostart folder in the file manager.
void openSettings();

bool isHelperEnabled(const QString& id);
// Throws Failure (also when no desktop entry of that helper is installed); under the test
// host it stops the process.
void setHelper(const QString& id, bool on);

}  // namespace ZantrelUI::LoginItem
