#include "Glyphnab/windows/LanguageLists.h"

#include "GlyphnabCore/Words.h"

#include <QCollator>
#include <QRegularExpression>

#include <algorithm>

namespace Glyphnab {
namespace {

namespace Words = GlyphnabCore::Words;

// Case-folded, with the combining marks that the decomposed form splits off removed.
QString folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_Enclosing)
            bare.append(c);
    return bare.toCaseFolded();
}

}  // namespace

bool containsIgnoringMarks(const QString& text, const QString& query, const QLocale& locale) {
    Q_UNUSED(locale);  // case folding and decomposition are the same in every locale Qt knows
    if (query.isEmpty())
        return true;
    return folded(text).contains(folded(query));
}

LanguageLists languageLists(const QStringList& supported, const QStringList& stored, const QString& query,
                            const QLocale& displayLocale) {
    std::vector<LanguageEntry> all;
    all.reserve(static_cast<std::size_t>(supported.size()));
    for (const QString& id : supported)
        all.push_back({id, Words::languageKey(id, displayLocale)});

    LanguageLists lists;
    QStringList shown;
    for (const QString& id : stored) {
        if (shown.contains(id))
            continue;  // a duplicate stored id is one row
        const auto entry = std::find_if(all.begin(), all.end(), [&](const LanguageEntry& e) { return e.id == id; });
        if (entry == all.end())
            continue;
        lists.picked.push_back(*entry);
        shown.append(id);
    }
    for (const LanguageEntry& entry : all)
        if (!stored.contains(entry.id))
            lists.others.push_back(entry);

    QCollator collator(displayLocale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(lists.others.begin(), lists.others.end(), [&](const LanguageEntry& a, const LanguageEntry& b) {
        return collator.compare(a.name, b.name) < 0;
    });

    if (!query.isEmpty()) {
        const auto unmatched = [&](const LanguageEntry& e) { return !containsIgnoringMarks(e.name, query, displayLocale); };
        std::erase_if(lists.picked, unmatched);
        std::erase_if(lists.others, unmatched);
    }
    return lists;
}

QStringList withLanguage(QStringList stored, const QString& id, bool ticked) {
    if (ticked) {
        if (!stored.contains(id))
            stored.append(id);
    } else {
        stored.removeAll(id);
    }
    return stored;
}

std::optional<QString> followDetail(const GlyphnabCore::Preferences& prefs, const QStringList& preferred,
                                    const QStringList& supported, const QLocale& displayLocale) {
    if (!prefs.followSystemLanguages)
        return std::nullopt;
    QStringList names;
    for (const QString& id : prefs.recognitionLanguages(preferred, supported))
        names.append(Words::languageKey(id, displayLocale));
    return Words::followMacDetail(names);
}

QString languagesNote(const GlyphnabCore::Preferences& prefs) {
    // Following the system shows no list, so there is nothing to pick.
    if (prefs.followSystemLanguages)
        return Words::settingsLanguagesDetailFollowing();
    if (!prefs.languages.isEmpty())
        return Words::settingsLanguagesDetail();
    return Words::settingsNoneChosen();
}

QString keepPackageNamesWhole(const QString& text) {
    static const QRegularExpression packageName(QStringLiteral("\\btesseract(?:-[a-z0-9]*)+"));
    QString result = text;
    auto match = packageName.globalMatch(text);
    while (match.hasNext()) {
        const QRegularExpressionMatch found = match.next();
        for (qsizetype i = found.capturedStart(); i < found.capturedEnd(); ++i)
            if (result[i] == u'-')
                result[i] = QChar(0x2011);  // non-breaking hyphen
    }
    return result;
}

}  // namespace Glyphnab
