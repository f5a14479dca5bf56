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

// What one engine loads for a list of identifiers in priority order: the installed
// models joined with "+", duplicates dropped; "eng" when none of them is installed (or
// the list is empty).
QString engineLanguages(const QStringList& bcp47Identifiers);

}  // namespace Platform::Recognition
