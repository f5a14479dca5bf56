#pragma once

// Showing a page of the desktop's own settings program: GNOME's Settings
// (gnome-control-center) and KDE's System Settings (systemsettings), whichever the session
// has.

#include <QString>
#include <QStringList>

#include <vector>

namespace Platform::SettingsApp {

// A page as each settings program names it; an empty name opens the program's start page.
struct Page {
    QString gnomePanel;
    QString kdeModule;
};

struct Launch {
    QString program;
    QStringList arguments;

    friend bool operator==(const Launch&, const Launch&) = default;
};

// The programs to try, best first: the current desktop's own (from XDG_CURRENT_DESKTOP's
// value, e.g. "ubuntu:GNOME" or "KDE"), then the others.
std::vector<Launch> launches(const Page& page, const QString& currentDesktop);

// Starts the first program of the list that is installed; false when none could start.
bool startFirst(const std::vector<Launch>& candidates);

}  // namespace Platform::SettingsApp
