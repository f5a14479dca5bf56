#include "platform/recognition/RecognizedLines.h"

#include <QString>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <memory>

namespace Platform::Recognition {
namespace {

// The characters of the word the iterator stands on.
std::vector<GlyphBox> glyphsOf(const tesseract::ResultIterator& word) {
    std::vector<GlyphBox> glyphs;
    tesseract::ResultIterator it(word);
    do {
        const std::unique_ptr<char[]> text(it.GetUTF8Text(tesseract::RIL_SYMBOL));
        int l = 0, t = 0, r = 0, b = 0;
        if (!text || !it.BoundingBox(tesseract::RIL_SYMBOL, &l, &t, &r, &b))
            return {};
        glyphs.push_back({QString::fromUtf8(text.get()), QRectF(l, t, r - l, b - t)});
    } while (!it.IsAtFinalElement(tesseract::RIL_WORD, tesseract::RIL_SYMBOL) && it.Next(tesseract::RIL_SYMBOL));
    return glyphs;
}

}  // namespace

std::vector<LineWords> collectLines(tesseract::TessBaseAPI& api) {
    std::vector<LineWords> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it)
        return lines;
    it->Begin();
    do {
        if (it->Empty(tesseract::RIL_WORD))
            continue;
        int l = 0, t = 0, r = 0, b = 0;
        if (lines.empty() || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            it->BoundingBox(tesseract::RIL_TEXTLINE, &l, &t, &r, &b);
            lines.push_back({QRectF(l, t, r - l, b - t), {}});
        }
        const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        // A word read as blank hides its ink from the second look.
        if (!text || QString::fromUtf8(text.get()).trimmed().isEmpty())
            continue;
        it->BoundingBox(tesseract::RIL_WORD, &l, &t, &r, &b);
        lines.back().words.push_back(
            {QString::fromUtf8(text.get()), QRectF(l, t, r - l, b - t), it->Confidence(tesseract::RIL_WORD) / 100.0f});
        lines.back().words.back().glyphs = glyphsOf(*it);
    } while (it->Next(tesseract::RIL_WORD));
    return lines;
}

}  // namespace Platform::Recognition
