#include "platform/recognition/LanguageLetters.h"

#include <QHash>

#include <algorithm>

#include <optional>

namespace Platform::Recognition {
namespace {

// The marked lower-case letters of each alphabet, by primary language subtag.
const QHash<QString, QString>& markedLetters() {
    static const QHash<QString, QString> table{
        {"en", QString()},
        {"de", QStringLiteral("äöüß")},
        {"fr", QStringLiteral("àâæçéèêëîïôœùûüÿ")},
        {"es", QStringLiteral("áéíñóúü")},
        {"it", QStringLiteral("àèéìíîòóùú")},
        {"pt", QStringLiteral("áâãàçéêíóôõúü")},
        {"nl", QStringLiteral("áéíóúàèëïöü")},
        {"ca", QStringLiteral("àçéèíïóòúü")},
        {"gl", QStringLiteral("áéíóúñü")},
        {"ga", QStringLiteral("áéíóú")},
        {"sv", QStringLiteral("åäöé")},
        {"da", QStringLiteral("æøåé")},
        {"nb", QStringLiteral("æøåéèêóòô")},
        {"nn", QStringLiteral("æøåéèêóòô")},
        {"no", QStringLiteral("æøåéèêóòô")},
        {"fi", QStringLiteral("äöåšž")},
        {"is", QStringLiteral("áðéíóúýþæö")},
        {"et", QStringLiteral("äöõüšž")},
        {"pl", QStringLiteral("ąćęłńóśźż")},
        {"cs", QStringLiteral("áčďéěíňóřšťúůýž")},
        {"sk", QStringLiteral("áäčďéíĺľňóôŕšťúýž")},
        {"sl", QStringLiteral("čšž")},
        {"hr", QStringLiteral("čćđšž")},
        {"hu", QStringLiteral("áéíóöőúüű")},
        {"ro", QStringLiteral("ăâîșțşţ")},
        {"lv", QStringLiteral("āčēģīķļņšūž")},
        {"lt", QStringLiteral("ąčęėįšųūž")},
    };
    return table;
}

bool isSeldomBorrowed(QChar mark) {
    switch (mark.unicode()) {
    case 0x0304:  // macron
    case 0x0306:  // breve
    case 0x0307:  // dot above
    case 0x030A:  // ring
    case 0x030B:  // double acute
    case 0x030C:  // caron
    case 0x0323:  // dot below
    case 0x0328:  // ogonek
        return true;
    default:
        return false;
    }
}

// The languages' marked letters in both cases; nothing when one alphabet is unknown.
std::optional<QString> alphabetOf(const QStringList& languages) {
    if (languages.isEmpty())
        return std::nullopt;
    QString letters;
    for (const QString& tag : languages) {
        const QString language = tag.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        const auto found = markedLetters().constFind(language);
        if (found == markedLetters().constEnd())
            return std::nullopt;
        letters += *found;
    }
    return letters + letters.toUpper();
}

}  // namespace

QString foldForeignMarks(const QString& word, const QStringList& languages) {
    bool marked = false;
    for (const QChar c : word)
        marked = marked || c.unicode() >= 0xC0;
    if (!marked)
        return word;
    const std::optional<QString> alphabet = alphabetOf(languages);
    if (!alphabet)
        return word;
    QString folded;
    folded.reserve(word.size());
    for (const QChar c : word) {
        const QString parts = QString(c).normalized(QString::NormalizationForm_D);
        const bool foreign = parts.size() > 1 && !alphabet->contains(c) &&
                             std::all_of(parts.begin() + 1, parts.end(), isSeldomBorrowed);
        if (!foreign) {
            folded += c;
            continue;
        }
        std::optional<QChar> only;
        bool several = false;
        for (const QChar letter : *alphabet) {
            const QString letterParts = QString(letter).normalized(QString::NormalizationForm_D);
            if (letterParts.size() > 1 && letterParts.front() == parts.front()) {
                several = several || only.has_value();
                only = letter;
            }
        }
        folded += only && !several ? *only : c;
    }
    return folded;
}

void foldForeignMarks(std::vector<LineWords>& lines, const QStringList& languages) {
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            word.text = foldForeignMarks(word.text, languages);
}

}  // namespace Platform::Recognition
