#pragma once

// Screen pictures made ready for the line recognizer: gray, dark text on a light ground,
// text scaled to the size the recognizer reads best, a margin around the edges; and the
// way back from the prepared picture's pixels to the original's.

#include <QImage>
#include <QRect>
#include <QRectF>

#include <optional>
#include <vector>

namespace Platform::Recognition {

struct PreparedPage {
    // Grayscale8 at the picture's own size, dark text on a light ground.
    QImage image;
    // The scale the recognizer reads the page at.
    double scale = 1.0;
    bool inverted = false;
    // The measured median glyph height in original pixels, when any glyph was found.
    std::optional<double> glyphHeight;

    // Rows [top, bottom) scaled for the recognizer, with a light margin on every side.
    // Strips are made on the worker that reads them, so scaling runs in parallel.
    struct Strip {
        QImage image;
        int left = 0;
        int top = 0;
        int padding = 0;
        double scaleX = 1.0;
        double scaleY = 1.0;

        // A box in the strip's pixels, in the original picture's.
        QRectF toOriginal(const QRectF& stripBox) const;
    };
    Strip strip(int top, int bottom) const;
    // The part of those rows inside `area` (a column of the page), the same way.
    Strip strip(const QRect& area) const;
};

// Any picture as 8-bit gray.
QImage grayPicture(const QImage& picture);

// The ground is the most common gray; a dark ground means light text.
bool isLightOnDark(const QImage& gray);

// The threshold between ink and ground by Otsu's method.
int inkThreshold(const QImage& gray);

// One connected shape of ink (eight-connected pixels darker than the threshold).
struct InkShape {
    QRect box;
    long ink = 0;  // its pixels
};
std::vector<InkShape> inkShapes(const QImage& gray, int threshold);

// Not a dot, a rule, a frame or a filled area.
bool looksLikeGlyph(const InkShape& shape, int pictureHeight);

// The median height of the connected ink shapes that look like glyphs (dark on light),
// nothing when there are none.
std::optional<double> medianGlyphHeight(const QImage& gray);
std::optional<double> medianGlyphHeight(const std::vector<InkShape>& shapes, int pictureHeight);

// Turns the dark panels of a light picture (a sidebar, a dark code box) light with
// dark text, in place, so one page has one polarity; the number of panels turned.
// `shapes` are the picture's ink shapes at `threshold`; `glyph` the text's median glyph
// height, which tells how small a panel can be.
int invertDarkPanels(QImage& gray, const std::vector<InkShape>& shapes, std::optional<double> glyph = std::nullopt);

// Stretches the gray panels of a light picture (a button, a badge, a selection) with
// dark text on them to a white ground, in place; the number of panels whitened.
int whitenGrayPanels(QImage& gray, std::optional<double> glyph = std::nullopt);

// The scale that brings text of this glyph height to the height the recognizer reads
// best; 1 when the height is unknown or already right.
double scaleForGlyphHeight(std::optional<double> glyphHeight);

// `upscale` false keeps the picture's own size (fast reading).
PreparedPage preparePage(const QImage& picture, bool upscale = true);

// Rows of a gray picture where it may be cut into bands for parallel recognition:
// at most `parts` − 1 positions, each inside a run of rows without ink, near the even
// split points; ascending.
std::vector<int> bandCuts(const QImage& gray, int parts);

}  // namespace Platform::Recognition
