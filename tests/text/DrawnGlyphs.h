#pragma once

// Glyphs drawn from rows of cells, "#" for ink, two pixels a cell on a light ground with
// a margin around: ink whose holes and pieces a test sets exactly.

#include <QImage>
#include <QStringList>

namespace GlyphTests {

inline constexpr int glyphMargin = 6;

inline QImage drawGlyphs(const QStringList& rows) {
    constexpr int cell = 2;
    QImage picture(static_cast<int>(rows.front().size()) * cell + 2 * glyphMargin,
                   static_cast<int>(rows.size()) * cell + 2 * glyphMargin, QImage::Format_Grayscale8);
    picture.fill(255);
    for (qsizetype y = 0; y < rows.size(); ++y)
        for (qsizetype x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == u'#')
                for (int dy = 0; dy < cell; ++dy)
                    for (int dx = 0; dx < cell; ++dx)
                        picture.setPixel(glyphMargin + static_cast<int>(x) * cell + dx,
                                         glyphMargin + static_cast<int>(y) * cell + dy, 0);
    return picture;
}

}  // namespace GlyphTests
