#pragma once

// The app's settings tabs and the selected one, kept in memory for the life of the
// process (the app does not store its tab choice).

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

namespace Glyphnab {

enum class SettingsTab : std::uint8_t { general, shortcuts, languages, about };

inline constexpr std::array<SettingsTab, 4> allSettingsTabs{SettingsTab::general, SettingsTab::shortcuts,
                                                            SettingsTab::languages, SettingsTab::about};

QString settingsTabTitle(SettingsTab tab);

class SettingsSelection final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    SettingsTab tab() const { return tab_; }
    void setTab(SettingsTab tab)
    {
        if (tab == tab_)
            return;
        tab_ = tab;
        Q_EMIT tabChanged(tab);
    }

Q_SIGNALS:
    void tabChanged(Glyphnab::SettingsTab tab);

private:
    SettingsTab tab_ = SettingsTab::general;
};

}  // namespace Glyphnab
