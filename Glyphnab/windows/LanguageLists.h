#pragma once

// What the Languages tab lists: the supported recognition languages by display name,
// split into the picked ones (in the order they are read) and the others (by name), and
// narrowed by a search on the names. Value code, no widgets.

#include "GlyphnabCore/Preferences.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Glyphnab {

struct LanguageEntry {
    QString id;    // the recognizer's identifier, in its maximal form
    QString name;  // its display name

    friend bool operator==(const LanguageEntry&, const LanguageEntry&) = default;
};

struct LanguageLists {
    std::vector<LanguageEntry> picked;
    std::vector<LanguageEntry> others;

    bool empty() const { return picked.empty() && others.empty(); }
    friend bool operator==(const LanguageLists&, const LanguageLists&) = default;
};

// Whether `text` holds `query`, ignoring case and accents ("Francais" finds "Français").
// An empty query is found in every text.
bool containsIgnoringMarks(const QString& text, const QString& query, const QLocale& locale);

// `picked`: the stored identifiers in stored order, each shown once, those the recognizer
// does not support left out (they stay stored). `others`: the rest of `supported`, by name
// in the locale's order (case-insensitive, numbers by value; equal names keep the
// recognizer's order). A non-empty query keeps only the entries whose name contains it.
LanguageLists languageLists(const QStringList& supported, const QStringList& stored, const QString& query,
                            const QLocale& displayLocale);

// The stored list after ticking (appended at the end) or unticking (every occurrence
// removed) one identifier.
QStringList withLanguage(QStringList stored, const QString& id, bool ticked);

// The detail under "follow the system": the languages that following reads, named, or
// the line for none; nothing while the system's languages are not followed.
std::optional<QString> followDetail(const GlyphnabCore::Preferences& prefs, const QStringList& preferred,
                                    const QStringList& supported, const QLocale& displayLocale);

// The note under the cards.
QString languagesNote(const GlyphnabCore::Preferences& prefs);

// `text` with the hyphens of the recognizer's package names ("tesseract-ocr-deu") made
// non-breaking, so a name that a reader has to type is never split over two lines.
QString keepPackageNamesWhole(const QString& text);

}  // namespace Glyphnab
