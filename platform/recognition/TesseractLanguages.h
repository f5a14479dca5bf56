#pragma once

// Recognition languages: the BCP 47 identifiers the app speaks and the traineddata
// files Tesseract loads.

#include <QString>
#include <QStringList>

#include <optional>

namespace Platform::Recognition {

// The folder holding the traineddata files: $TESSDATA_PREFIX when set, else the
// system's.
QString tessdataFolder();

// The traineddata names installed there (without the ".traineddata" suffix and without
// the orientation-detection data "osd"), sorted.
QStringList installedTraineddata();

// "en-US" and "en" → "eng", "de-DE" → "deu", "zh-Hans" → "chi_sim", "zh-TW" → "chi_tra";
// nothing for a language Tesseract has no model for.
std::optional<QString> traineddataName(const QString& bcp47);

// The model of the whole Latin script (Debian's tesseract-ocr-script-latn): it reads
// every language written in Latin letters, accents and ß included.
inline constexpr char latinScriptModel[] = "Latin";

// The language subtag of an identifier, in small letters: "de-CH" and "de_DE" → "de".
QString languageSubtag(const QString& bcp47);

// Whether a language is written in Latin letters (English, German, Polish, Vietnamese…).
bool isLatinScript(const QString& bcp47);

// The language subtags of the languages the Latin-script model reads.
QStringList latinScriptLanguages();

// What one engine loads for a list of identifiers in priority order: the installed
// models joined with "+", duplicates dropped; "eng" when none of them is installed (or
// the list is empty). A Latin-script language without a model of its own is read with
// the Latin-script model when that is installed, which then reads all the Latin-script
// languages of the list: it reads them better alone than mixed with their own models.
QString engineLanguages(const QStringList& bcp47Identifiers);
QString engineLanguages(const QStringList& bcp47Identifiers, const QStringList& installed);

}  // namespace Platform::Recognition
