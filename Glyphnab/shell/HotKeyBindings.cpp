#include "Glyphnab/shell/HotKeyBindings.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "platform/async/MainThread.h"

#include <QPointer>

namespace Glyphnab {

using GlyphnabCore::Command;

HotKeyBindings::HotKeyBindings(GlyphnabModel& model, ZantrelUI::HotKeys& hotKeys, QObject* parent)
    : QObject(parent), model_(model), hotKeys_(hotKeys), log_(QStringLiteral("hotkeys")) {
    // The hot keys also register again on their own, when a recording hold ends.
    hotKeys_.setOnRefused([self = QPointer<HotKeyBindings>(this)](const QSet<QString>& names) {
        if (self)
            self->setRefused(names);
    });
    hotKeys_.setOnChanged([self = QPointer<HotKeyBindings>(this)] {
        if (self)
            Q_EMIT self->refusedChanged();
    });
    connect(&model_, &GlyphnabModel::changed, this, &HotKeyBindings::preferencesChanged);
    registerHotKeys();
}

HotKeyBindings::~HotKeyBindings() {
    hotKeys_.setOnRefused({});
    hotKeys_.setOnChanged({});
    hotKeys_.set({}, {});
}

QMap<QString, ZantrelKit::Shortcut> HotKeyBindings::bindings(const GlyphnabCore::Preferences::ShortcutTable& table) {
    QMap<QString, ZantrelKit::Shortcut> bindings;
    for (const Command command : GlyphnabCore::allCommands) {
        const auto it = table.find(command);
        if (it != table.end() && it->second.isAllowed())
            bindings.insert(GlyphnabCore::rawValue(command), it->second);
    }
    return bindings;
}

void HotKeyBindings::registerHotKeys() {
    Platform::assertMain();
    registered_ = model_.prefs().shortcuts;
    for (const auto& [command, shortcut] : registered_)
        if (!shortcut.isAllowed())
            // Without Control, Alt or Super the key would stop typing in every program.
            log_.error(u"hot key not allowed: %{public}s", GlyphnabCore::rawValue(command));
    const QSet<QString> refused =
        hotKeys_.set(bindings(registered_), [self = QPointer<HotKeyBindings>(this)](const QString& name) {
            if (self)
                self->pressed(name);
        });
    // While a recording holds the keys nothing is tried; the hold's end reports through
    // the refused handler.
    if (!hotKeys_.isHeld())
        setRefused(refused);
}

void HotKeyBindings::preferencesChanged() {
    if (model_.prefs().shortcuts != registered_)
        registerHotKeys();
}

void HotKeyBindings::setRefused(const QSet<QString>& names) {
    QSet<Command> refused;
    QSet<Command> unavailable;
    for (const QString& name : names) {
        const auto command = GlyphnabCore::commandFromRawValue(name);
        if (!command)
            continue;
        if (hotKeys_.unavailable().contains(name))
            unavailable.insert(*command);
        else
            refused.insert(*command);
    }
    if (refused == refused_ && unavailable == unavailable_)
        return;
    refused_ = refused;
    unavailable_ = unavailable;
    Q_EMIT refusedChanged();
}

void HotKeyBindings::pressed(const QString& name) {
    Platform::assertMain();
    const auto command = GlyphnabCore::commandFromRawValue(name);
    if (!command)
        return;
    model_.startGrab(*command == Command::grabOther);
}

}  // namespace Glyphnab
