#pragma once

// Maps the user's preferred languages onto the languages the recognizer knows.

#include <QString>
#include <QStringList>

#include <optional>

namespace ZantrelText::LanguageMatch {

// A BCP 47 identifier taken apart; each subtag may be absent.
struct Language {
    std::optional<QString> languageCode;
    std::optional<QString> script;
    std::optional<QString> region;

    // "en-Latn-US"; the subtags present, joined with "-".
    QString identifier() const;
    friend bool operator==(const Language&, const Language&) = default;
};

// The identifier with its likely script and region added ("en" → en-Latn-US, "zh-Hant"
// → zh-Hant-TW); a language unknown to the locale data keeps only the subtags it names.
Language maximized(const QString& identifier);

// The supported identifier, maximized, has the preferred language's code and script,
// and its region when the preferred language names one.
bool matches(const QString& supported, const Language& preferred);

// For each preference in order, the first supported identifier that matches it, else
// the first with the same language and script; each at most once, spelled as in
// `supported`.
QStringList match(const QStringList& preferred, const QStringList& supported);

}  // namespace ZantrelText::LanguageMatch
