#pragma once

// In many fonts "l" and "1" differ by a serif or a flag; the recognizer reads one for the
// other where the words around give it no hint ("ls -l" comes back "1s -1"). A page
// shows both glyphs in words that leave no doubt ("alex", "2026-11-20"): a glyph in a
// word that does is settled by which of them its ink looks like.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// `gray` is the page the lines' boxes are in, dark text on a light ground; `shapes` its
// ink shapes. Changes only glyphs whose ink is much nearer the other glyph's.
// The ink shapes a word's box holds, left to right.
std::vector<QRect> wordShapes(const WordBox& word, const std::vector<InkShape>& shapes);

// The ink of each character of a word, in its order, when the word's ink falls apart
// into shapes as its characters do (a colon is two, an "i" two).
std::optional<std::vector<QRect>> characterShapes(const WordBox& word, const std::vector<InkShape>& shapes);

void settleLookAlikes(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
