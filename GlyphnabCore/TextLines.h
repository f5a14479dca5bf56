#pragma once

// Line and character helpers shared by the short forms of a copied text (the notice
// preview and the recent-grab menu titles).

#include <QString>
#include <QStringList>
#include <QStringView>

namespace GlyphnabCore::TextLines {

// The lines of a text, split at every line break (LF, VT, FF, CR, CR LF as one break,
// NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR); empty lines are left out.
QStringList nonEmptyLines(QStringView text);

// Without the horizontal whitespace at both ends.
QString trimmedHorizontally(QStringView line);

// User-perceived characters (grapheme clusters).
qsizetype characterCount(QStringView text);

// The first `count` user-perceived characters, never splitting a cluster.
QString firstCharacters(QStringView text, qsizetype count);

}  // namespace GlyphnabCore::TextLines
