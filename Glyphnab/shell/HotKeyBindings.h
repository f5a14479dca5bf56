#pragma once

// The global shortcuts of the two grab commands, kept equal to the preferences: registered
// at once and again whenever the stored shortcuts change, each press starting the grab of
// its command. Shortcuts that would take a plain key from every program are not
// registered; those the desktop refuses are published for the settings to show.

#include "GlyphnabCore/Command.h"
#include "GlyphnabCore/Preferences.h"
#include "platform/log/Log.h"

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

namespace ZantrelUI {
class HotKeys;
}

namespace Glyphnab {

class GlyphnabModel;

class HotKeyBindings final : public QObject {
    Q_OBJECT
public:
    HotKeyBindings(GlyphnabModel& model, ZantrelUI::HotKeys& hotKeys, QObject* parent = nullptr);
    // Takes the bindings away again: their handler points at this object.
    ~HotKeyBindings() override;

    // The bindings a shortcut table gives: "grab" and "grabOther" for the commands that
    // have an allowed shortcut.
    static QMap<QString, ZantrelKit::Shortcut> bindings(const GlyphnabCore::Preferences::ShortcutTable& table);

    // The commands whose shortcut another program holds, at the last registration.
    const QSet<GlyphnabCore::Command>& refused() const { return refused_; }
    // The commands whose shortcut the desktop cannot register for any app (no global keys
    // for apps, or no key for the code): nobody else is to blame for those.
    const QSet<GlyphnabCore::Command>& unavailable() const { return unavailable_; }
    ZantrelUI::HotKeys& hotKeys() const { return hotKeys_; }

    // Registers the preferences' shortcuts now, whatever was registered before.
    void registerHotKeys();

Q_SIGNALS:
    // The refused or unavailable commands changed, or the triggers the desktop reports.
    void refusedChanged();

private:
    void preferencesChanged();
    void setRefused(const QSet<QString>& names);
    void pressed(const QString& name);

    GlyphnabModel& model_;
    ZantrelUI::HotKeys& hotKeys_;
    Platform::Logger log_;
    GlyphnabCore::Preferences::ShortcutTable registered_;
    QSet<GlyphnabCore::Command> refused_;
    QSet<GlyphnabCore::Command> unavailable_;
};

}  // namespace Glyphnab
