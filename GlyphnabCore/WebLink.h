#pragma once

// Whether a copied text is exactly one web address.

#include <QString>
#include <QUrl>

#include <optional>

namespace GlyphnabCore::WebLink {

// The address when the whole text, trimmed, is one http or https URL with a host;
// nothing for a text with inner whitespace, another scheme, or words around the address.
std::optional<QUrl> find(const QString& text);

}  // namespace GlyphnabCore::WebLink
