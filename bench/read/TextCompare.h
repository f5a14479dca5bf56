#pragma once

// How far a recognized text is from the drawn one.

#include <QString>

namespace Bench {

struct TextScore {
    // Edits (insertions, deletions, substitutions) between the two texts with all white
    // space runs made single spaces.
    qsizetype characterErrors = 0;
    qsizetype truthCharacters = 0;
    // The share of the true words (counted with repeats, in any order) that were read.
    double wordRecall = 0;
};

TextScore compare(const QString& read, const QString& truth);

// Insertions, deletions and substitutions that turn one text into the other.
qsizetype editDistance(const QString& a, const QString& b);

}  // namespace Bench
