#pragma once

// Localized texts: every text is read through a key with an English default, from a
// folder of per-language string tables. A folder holds "<language>.lproj/Localizable.json",
// a flat JSON object from key to text; a missing table or entry gives the English default.
// Texts take their arguments as "%@" (text) and "%lld" (integer), in argument order, or
// by position ("%2$@", "%1$lld"); "%%" is a percent sign.

#include <QLocale>
#include <QString>
#include <QStringList>

#include <concepts>
#include <initializer_list>
#include <memory>
#include <variant>

namespace ZantrelKit {

// One argument of a localized text.
class TextArgument {
public:
    TextArgument(const QString& text) : value_(text) {}
    TextArgument(const char16_t* text) : value_(QString::fromUtf16(text)) {}
    template <std::integral Number>
        requires(!std::same_as<Number, bool>)
    TextArgument(Number number) : value_(static_cast<qint64>(number)) {}

    // The argument as it reads in a text; integers in plain digits.
    QString text() const;

private:
    std::variant<QString, qint64> value_;
};

// Fills the arguments into a pattern. An argument of the other kind than its specifier
// asks for is written as text all the same; a specifier without an argument stays as it
// stands, so a faulty translation shows up instead of crashing.
QString fillArguments(const QString& pattern, std::initializer_list<TextArgument> arguments);

// The table folder names tried for a locale, most specific first ("pt-BR", "pt_BR", "pt").
QStringList tableLanguages(const QLocale& locale);

// A folder of per-language tables. Tables are read on first use per language and kept;
// a table that cannot be read or parsed counts as empty (and is logged once).
class StringTables {
public:
    explicit StringTables(QString folder);
    ~StringTables();
    StringTables(const StringTables&) = delete;
    StringTables& operator=(const StringTables&) = delete;

    const QString& folder() const { return folder_; }

    // The translation of the key in the locale's language, or the English default.
    QString lookup(const QString& key, const QString& englishDefault, const QLocale& locale) const;

    // Looks the key up in the current text locale and fills in the arguments.
    QString text(const QString& key, const QString& englishDefault,
                 std::initializer_list<TextArgument> arguments = {}) const;

private:
    struct Cache;
    QString folder_;
    std::unique_ptr<Cache> cache_;
};

namespace Localization {
// The language of the texts: the desktop's language until the app sets one.
QLocale locale();
void setLocale(const QLocale& locale);
void resetLocale();
}  // namespace Localization

// The kit's own tables, in the kit's resource bundle.
const StringTables& kitStrings();

// A kit text in the current text locale.
inline QString kitText(const QString& key, const QString& englishDefault,
                       std::initializer_list<TextArgument> arguments = {}) {
    return kitStrings().text(key, englishDefault, arguments);
}

}  // namespace ZantrelKit
