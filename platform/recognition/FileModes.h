#pragma once

// A long directory listing starts each row with the entry's mode ("-rw-r--r--"): a type
// letter and three triples of r, w and x or a dash. Between dashes the recognizer reads
// the small letters poorly ("-TW-------", "-fw-r--r--", "-rW-r--1r--") or breaks the
// word ("drwxr -xr-x"). The mode's own grammar leaves one letter possible in each place,
// so a word that keeps most of that grammar and spans about ten cells of the text is
// read as the mode it must be.

#include "platform/recognition/LineFragments.h"

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// The mode `text` stands for, if it keeps enough of a mode's grammar to tell: every place
// holds its own letter, a dash, or a letter the recognizer reads for it.
std::optional<QString> fileModeFor(const QString& text);

// Repairs the mode at the head of each line where the repaired word still spans about
// ten cells of the text around it.
void restoreFileModes(std::vector<LineWords>& lines);

// Where a row's mode is lost to blanks or scraps ("-rw-     -", "seeteee"), or not read
// at all, while other rows of the listing hold theirs in a column, the row's mode is read
// from its ink: each of the column's ten cells holds a dash or a letter, and the place
// says which letter.
// `gray` is the page the lines' boxes are in; darker than `threshold` is ink.
void rebuildFileModes(std::vector<LineWords>& lines, const QImage& gray, int threshold);

}  // namespace Platform::Recognition
