#include "GlyphnabCore/Preferences.h"

#include "text/LanguageMatch.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <exception>
#include <optional>

namespace GlyphnabCore {
namespace {

using ZantrelKit::Shortcut;
using ZantrelText::LineMode;

namespace Key {
const QString lineMode = QStringLiteral("lineMode");
const QString route = QStringLiteral("route");
const QString followSystemLanguages = QStringLiteral("followSystemLanguages");
const QString languages = QStringLiteral("languages");
const QString detectLanguage = QStringLiteral("detectLanguage");
const QString showIcon = QStringLiteral("showIcon");
const QString keepRecents = QStringLiteral("keepRecents");
const QString shortcuts = QStringLiteral("shortcuts");
const QString onboarded = QStringLiteral("onboarded");
}  // namespace Key

std::optional<bool> boolAt(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return value.isBool() ? std::optional(value.toBool()) : std::nullopt;
}

std::optional<QString> stringAt(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

std::optional<QStringList> stringsAt(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (!value.isArray())
        return std::nullopt;
    QStringList strings;
    for (const QJsonValue element : value.toArray()) {
        if (!element.isString())
            return std::nullopt;
        strings.append(element.toString());
    }
    return strings;
}

// The table as a whole: one unknown command or one bad shortcut and none of it counts.
std::optional<Preferences::ShortcutTable> shortcutsAt(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject table = value.toObject();
    Preferences::ShortcutTable shortcuts;
    for (auto it = table.begin(); it != table.end(); ++it) {
        const std::optional<Command> command = commandFromRawValue(it.key());
        if (!command)
            return std::nullopt;
        try {
            shortcuts.emplace(*command, Shortcut::fromJson(it.value()));
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return shortcuts;
}

// The INI store keeps its values in memory too, so reading back cannot tell whether the
// file was written; the file itself can.
std::optional<QString> unwritableFile(const ZantrelKit::DefaultsStore& store) {
    const auto* settings = dynamic_cast<const ZantrelKit::SettingsDefaultsStore*>(&store);
    if (!settings)
        return std::nullopt;
    const QFileInfo file(settings->fileName());
    if (!file.exists() || !file.isWritable())
        return settings->fileName();
    return std::nullopt;
}

// What is stored under the key, as bytes or, hand-edited, as text.
std::optional<QByteArray> storedDocument(const ZantrelKit::DefaultsStore& store, const QString& key) {
    if (std::optional<QByteArray> data = store.bytes(key))
        return data;
    if (const std::optional<QString> text = store.string(key))
        return text->toUtf8();
    return std::nullopt;
}

}  // namespace

const Preferences::ShortcutTable& Preferences::defaultShortcuts() {
    static const ShortcutTable table{
        {Command::grab, Shortcut{17, Shortcut::Modifiers(13)}},
        {Command::grabOther, Shortcut{38, Shortcut::Modifiers(13)}},
    };
    return table;
}

QJsonObject Preferences::toJson() const {
    QJsonObject table;
    for (const auto& [command, shortcut] : shortcuts)
        table.insert(rawValue(command), shortcut.toJson());
    return QJsonObject{
        {Key::lineMode, ZantrelText::rawValue(lineMode)},
        {Key::route, rawValue(route)},
        {Key::followSystemLanguages, followSystemLanguages},
        {Key::languages, QJsonArray::fromStringList(languages)},
        {Key::detectLanguage, detectLanguage},
        {Key::showIcon, showIcon},
        {Key::keepRecents, keepRecents},
        {Key::shortcuts, table},
        {Key::onboarded, onboarded},
    };
}

Preferences Preferences::fromJson(const QJsonObject& object) {
    Preferences preferences;
    if (const auto text = stringAt(object, Key::lineMode))
        preferences.lineMode = ZantrelText::lineModeFromRawValue(*text).value_or(preferences.lineMode);
    if (const auto text = stringAt(object, Key::route))
        preferences.route = routeFromRawValue(*text).value_or(preferences.route);
    preferences.followSystemLanguages =
        boolAt(object, Key::followSystemLanguages).value_or(preferences.followSystemLanguages);
    preferences.languages = stringsAt(object, Key::languages).value_or(preferences.languages);
    preferences.detectLanguage = boolAt(object, Key::detectLanguage).value_or(preferences.detectLanguage);
    preferences.showIcon = boolAt(object, Key::showIcon).value_or(preferences.showIcon);
    preferences.keepRecents = boolAt(object, Key::keepRecents).value_or(preferences.keepRecents);
    if (auto table = shortcutsAt(object, Key::shortcuts))
        preferences.shortcuts = std::move(*table);
    preferences.onboarded = boolAt(object, Key::onboarded).value_or(preferences.onboarded);
    return preferences;
}

Preferences Preferences::decode(const QByteArray& data) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Preferences();
    return fromJson(document.object());
}

Preferences Preferences::load(const ZantrelKit::DefaultsStore& store) {
    if (const std::optional<QByteArray> data = store.bytes(defaultsKey))
        return decode(*data);
    // A hand-edited settings file holds the document as text.
    if (const std::optional<QString> text = store.string(defaultsKey))
        return decode(text->toUtf8());
    return Preferences();
}

std::optional<QString> Preferences::keepUnreadable(ZantrelKit::DefaultsStore& store, const QDateTime& now) {
    const std::optional<QByteArray> stored = storedDocument(store, defaultsKey);
    if (!stored || stored->trimmed().isEmpty())
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(*stored, &error);
    // Read whole: every stored key was used as it stands; a missing key loses nothing.
    if (error.error == QJsonParseError::NoError && document.isObject()) {
        const QJsonObject object = document.object();
        const QJsonObject used = fromJson(object).toJson();
        if (std::ranges::all_of(object.keys(), [&](const QString& key) { return used.value(key) == object.value(key); }))
            return std::nullopt;
    }
    const QString base = defaultsKey + QStringLiteral(".unreadable-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString key = base;
    for (int attempt = 2; store.contains(key); ++attempt)
        key = base + u'-' + QString::number(attempt);
    store.setBytes(key, *stored);
    return key;
}

std::expected<void, PreferencesSaveFailure> Preferences::save(ZantrelKit::DefaultsStore& store) const {
    const QByteArray data = QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
    if (data.isEmpty())
        return std::unexpected(PreferencesSaveFailure{QStringLiteral("the preferences could not be encoded")});
    // What the user stored and this app could not take whole is kept, not replaced.
    keepUnreadable(store, QDateTime::currentDateTime());
    store.setBytes(defaultsKey, data);
    if (store.bytes(defaultsKey) != data)
        return std::unexpected(PreferencesSaveFailure{QStringLiteral("the defaults store did not keep the value")});
    if (const std::optional<QString> file = unwritableFile(store))
        return std::unexpected(PreferencesSaveFailure{QStringLiteral("cannot write %1").arg(*file)});
    return {};
}

QStringList Preferences::recognitionLanguages(const QStringList& preferred, const QStringList& supported) const {
    if (followSystemLanguages)
        return ZantrelText::LanguageMatch::match(preferred, supported);
    QStringList result;
    for (const QString& language : languages)
        if (supported.contains(language))
            result.append(language);
    return result;
}

}  // namespace GlyphnabCore
