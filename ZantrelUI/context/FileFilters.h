#pragma once

// The filters an open dialog offers for a list of MIME types. A file dialog drops wildcard
// types such as "image/*" from its MIME filters, which hid every picture; here each type,
// wildcards expanded to the pictures Qt can read, becomes its file-name patterns.

#include <QString>
#include <QStringList>

#include <optional>

namespace ZantrelUI::FileFilters {

// "*.png", "*.PNG", "*.pdf", "*.PDF"…: every pattern of every type, in lower and upper
// case, sorted, once each.
QStringList patterns(const QStringList& mimeTypes);

// With a name: one filter "<name> (<patterns>)" and then "All files (*)". Without one, or
// when the types give no pattern: the "All files" filter alone.
QStringList nameFilters(const QStringList& mimeTypes, const std::optional<QString>& name);

}  // namespace ZantrelUI::FileFilters
