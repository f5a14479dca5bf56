#pragma once

// The user's settings as one value, stored as one JSON document under the defaults key
// "preferences". Each key is read on its own: a bad or missing one keeps its default
// and never costs the others.

#include "GlyphnabCore/Command.h"
#include "GlyphnabCore/Route.h"
#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelKit/Shortcut.h"
#include "text/LineMode.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <expected>
#include <map>
#include <optional>

namespace GlyphnabCore {

// A save that did not reach the store.
struct PreferencesSaveFailure {
    QString reason;
    friend bool operator==(const PreferencesSaveFailure&, const PreferencesSaveFailure&) = default;
};

struct Preferences {
    using ShortcutTable = std::map<Command, ZantrelKit::Shortcut>;

    static inline const QString defaultsKey = QStringLiteral("preferences");

    ZantrelText::LineMode lineMode = ZantrelText::LineMode::keep;  // of `grab`; `grabOther` uses the other
    Route route = Route::screen;
    // Recognize in the system's preferred languages rather than in `languages`.
    bool followSystemLanguages = true;
    QStringList languages;
    bool detectLanguage = true;
    bool showIcon = true;
    bool keepRecents = true;
    // A command without an entry has no shortcut.
    ShortcutTable shortcuts = defaultShortcuts();
    bool onboarded = false;

    // T and J with Control, Shift and Command (Super), built once.
    static const ShortcutTable& defaultShortcuts();

    // The stored value, or the defaults when nothing usable is stored.
    static Preferences load(const ZantrelKit::DefaultsStore& store);
    // Writes all nine keys under "preferences"; a failure leaves the earlier document in
    // place and is reported. A stored document that loading could not take whole is
    // first kept under a key of its own.
    std::expected<void, PreferencesSaveFailure> save(ZantrelKit::DefaultsStore& store) const;
    // Copies a stored document that is broken, or holds keys or values that fall back to
    // defaults, to "preferences.unreadable-<time>"; the key it went to, if it was copied.
    static std::optional<QString> keepUnreadable(ZantrelKit::DefaultsStore& store, const QDateTime& now);

    QJsonObject toJson() const;
    // Never fails: anything unusable falls back to defaults key by key.
    static Preferences decode(const QByteArray& data);
    static Preferences fromJson(const QJsonObject& object);

    // The languages to recognize in: the system's preferences matched to the supported
    // ones, or the picked ones the recognizer supports, in their picked order.
    QStringList recognitionLanguages(const QStringList& preferred, const QStringList& supported) const;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

}  // namespace GlyphnabCore
