#pragma once

// Tesseract's traineddata container: a count of entries, a table of their offsets (-1 for
// an absent one) and the entries one after the other.

#include <QString>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// The entry of the LSTM recognizer's word list, in most models by far the largest.
inline constexpr unsigned lstmWordListEntry = 19;

// The container at `path` without entry `dropped`, read without holding the whole file;
// nothing when the file cannot be read or is no container.
std::optional<std::vector<char>> readModelWithout(const QString& path, unsigned dropped);

}  // namespace Platform::Recognition
