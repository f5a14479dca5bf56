#include "platform/recognition/Dashes.h"

namespace Platform::Recognition {
namespace {

const QString enDashText(QChar(0x2013));
const QString emDashText(QChar(0x2014));

}  // namespace

void restoreDashes(std::vector<LineWords>& lines, double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        // The first and last words are left alone: a dash that starts a line is a list
        // marker, told from its shape elsewhere, and one that ends it is cut off.
        for (std::size_t i = 1; i + 1 < line.words.size(); ++i) {
            WordBox& word = line.words[i];
            // A dash is flat; a taller box is another sign read as one ("=").
            const bool hyphen = word.text == QLatin1String("-");
            const bool emDash = word.text == emDashText;
            if ((!hyphen && !emDash) || word.box.height() > 0.4 * glyph)
                continue;
            const double length = word.box.width() / glyph;
            if (hyphen && length >= emDashLength)
                word.text = emDashText;
            else if ((hyphen && length >= enDashLength) || (emDash && length < longestEnDash))
                word.text = enDashText;
        }
    }
}

}  // namespace Platform::Recognition
