#include "text/Languages.h"

#include "platform/recognition/TesseractLanguages.h"
#include "text/LanguageMatch.h"

#include <QLocale>

namespace ZantrelText::TextReader {

std::optional<QString> languageOfModel(const QString& traineddata) {
    // Models named after a script or an old form of a language have no language tag of
    // their own; the two Chinese models differ by script.
    if (traineddata == u"chi_sim")
        return QStringLiteral("zh-Hans");
    if (traineddata == u"chi_tra")
        return QStringLiteral("zh-Hant");
    if (traineddata == u"srp_latn")
        return QStringLiteral("sr-Latn");
    if (traineddata == u"uzb_cyrl")
        return QStringLiteral("uz-Cyrl");
    if (traineddata.isEmpty() || traineddata.contains(QLatin1Char('_')) || traineddata.contains(QLatin1Char('/')))
        return std::nullopt;
    for (int code = QLocale::AnyLanguage + 1; code <= QLocale::LastLanguage; ++code) {
        const QString tag = QLocale::languageToCode(static_cast<QLocale::Language>(code));
        if (tag.isEmpty())
            continue;
        if (Platform::Recognition::traineddataName(tag) == traineddata)
            return tag;
    }
    return std::nullopt;
}

QStringList supportedLanguages() {
    QStringList languages;
    auto add = [&](const QString& tag) {
        const QString identifier = LanguageMatch::maximized(tag).identifier();
        if (!languages.contains(identifier))
            languages.append(identifier);
    };
    for (const QString& model : Platform::Recognition::installedTraineddata()) {
        // The Latin-script model reads every language written in Latin letters.
        if (model == QLatin1String(Platform::Recognition::latinScriptModel)) {
            for (const QString& tag : Platform::Recognition::latinScriptLanguages())
                add(tag);
            continue;
        }
        if (const std::optional<QString> tag = languageOfModel(model))
            add(*tag);
    }
    return languages;
}

}  // namespace ZantrelText::TextReader
