#include "text/LanguageMatch.h"

#include <QLocale>

#include <algorithm>

namespace ZantrelText::LanguageMatch {

namespace {

bool isAlpha(const QString& subtag) {
    return !subtag.isEmpty() && std::all_of(subtag.begin(), subtag.end(), [](QChar c) { return c.isLetter() && c.unicode() < 128; });
}

bool isDigits(const QString& subtag) {
    return !subtag.isEmpty() && std::all_of(subtag.begin(), subtag.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
}

Language parsed(const QString& identifier) {
    Language language;
    const QStringList subtags = QString(identifier).replace(QLatin1Char('_'), QLatin1Char('-')).split(QLatin1Char('-'));
    if (subtags.isEmpty())
        return language;
    const QString first = subtags.front();
    if (isAlpha(first) && first.size() >= 2 && first.size() <= 3 && first.compare(u"und", Qt::CaseInsensitive) != 0)
        language.languageCode = first.toLower();
    for (qsizetype i = 1; i < subtags.size(); ++i) {
        const QString& subtag = subtags[i];
        if (subtag.size() == 1)
            break;  // extensions and private use follow
        if (!language.script && !language.region && subtag.size() == 4 && isAlpha(subtag))
            language.script = subtag.left(1).toUpper() + subtag.mid(1).toLower();
        else if (!language.region && ((subtag.size() == 2 && isAlpha(subtag)) || (subtag.size() == 3 && isDigits(subtag))))
            language.region = subtag.toUpper();
    }
    return language;
}

}  // namespace

QString Language::identifier() const {
    QStringList subtags;
    for (const auto& subtag : {languageCode, script, region})
        if (subtag)
            subtags.append(*subtag);
    return subtags.join(QLatin1Char('-'));
}

Language maximized(const QString& identifier) {
    Language language = parsed(identifier);
    if (!language.languageCode)
        return language;
    const QLocale::Language code = QLocale::codeToLanguage(*language.languageCode);
    if (code == QLocale::AnyLanguage || code == QLocale::C)
        return language;
    const QLocale::Script script = language.script ? QLocale::codeToScript(*language.script) : QLocale::AnyScript;
    const QLocale::Territory territory =
        language.region ? QLocale::codeToTerritory(*language.region) : QLocale::AnyTerritory;
    const QLocale likely(code, script, territory);
    if (likely.language() != code)
        return language;
    language.languageCode = QLocale::languageToCode(code);
    if (!language.script && likely.script() != QLocale::AnyScript)
        language.script = QLocale::scriptToCode(likely.script());
    const bool sameScript = !language.script || likely.script() == QLocale::codeToScript(*language.script);
    if (!language.region && sameScript && likely.territory() != QLocale::AnyTerritory)
        language.region = QLocale::territoryToCode(likely.territory());
    return language;
}

bool matches(const QString& supported, const Language& preferred) {
    const Language candidate = maximized(supported);
    if (candidate.languageCode != preferred.languageCode || candidate.script != preferred.script)
        return false;
    return !preferred.region || candidate.region == preferred.region;
}

QStringList match(const QStringList& preferred, const QStringList& supported) {
    QStringList result;
    if (supported.isEmpty())
        return result;
    for (const QString& identifier : preferred) {
        const Language wanted = maximized(identifier);
        const QString* found = nullptr;
        for (const QString& candidate : supported)
            if (matches(candidate, wanted)) {
                found = &candidate;
                break;
            }
        if (found == nullptr) {
            for (const QString& candidate : supported) {
                const Language language = maximized(candidate);
                if (language.languageCode == wanted.languageCode && language.script == wanted.script) {
                    found = &candidate;
                    break;
                }
            }
        }
        if (found != nullptr && !result.contains(*found))
            result.append(*found);
    }
    return result;
}

}  // namespace ZantrelText::LanguageMatch
