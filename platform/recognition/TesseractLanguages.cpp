#include "platform/recognition/TesseractLanguages.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstdlib>

namespace Platform::Recognition {
namespace {

struct Subtags {
    QString language;
    QString script;
    QString region;
};

Subtags parse(const QString& identifier) {
    Subtags tags;
    const QStringList parts = QString(identifier).replace(u'_', u'-').split(u'-', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (i == 0)
            tags.language = part.toLower();
        else if (part.size() == 4 && tags.script.isEmpty())
            tags.script = part.left(1).toUpper() + part.mid(1).toLower();
        else if ((part.size() == 2 || part.size() == 3) && tags.region.isEmpty())
            tags.region = part.toUpper();
    }
    return tags;
}

const QHash<QString, QString>& modelsByLanguage() {
    static const QHash<QString, QString> table{
        {"af", "afr"}, {"ar", "ara"}, {"az", "aze"}, {"be", "bel"}, {"bg", "bul"}, {"bn", "ben"},
        {"ca", "cat"}, {"cs", "ces"}, {"cy", "cym"}, {"da", "dan"}, {"de", "deu"}, {"el", "ell"},
        {"en", "eng"}, {"eo", "epo"}, {"es", "spa"}, {"et", "est"}, {"eu", "eus"}, {"fa", "fas"},
        {"fi", "fin"}, {"fr", "fra"}, {"ga", "gle"}, {"gl", "glg"}, {"gu", "guj"}, {"he", "heb"},
        {"hi", "hin"}, {"hr", "hrv"}, {"hu", "hun"}, {"hy", "hye"}, {"id", "ind"}, {"is", "isl"},
        {"it", "ita"}, {"ja", "jpn"}, {"ka", "kat"}, {"kk", "kaz"}, {"km", "khm"}, {"kn", "kan"},
        {"ko", "kor"}, {"lo", "lao"}, {"lt", "lit"}, {"lv", "lav"}, {"mk", "mkd"}, {"ml", "mal"},
        {"mn", "mon"}, {"mr", "mar"}, {"ms", "msa"}, {"mt", "mlt"}, {"my", "mya"}, {"nb", "nor"},
        {"ne", "nep"}, {"nl", "nld"}, {"nn", "nor"}, {"no", "nor"}, {"pa", "pan"}, {"pl", "pol"},
        {"pt", "por"}, {"ro", "ron"}, {"ru", "rus"}, {"sk", "slk"}, {"sl", "slv"}, {"sq", "sqi"},
        {"sr", "srp"}, {"sv", "swe"}, {"sw", "swa"}, {"ta", "tam"}, {"te", "tel"}, {"th", "tha"},
        {"tl", "tgl"}, {"tr", "tur"}, {"uk", "ukr"}, {"ur", "urd"}, {"uz", "uzb"}, {"vi", "vie"},
        {"yi", "yid"},
    };
    return table;
}

const QStringList& latinLanguages() {
    static const QStringList languages{
        "af", "az", "ca", "cs", "cy", "da", "de", "en", "eo", "es", "et", "eu", "fi", "fr", "ga", "gl", "hr",
        "hu", "id", "is", "it", "lt", "lv", "ms", "mt", "nb", "nl", "nn", "no", "pl", "pt", "ro", "sk", "sl",
        "sq", "sv", "sw", "tl", "tr", "uz", "vi",
    };
    return languages;
}

}  // namespace

QString languageSubtag(const QString& bcp47) { return parse(bcp47).language; }

bool isLatinScript(const QString& bcp47) {
    const Subtags tags = parse(bcp47);
    if (!tags.script.isEmpty())
        return tags.script == QLatin1String("Latn");
    return latinLanguages().contains(tags.language);
}

QStringList latinScriptLanguages() { return latinLanguages(); }

QString tessdataFolder() {
    if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix != nullptr && *prefix != '\0')
        return QString::fromLocal8Bit(prefix);
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

QStringList installedTraineddata() {
    QStringList names;
    const QDir folder(tessdataFolder());
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.traineddata")}, QDir::Files)) {
        const QString name = file.completeBaseName();
        if (name != QLatin1String("osd") && name != QLatin1String("equ"))
            names.append(name);
    }
    names.sort();
    return names;
}

std::optional<QString> traineddataName(const QString& bcp47) {
    const Subtags tags = parse(bcp47);
    if (tags.language == QLatin1String("zh") || tags.language == QLatin1String("yue")) {
        const bool traditional =
            tags.script == QLatin1String("Hant") ||
            (tags.script.isEmpty() && (tags.language == QLatin1String("yue") || tags.region == QLatin1String("TW") ||
                                       tags.region == QLatin1String("HK") || tags.region == QLatin1String("MO")));
        return traditional ? QStringLiteral("chi_tra") : QStringLiteral("chi_sim");
    }
    if (tags.language == QLatin1String("sr") && tags.script == QLatin1String("Latn"))
        return QStringLiteral("srp_latn");
    if (tags.language == QLatin1String("uz") && tags.script == QLatin1String("Cyrl"))
        return QStringLiteral("uzb_cyrl");
    const auto found = modelsByLanguage().constFind(tags.language);
    if (found == modelsByLanguage().constEnd())
        return std::nullopt;
    return *found;
}

QString engineLanguages(const QStringList& bcp47Identifiers) {
    return engineLanguages(bcp47Identifiers, installedTraineddata());
}

QString engineLanguages(const QStringList& bcp47Identifiers, const QStringList& installed) {
    const QString latin = QString::fromLatin1(latinScriptModel);
    const bool hasLatin = installed.contains(latin);
    QStringList models;
    bool needsLatin = false;
    for (const QString& identifier : bcp47Identifiers) {
        const auto model = traineddataName(identifier);
        if (model && installed.contains(*model)) {
            if (!models.contains(*model))
                models.append(*model);
        } else if (hasLatin && isLatinScript(identifier)) {
            needsLatin = true;
        }
    }
    if (needsLatin) {
        QStringList kept{latin};
        for (const QString& model : models) {
            const auto language = std::find_if(latinLanguages().begin(), latinLanguages().end(),
                                               [&](const QString& tag) { return traineddataName(tag) == model; });
            if (language == latinLanguages().end())
                kept.append(model);
        }
        models = kept;
    }
    if (models.isEmpty())
        return QStringLiteral("eng");
    return models.join(u'+');
}

}  // namespace Platform::Recognition
