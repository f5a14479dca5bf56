#include "GlyphnabCore/Recents.h"

#include "GlyphnabCore/TextLines.h"

namespace GlyphnabCore {

void Recents::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled)
        items_.clear();
}

void Recents::add(const QString& text) {
    if (!enabled_ || text.trimmed().isEmpty())
        return;
    items_.removeAll(text);
    items_.prepend(text);
    while (items_.size() > capacity)
        items_.removeLast();
}

void Recents::clear() { items_.clear(); }

QString Recents::menuTitle(const QString& text) {
    for (const QString& line : TextLines::nonEmptyLines(text)) {
        const QStringList cells = line.split(u'\t', Qt::SkipEmptyParts);
        const QString title = TextLines::trimmedHorizontally(cells.join(u' '));
        if (title.isEmpty())
            continue;
        if (TextLines::characterCount(title) > titleLength)
            return TextLines::firstCharacters(title, titleLength) + QChar(0x2026);
        return title;
    }
    return {};
}

}  // namespace GlyphnabCore
