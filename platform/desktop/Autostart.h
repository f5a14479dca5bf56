#pragma once

// Opening at login on a freedesktop desktop: an entry "<id>.desktop" in the user's
// autostart folder, which the session starts at login.

#include <QString>

#include <expected>

namespace Platform::Autostart {

struct Entry {
    QString name;
    QString program;  // the executable's path
    QString comment;
    QString icon;  // an icon name of the desktop's theme, or a file
};

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when the variable is unset or relative.
QString userFolder();

QString entryPath(const QString& folder, const QString& id);

// The entry exists and neither hides itself ("Hidden=true") nor is switched off
// ("X-GNOME-Autostart-enabled=false").
bool isEnabled(const QString& folder, const QString& id);

// Writes the entry whole (never half a file); the folder is made when missing.
std::expected<void, QString> enable(const QString& folder, const QString& id, const Entry& entry);
// Removes the entry; an entry that is not there is no failure.
std::expected<void, QString> disable(const QString& folder, const QString& id);

// A program path as the Exec key wants it: quoted and escaped when it holds a reserved
// character, "%" doubled.
QString execValue(const QString& program);

}  // namespace Platform::Autostart
