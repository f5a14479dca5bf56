#pragma once

// The languages the text recognizer reads: one per installed model.

#include <QString>
#include <QStringList>

#include <optional>

namespace ZantrelText::TextReader {

// Maximal BCP 47 identifiers ("en-Latn-US"), in the recognizer's order; empty when no
// model is installed.
QStringList supportedLanguages();

// The identifier of one installed model name ("eng" → "en", "chi_sim" → "zh-Hans");
// nothing for models that are no language of their own (orientation, old forms,
// vertical variants).
std::optional<QString> languageOfModel(const QString& traineddata);

}  // namespace ZantrelText::TextReader
