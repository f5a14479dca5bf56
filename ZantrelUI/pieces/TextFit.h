#pragma once

// Text that wraps to a few lines and is cut at the end of the last one, as the pieces'
// short sentences are drawn.

#include <QFont>
#include <QString>
#include <QStringList>

namespace ZantrelUI::TextFit {

// The lines of `text` wrapped at `width`; at most `maxLines`, the last one elided when more
// text follows. A `maxLines` of 0 keeps every line.
QStringList lines(const QString& text, const QFont& font, qreal width, int maxLines);

// The height those lines take.
qreal height(const QString& text, const QFont& font, qreal width, int maxLines);

}  // namespace ZantrelUI::TextFit
