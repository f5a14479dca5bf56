#include "platform/recognition/LanguageLetters.h"

#include "platform/recognition/TesseractLanguages.h"

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
        const auto found = markedLetters().constFind(languageSubtag(tag));
        if (found == markedLetters().constEnd())
            return std::nullopt;
        letters += *found;
    }
    return letters + letters.toUpper();
}

// The marks the alphabet writes, each on some bases.
QString marksOf(const QString& alphabet) {
    QString marks;
    for (const QChar letter : alphabet) {
        const QString parts = QString(letter).normalized(QString::NormalizationForm_D);
        for (qsizetype i = 1; i < parts.size(); ++i)
            if (!marks.contains(parts[i]))
                marks += parts[i];
    }
    return marks;
}

// The alphabet's marked letters on the base of `c`.
QString lettersOnBase(QChar c, const QString& alphabet) {
    const QChar base = QString(c).normalized(QString::NormalizationForm_D).front();
    QString letters;
    for (const QChar letter : alphabet) {
        const QString parts = QString(letter).normalized(QString::NormalizationForm_D);
        if (parts.size() > 1 && parts.front() == base)
            letters += letter;
    }
    return letters;
}

// A marked Latin letter the languages never write, whose marks are seldom borrowed, or
// are ones the languages write on other bases only where they mark this base too: the
// recognizer moved the mark from the languages' own letter ("ó" read "ö" in Spanish).
bool isForeign(QChar c, const QString& alphabet, const QString& marks) {
    if (!c.isLetter() || alphabet.contains(c))
        return false;
    const QString parts = QString(c).normalized(QString::NormalizationForm_D);
    if (parts.size() < 2 || parts.front().unicode() >= 0x80)
        return false;
    if (std::all_of(parts.begin() + 1, parts.end(), isSeldomBorrowed))
        return true;
    return std::all_of(parts.begin() + 1, parts.end(),
                       [&](QChar mark) { return isSeldomBorrowed(mark) || marks.contains(mark); }) &&
           !lettersOnBase(c, alphabet).isEmpty();
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
    const QString marks = marksOf(*alphabet);
    QString folded;
    folded.reserve(word.size());
    for (const QChar c : word) {
        const QString letters = isForeign(c, *alphabet, marks) ? lettersOnBase(c, *alphabet) : QString();
        folded += letters.size() == 1 ? letters.front() : c;
    }
    return folded;
}

QString foreignMarkedLetters(const QStringList& languages) {
    const std::optional<QString> alphabet = alphabetOf(languages);
    if (!alphabet)
        return {};
    const QString marks = marksOf(*alphabet);
    QString letters;
    // Latin-1 Supplement to Latin Extended-B, and the Vietnamese block's dotted letters.
    // A letter with one reading on its base is left to the fold: kept from it, the
    // recognizer can split the glyph in two ("ráâpido").
    const auto consider = [&](char16_t code) {
        const QChar c(code);
        if (isForeign(c, *alphabet, marks) && lettersOnBase(c, *alphabet).size() != 1)
            letters += c;
    };
    for (char16_t code = 0xC0; code < 0x250; ++code)
        consider(code);
    for (char16_t code = 0x1E00; code < 0x1F00; ++code)
        consider(code);
    return letters;
}

void foldForeignMarks(std::vector<LineWords>& lines, const QStringList& languages) {
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            word.text = foldForeignMarks(word.text, languages);
}

}  // namespace Platform::Recognition
