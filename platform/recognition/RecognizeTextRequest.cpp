#include "platform/recognition/RecognizeTextRequest.h"

#include "platform/async/Cancellation.h"
#include "platform/recognition/AccentMarks.h"
#include "platform/recognition/ApostropheStyle.h"
#include "platform/recognition/Apostrophes.h"
#include "platform/recognition/BarlessSevens.h"
#include "platform/recognition/BracketPairs.h"
#include "platform/recognition/BracketSpaces.h"
#include "platform/recognition/ClosedEights.h"
#include "platform/recognition/ClosingQuotes.h"
#include "platform/recognition/ControlMarks.h"
#include "platform/recognition/CutLines.h"
#include "platform/recognition/DashRuns.h"
#include "platform/recognition/Dashes.h"
#include "platform/recognition/DetachedDots.h"
#include "platform/recognition/EdgeGlyphs.h"
#include "platform/recognition/DollarFives.h"
#include "platform/recognition/DoubleHyphens.h"
#include "platform/recognition/EllMarks.h"
#include "platform/recognition/DoubledCapitals.h"
#include "platform/recognition/FigurePoints.h"
#include "platform/recognition/FigureShapes.h"
#include "platform/recognition/FileModes.h"
#include "platform/recognition/GlyphHeights.h"
#include "platform/recognition/IconWords.h"
#include "platform/recognition/InklessMarks.h"
#include "platform/recognition/InvertedMarks.h"
#include "platform/recognition/LanguageLetters.h"
#include "platform/recognition/LetterCase.h"
#include "platform/recognition/LineFragments.h"
#include "platform/recognition/ListMarkers.h"
#include "platform/recognition/LookAlikes.h"
#include "platform/recognition/LostPeriods.h"
#include "platform/recognition/LostSpaces.h"
#include "platform/recognition/MarkedZeros.h"
#include "platform/recognition/MiddleDots.h"
#include "platform/recognition/MonospaceGaps.h"
#include "platform/recognition/MonospaceHyphens.h"
#include "platform/recognition/MonospaceSpacing.h"
#include "platform/recognition/PageColumns.h"
#include "platform/recognition/PagePreparation.h"
#include "platform/recognition/Periods.h"
#include "platform/recognition/QuotePairs.h"
#include "platform/recognition/SharpS.h"
#include "platform/recognition/RecognizedLines.h"
#include "platform/recognition/RowPieces.h"
#include "platform/recognition/ShortFigures.h"
#include "platform/recognition/SingleGlyphs.h"
#include "platform/recognition/SmallEll.h"
#include "platform/recognition/SmallL.h"
#include "platform/recognition/SmallLines.h"
#include "platform/recognition/StackedLines.h"
#include "platform/recognition/SplitWords.h"
#include "platform/recognition/StrayMarks.h"
#include "platform/recognition/SwallowedGlyphs.h"
#include "platform/recognition/TitleBarControls.h"
#include "platform/recognition/GlyphCuts.h"
#include "platform/recognition/TesseractEngine.h"
#include "platform/recognition/TesseractLanguages.h"
#include "platform/recognition/WordRereads.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <numeric>
#include <memory>
#include <optional>

namespace Platform::Recognition {
namespace {

// A band of about this many prepared pixels (two or three lines of a region) keeps one
// engine busy for a useful while: a region of a screen is read on all cores, and small
// pictures in one piece. On a 960 × 320 region of 14 px text this halves the wall time
// of bands of 200 000 pixels.
constexpr double pixelsPerBand = 80'000.0;

// A second look at loose ink is worth it only for a few runs, read with confidence.
constexpr std::size_t maxLoneRuns = 24;
constexpr float loneGlyphConfidence = 0.7f;
// A word's head read with it stands at a lower confidence than a lone reading: the
// word's own tail vouches for it.
constexpr float headConfidence = 0.6f;
// A line read again with its tail, its own words spelled as before, stands at a lower
// confidence still: the recognizer reads the glyphs of code ("i = 0;") unsurely even
// where it reads them right, and the words it kept vouch for the reading.
constexpr float tailConfidence = 0.5f;
constexpr float twoCasedGlyphConfidence = 0.3f;
// A line's tail the layout cut off starts within this many glyph heights of its end; a
// head it left out ("-u," before "--branch") ends as near its start.
constexpr double tailReach = 3.0;
constexpr double headReach = 3.0;

// Words the recognizer doubts are few on a page of text; many are a picture.
constexpr int maxUnsureWords = 8;

// Figures whose ink disagrees with their characters are few; many are glyphs that touch.
constexpr int maxMisfitFigures = 6;

bool stopRequested(void* token, int /*words*/) {
    return static_cast<const std::stop_token*>(token)->stop_requested();
}

struct BandResult {
    std::vector<LineWords> lines;
    std::exception_ptr error;
};

// Ink that lies apart from every word, grouped into runs along a line. Its core holds
// only the letters of full height, read alone when the whole run gives nothing sure.
struct LooseRun {
    QRect box;
    QRect core;
};

std::vector<LooseRun> uncoveredRuns(const QImage& band, const QRect& picture, const std::vector<InkShape>& ink,
                                    const std::vector<LineWords>& lines, double glyph) {
    std::vector<QRect> covered;
    for (const LineWords& line : lines)
        for (const WordBox& word : line.words)
            // A lone period or comma owns no ink beside it: the "1" of "1." is a glyph
            // of its own even when the layout kept only the period.
            // A word read as nothing but blanks (an "=" the layout took for a line of
            // its own) holds no reading of its ink.
            if ((word.box.height() >= 0.5 * glyph || word.box.width() >= 0.5 * glyph) &&
                !word.text.trimmed().isEmpty())
                covered.push_back(word.box.toAlignedRect().adjusted(-2, -2, 2, 2));
    const int reach = static_cast<int>(std::lround(0.5 * glyph));
    const auto isCovered = [&](const QRect& box) {
        // Ink right beside a word is part of it (a mark the word box left out), not a
        // glyph of its own.
        const QRect around = box.adjusted(-reach, 0, reach, 0);
        return std::any_of(covered.begin(), covered.end(), [&](const QRect& word) { return word.intersects(around); });
    };
    // Letters as short as an "x" count, so that a word of small letters and dashes
    // ("-rw-r--r--") the layout lost is found; alone they may be specks, so such a run
    // needs two of them, or one after a dash (an option's "-u").
    struct Run {
        QRect box;
        QRect core;
        int tall = 0;
        int shapes = 0;
        bool dashFirst = false;
    };
    std::vector<QRect> letters;
    std::vector<QRect> dashes;
    std::vector<QRect> equals;
    for (const InkShape& shape : ink) {
        const QRect& box = shape.box;
        // Ink on the picture's top or bottom edge is a row the picture cuts: half letters
        // read as other words.
        const bool cut = box.top() <= picture.top() + 1 || box.bottom() >= picture.bottom() - 1;
        if (box.height() > 3.0 * glyph || cut || isCovered(box))
            continue;
        if (looksLikeGlyph(shape, band.height()) && box.height() >= 0.5 * glyph)
            letters.push_back(box);
        else if (box.height() <= 0.35 * glyph && box.width() >= 0.3 * glyph && box.width() <= 12 * glyph)
            dashes.push_back(box);
    }
    // Dashes between the letters belong to their word ("-rw-r--r--", "drw-------").
    std::vector<std::pair<QRect, bool>> pieces;
    for (const QRect& box : letters)
        pieces.emplace_back(box, false);
    for (const QRect& box : dashes)
        pieces.emplace_back(box, true);
    // Two bars one over the other, as long as each other, are one glyph ("=").
    for (std::size_t i = 0; i < dashes.size(); ++i)
        for (std::size_t j = i + 1; j < dashes.size(); ++j) {
            const QRect& a = dashes[i];
            const QRect& b = dashes[j];
            const int shared = std::min(a.right(), b.right()) - std::max(a.left(), b.left()) + 1;
            const int gap = std::max(a.top(), b.top()) - std::min(a.bottom(), b.bottom());
            if (shared >= 0.8 * std::max(a.width(), b.width()) && gap > 0 && gap <= 0.4 * glyph)
                equals.push_back(a.united(b));
        }
    std::sort(pieces.begin(), pieces.end(), [](const auto& a, const auto& b) { return a.first.left() < b.first.left(); });
    std::vector<Run> found;
    for (const auto& [shape, dash] : pieces) {
        auto joins = [&](const Run& run) {
            const int gap = shape.left() - run.box.right();
            if (dash) {
                const int middle = shape.center().y();
                return middle > run.box.top() + run.box.height() / 5 && middle < run.box.bottom() - run.box.height() / 5 &&
                       gap <= glyph;
            }
            const int overlap = std::min(run.box.bottom(), shape.bottom()) - std::max(run.box.top(), shape.top());
            return overlap >= std::min(run.box.height(), shape.height()) / 2 &&
                   gap <= 1.5 * std::max({run.box.height(), shape.height(), static_cast<int>(0.8 * glyph)});
        };
        const auto run = std::find_if(found.begin(), found.end(), joins);
        const int tall = !dash && shape.height() >= 0.8 * glyph ? 1 : 0;
        const int letter = dash ? 0 : 1;
        if (run != found.end()) {
            run->box = run->box.united(shape);
            if (tall > 0)
                run->core = run->core.united(shape);
            run->tall += tall;
            run->shapes += letter;
        } else {
            found.push_back({shape, tall > 0 ? shape : QRect(), tall, letter, dash});
        }
    }
    std::vector<LooseRun> runs;
    for (const Run& run : found) {
        const bool equal =
            std::any_of(equals.begin(), equals.end(), [&](const QRect& e) { return run.box.intersects(e); });
        if (run.tall > 0 || run.shapes >= 2 || (run.dashFirst && run.shapes == 1) || equal)
            runs.push_back({run.box, run.core});
    }
    return runs;
}

// The line whose box holds a run of ink, if any. A run that ends just before a line
// starts may be the head of its first word, cut off where the layout took a row of
// dashes for a rule ("-rw-r--r" and "--"), or a word it left out in front ("-u," of
// "-u, --branch"). One that starts a few cells after its end
// may be its tail, cut off where the layout broke the line at a wide gap ("i < n;"
// after "for (int i = 0;").
LineWords* lineHolding(std::vector<LineWords>& lines, const QRect& run, double glyph) {
    const QPointF centre = QRectF(run).center();
    const auto holds = [&](const LineWords& line) {
        const bool inside = run.left() >= line.box.left() && run.right() <= line.box.right();
        const bool head = run.right() < line.box.left() && run.right() >= line.box.left() - headReach * glyph;
        return !line.words.empty() && centre.y() >= line.box.top() && centre.y() <= line.box.bottom() &&
               (inside || head);
    };
    // Ink between two pieces of a row is the next piece's head ("7" between "-rwxrwxr-x"
    // and "alex users"), not the first's tail.
    const auto tails = [&](const LineWords& line) {
        return !line.words.empty() && centre.y() >= line.box.top() && centre.y() <= line.box.bottom() &&
               run.left() > line.box.right() && run.left() <= line.box.right() + tailReach * glyph;
    };
    auto found = std::find_if(lines.begin(), lines.end(), holds);
    if (found == lines.end())
        found = std::find_if(lines.begin(), lines.end(), tails);
    return found == lines.end() ? nullptr : &*found;
}

// Tesseract can box a word off its ink: "int n = 0;" comes back as "int" and "n=0;",
// "and a new" as "and" and "anew", the second box starting after the glyph that its
// text holds. Ink like that, inside a line between its words, is not a line of its
// own. The words on either side of it are read again together; the new reading
// replaces them when it is about as sure and leaves out no glyph. Otherwise the next
// word's box takes the ink in, so it is neither read twice nor left as a gap; ink in
// front of the line is left to be read alone. False when the ink is still unread.
bool rereadAround(tesseract::TessBaseAPI& api, const QImage& band, LineWords& line, const QRect& run,
                  tesseract::ETEXT_DESC& monitor) {
    auto& words = line.words;
    const auto next = std::find_if(words.begin(), words.end(),
                                   [&](const WordBox& word) { return word.box.center().x() > run.center().x(); });
    // A tail is read with its whole line: beside its last word alone it is read with no
    // sense of the line's size ("i<ono").
    const bool tail = run.left() > line.box.right();
    const auto first = tail ? words.begin() : next == words.begin() ? next : std::prev(next);
    const auto last = next == words.end() ? std::prev(next) : next;
    const std::vector<WordBox> old(first, std::next(last));
    QRectF span = QRectF(run);
    for (const WordBox& word : old)
        span = span.united(word.box);
    // A tail's run may end before a mark too small to join it (the ";" of "i < n;").
    const int margin = std::max(4, run.height() / (tail ? 2 : 4));
    const int side = tail ? std::max(margin, run.height()) : margin;
    const QRect area = span.toAlignedRect().adjusted(-margin, -margin, side, margin) & band.rect();
    api.SetRectangle(area.left(), area.top(), area.width(), area.height());
    std::vector<LineWords> read;
    if (api.Recognize(&monitor) == 0)
        read = collectLines(api);
    // Ink read in front of a line's first word, the word's own glyphs still at its end,
    // is the word's head: the whole is read less surely than its tail alone.
    const bool head = run.right() < line.box.left();
    // Likewise a tail read after the line's own words, spelled as they were.
    const auto keepsOwnWords = [&](const std::vector<WordBox>& reading) {
        QString before, after;
        for (const WordBox& word : old)
            before += word.text.trimmed();
        for (const WordBox& word : reading)
            after += word.text.trimmed();
        if (after.size() <= before.size())
            return false;
        if (head)
            return after.endsWith(before) && meanConfidence(reading) >= headConfidence;
        return tail && after.startsWith(before) && meanConfidence(reading) >= tailConfidence;
    };
    if (read.size() == 1 && !read.front().words.empty() &&
        (meanConfidence(read.front().words) >= meanConfidence(old) - 0.1 || keepsOwnWords(read.front().words)) &&
        characterCount(read.front().words) >= characterCount(old)) {
        const auto at = words.erase(first, std::next(last));
        words.insert(at, read.front().words.begin(), read.front().words.end());
        for (const WordBox& word : words)
            line.box = line.box.united(word.box);
        return true;
    }
    // A tail read no better is left to be read alone, not swallowed by the last word.
    if (head || tail)
        return false;
    WordBox& taker = next == words.end() ? words.back() : *next;
    taker.box = taker.box.united(QRectF(run));
    return true;
}

// A word the recognizer doubts may have lost a glyph in the line's context:
// "d’assurance" comes back as "assurance", "Straße" as "Strae", its box still holding
// the ink. Read alone, the word is read whole; a figure misread on a small letter too.
void rereadUnsureWords(tesseract::TessBaseAPI& api, const QImage& band, std::vector<LineWords>& lines,
                       const std::vector<InkShape>& shapes, tesseract::ETEXT_DESC& monitor) {
    int budget = maxUnsureWords;
    for (LineWords& line : lines) {
        for (auto word = line.words.begin(); word != line.words.end() && budget > 0; ++word) {
            if (word->confidence >= doubtfulConfidence || word->text.trimmed().size() < 3)
                continue;
            --budget;
            const int margin = std::max(4, static_cast<int>(word->box.height() / 4));
            const QRect area = word->box.toAlignedRect().adjusted(-margin, -margin, margin, margin) & band.rect();
            api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
            api.SetRectangle(area.left(), area.top(), area.width(), area.height());
            if (api.Recognize(&monitor) != 0)
                break;
            const std::vector<LineWords> read = collectLines(api);
            if (read.size() != 1 || read.front().words.size() != 1)
                continue;
            const WordBox& whole = read.front().words.front();
            if (standsForDoubtfulWord(*word, whole))
                word->text = whole.text;
            else if (const auto read = withShortFiguresRead(word->text, shortFigures(*word, line, shapes), whole.text))
                word->text = *read;
        }
    }
    api.SetPageSegMode(tesseract::PSM_AUTO);
}

// A crop read alone, scaled up on a white margin: so a glyph or a figure is read more
// surely. Nothing when the engine fails. Sets the crop as the engine's picture.
std::optional<std::vector<LineWords>> readEnlarged(tesseract::TessBaseAPI& api, const QImage& crop, int scale,
                                                   double glyph, tesseract::ETEXT_DESC& monitor) {
    const QImage scaled = crop.scaled(crop.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int padding = static_cast<int>(std::lround(glyph * scale));
    QImage padded(scaled.width() + 2 * padding, scaled.height() + 2 * padding, QImage::Format_Grayscale8);
    padded.fill(255);
    for (int y = 0; y < scaled.height(); ++y)
        std::copy_n(scaled.constScanLine(y), scaled.width(), padded.scanLine(y + padding) + padding);
    api.SetImage(padded.constBits(), padded.width(), padded.height(), 1, static_cast<int>(padded.bytesPerLine()));
    if (api.Recognize(&monitor) != 0)
        return std::nullopt;
    return collectLines(api);
}

// A lone glyph read as several characters over the same ink is read again alone and
// larger as one character. Sets the band again after, the engine in `mode`.
void rereadSingleGlyphs(tesseract::TessBaseAPI& api, const QImage& band, int resolution,
                        std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph,
                        tesseract::PageSegMode mode, tesseract::ETEXT_DESC& monitor) {
    bool reread = false;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            // A glyph read as a letter of another height is kept unless read again as one of the ink's.
            const std::optional<GlyphHeight> height = contradictedHeight(word, line, shapes, band.height());
            if (!height && !misreadsOneGlyph(word, shapes, band.height(), glyph))
                continue;
            // Only the glyph's own ink: a cell's rule beside it is read as a bracket.
            const QRect area = word.box.toAlignedRect().adjusted(-1, -1, 1, 1) & band.rect();
            if (area.isEmpty())
                continue;
            if (!reread)
                api.SetPageSegMode(tesseract::PSM_SINGLE_CHAR);
            reread = true;
            const QImage crop = band.copy(area);
            for (const int scale : {2, 3}) {
                const std::optional<std::vector<LineWords>> read = readEnlarged(api, crop, scale, glyph, monitor);
                if (!read)
                    break;
                if (read->size() == 1 && read->front().words.size() == 1 &&
                    (height ? fitsInkHeight(word, read->front().words.front(), *height)
                            : standsForOneGlyph(word, read->front().words.front()))) {
                    word.text = read->front().words.front().text;
                    word.confidence = read->front().words.front().confidence;
                    word.glyphs = {GlyphBox{word.text, word.box}};
                    break;
                }
            }
        }
    }
    if (reread) {
        api.SetImage(band.constBits(), band.width(), band.height(), 1, static_cast<int>(band.bytesPerLine()));
        api.SetSourceResolution(resolution);
        api.SetPageSegMode(mode);
    }
}

// The page layout drops a glyph that stands alone, such as a closing brace on a line of
// its own, as noise. Ink that no word covers is read once more, run by run, as a line.
std::vector<LineWords> readLoneGlyphs(tesseract::TessBaseAPI& api, const QImage& band, int resolution,
                                      const QRect& picture, const std::vector<InkShape>& ink,
                                      std::vector<LineWords>& lines, double glyph, tesseract::ETEXT_DESC& monitor) {
    std::vector<LineWords> found;
    const std::vector<LooseRun> runs = uncoveredRuns(band, picture, ink, lines, glyph);
    // Many loose shapes are pictures or icons, not text the layout missed.
    if (runs.empty() || runs.size() > maxLoneRuns)
        return found;
    api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    // Room beside the run for a period that belongs to it ("1."), little above and
    // below, where the neighbouring rows begin.
    bool failed = false;
    const auto readAlone = [&](const QRect& run) {
        const int side = std::max(4, run.height());
        const int margin = std::max(4, run.height() / 4);
        const QRect area = run.adjusted(-side, -margin, side, margin) & band.rect();
        api.SetRectangle(area.left(), area.top(), area.width(), area.height());
        std::vector<LineWords> sure;
        failed = api.Recognize(&monitor) != 0;
        if (failed)
            return sure;
        std::vector<LineWords> read = collectLines(api);
        rereadSingleGlyphs(api, band, resolution, read, ink, glyph, tesseract::PSM_SINGLE_LINE, monitor);
        for (LineWords& line : read) {
            // A glyph read in both its cases ("Cc") is sure of its shape, not of its case,
            // which the line's heights tell later.
            std::erase_if(line.words, [](const WordBox& word) {
                return word.confidence < (isOneLetterInBothCases(word.text) ? twoCasedGlyphConfidence
                                                                            : loneGlyphConfidence);
            });
            if (!line.words.empty())
                sure.push_back(std::move(line));
        }
        return sure;
    };
    for (const LooseRun& run : runs) {
        if (LineWords* holder = lineHolding(lines, run.box, glyph);
            holder && rereadAround(api, band, *holder, run.box, monitor))
            continue;
        std::vector<LineWords> sure = readAlone(run.box);
        if (sure.empty() && !failed && run.core.isValid() && run.core != run.box)
            sure = readAlone(run.core);
        if (failed)
            break;
        for (LineWords& line : sure)
            found.push_back(std::move(line));
    }
    api.SetPageSegMode(tesseract::PSM_AUTO);
    return found;
}

// A figure whose point the recognizer dropped, or whose characters its ink does not bear
// out, is read again alone, larger, with figure characters only; the new reading stands
// only when its point and digits, or its characters piece by piece, match the ink.
// Last on the engine: it sets the crop as the engine's picture.
void restorePoints(tesseract::TessBaseAPI& api, const QImage& band, std::vector<LineWords>& lines,
                   const std::vector<InkShape>& shapes, double glyph, tesseract::ETEXT_DESC& monitor) {
    bool whitelisted = false;
    int misfits = maxMisfitFigures;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            const bool pointless = missesPoint(word, shapes, glyph);
            const bool misfit = !pointless && misfits > 0 && misfitsInk(word, shapes);
            if (!pointless && !misfit)
                continue;
            misfits -= misfit ? 1 : 0;
            const double side = 0.5 * word.box.height() + 4;
            const QRect area = word.box.adjusted(-side, -4, side, 4).toAlignedRect() & band.rect();
            if (area.isEmpty())
                continue;
            if (!whitelisted)
                api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
            whitelisted = true;
            const QString characters = pointless ? figureReadingCharacters() : figureShapeCharacters();
            api.SetVariable("tessedit_char_whitelist", characters.toUtf8().constData());
            const QImage crop = band.copy(area);
            for (const int scale : {2, 3}) {
                const std::optional<std::vector<LineWords>> readings = readEnlarged(api, crop, scale, glyph, monitor);
                if (!readings)
                    break;
                QString reading;
                for (const LineWords& read : *readings)
                    for (const WordBox& part : read.words)
                        reading += part.text.trimmed();
                if (pointless ? isPointedReading(reading, word, shapes, glyph) : fitsInk(reading, word, shapes)) {
                    word.text = reading;
                    break;
                }
            }
            if (!pointless)
                continue;
            if (const auto pointed = pointedFromInk(word, shapes, glyph))
                word.text = *pointed;
        }
    }
    if (whitelisted) {
        api.SetVariable("tessedit_char_whitelist", "");
        api.SetPageSegMode(tesseract::PSM_AUTO);
    }
}

// A line of small print is read again alone from the page's own pixels, at the scale its
// glyphs need; its words come back in the strip's pixels. Sets the engine's picture: the
// band is set again after.
void rereadSmallLines(tesseract::TessBaseAPI& api, const PreparedPage& page, const PreparedPage::Strip& strip,
                      std::vector<LineWords>& lines, const std::vector<InkShape>& shapes,
                      tesseract::ETEXT_DESC& monitor) {
    const QImage& band = strip.image;
    bool reread = false;
    for (LineWords& line : lines) {
        const std::optional<double> scale = smallLineScale(line, shapes, band.height(), page.scale);
        if (!scale)
            continue;
        // The layout can break a row of small print in two, or leave part of it out as
        // noise; the row is read whole, all the ink along it.
        std::vector<LineWords*> mates;
        QRectF row = line.box;
        for (const InkShape& shape : shapes) {
            const double middle = shape.box.top() + shape.box.height() / 2.0;
            if (middle > line.box.top() && middle < line.box.bottom() && shape.box.height() <= line.box.height())
                row = row.united(QRectF(shape.box));
        }
        for (LineWords& other : lines) {
            if (&other != &line && !other.words.empty() &&
                std::abs(other.box.center().y() - line.box.center().y()) <
                    0.5 * std::min(other.box.height(), line.box.height())) {
                mates.push_back(&other);
                row = row.united(other.box);
            }
        }
        const QRectF original = strip.toOriginal(row);
        const int margin = std::max(2, static_cast<int>(std::lround(original.height() / 4)));
        const QRect area = original.toAlignedRect().adjusted(-margin, -margin, margin, margin) & page.image.rect();
        if (area.isEmpty())
            continue;
        const QImage crop = page.image.copy(area);
        const QImage scaled = crop.scaled(crop.size() * *scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const int padding = std::max(8, static_cast<int>(std::lround(original.height() * *scale / 2)));
        QImage padded(scaled.width() + 2 * padding, scaled.height() + 2 * padding, QImage::Format_Grayscale8);
        padded.fill(255);
        for (int y = 0; y < scaled.height(); ++y)
            std::copy_n(scaled.constScanLine(y), scaled.width(), padded.scanLine(y + padding) + padding);
        if (!reread)
            api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        reread = true;
        api.SetImage(padded.constBits(), padded.width(), padded.height(), 1, static_cast<int>(padded.bytesPerLine()));
        if (api.Recognize(&monitor) != 0)
            break;
        std::vector<LineWords> read = collectLines(api);
        std::vector<WordBox> first = line.words;
        for (const LineWords* mate : mates)
            first.insert(first.end(), mate->words.begin(), mate->words.end());
        if (!replacesSmallLine(first, read))
            continue;
        for (LineWords* mate : mates)
            mate->words.clear();
        line.box = row;
        const double sx = strip.scaleX / *scale, sy = strip.scaleY / *scale;
        const auto toStrip = [&](const QRectF& box) {
            return QRectF((box.x() - padding) * sx + (area.left() - strip.left) * strip.scaleX + strip.padding,
                          (box.y() - padding) * sy + (area.top() - strip.top) * strip.scaleY + strip.padding,
                          box.width() * sx, box.height() * sy);
        };
        line.words = std::move(read.front().words);
        for (WordBox& word : line.words) {
            word.box = toStrip(word.box);
            for (GlyphBox& glyph : word.glyphs)
                glyph.box = toStrip(glyph.box);
        }
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
    if (reread) {
        api.SetPageSegMode(tesseract::PSM_AUTO);
        api.SetImage(band.constBits(), band.width(), band.height(), 1, static_cast<int>(band.bytesPerLine()));
        api.SetSourceResolution(std::max(70, static_cast<int>(std::lround(96 * page.scale))));
    }
}

// Letters the recognizer may not read, for as long as one band's reading lasts: engines
// are lent out again.
class BlacklistScope {
public:
    BlacklistScope(tesseract::TessBaseAPI& api, const QString& letters) : api_(api) {
        api_.SetVariable("tessedit_char_blacklist", letters.toUtf8().constData());
    }
    ~BlacklistScope() { api_.SetVariable("tessedit_char_blacklist", ""); }
    BlacklistScope(const BlacklistScope&) = delete;
    BlacklistScope& operator=(const BlacklistScope&) = delete;

private:
    tesseract::TessBaseAPI& api_;
};

// One band of the page, an area of its pixels, read on one engine. Boxes come back in
// the original picture's pixels.
std::vector<LineWords> readBand(const PreparedPage& page, const QRect& area, const EngineSettings& settings,
                                const QString& whitelist, const QString& blacklist, ComputeDevice device,
                                const std::stop_token& stop) {
    checkCancellation(stop);
    const PreparedPage::Strip strip = page.strip(area);
    const QImage& band = strip.image;

    EnginePool::Lease engine =
        device == ComputeDevice::cpu ? EnginePool::fresh(settings) : EnginePool::shared().acquire(settings, stop);
    tesseract::TessBaseAPI& api = engine->api();
    const BlacklistScope excluded(api, blacklist);
    const bool restricted = !whitelist.isEmpty();
    api.SetPageSegMode(restricted ? tesseract::PSM_SINGLE_LINE : tesseract::PSM_AUTO);
    api.SetVariable("tessedit_char_whitelist", restricted ? whitelist.toUtf8().constData() : "");
    api.SetImage(band.constBits(), band.width(), band.height(), 1, static_cast<int>(band.bytesPerLine()));
    const int resolution = std::max(70, static_cast<int>(std::lround(96 * page.scale)));
    api.SetSourceResolution(resolution);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &stopRequested;
    monitor.cancel_this = const_cast<std::stop_token*>(&stop);
    const int status = api.Recognize(&monitor);
    if (restricted) {
        // Engines are lent out again: the next reading gets the whole alphabet.
        api.SetVariable("tessedit_char_whitelist", "");
        api.SetPageSegMode(tesseract::PSM_AUTO);
    }
    checkCancellation(stop);
    if (status != 0)
        throw RecognitionError("the text recognizer could not read the picture");

    std::vector<LineWords> lines = collectLines(api);
    if (restricted) {
        api.Clear();
        // With only figure characters to choose from, a point can still go missing
        // ("7.47" read "747"): the ink places it.
        const std::vector<InkShape> shapes = inkShapes(band, inkThreshold(band));
        const double glyph = page.glyphHeight.value_or(10.0) * page.scale;
        for (LineWords& line : lines)
            for (WordBox& word : line.words)
                if (const std::optional<QString> pointed = pointedFromInk(word, shapes, glyph))
                    word.text = *pointed;
        for (LineWords& line : lines) {
            line.box = strip.toOriginal(line.box);
            for (WordBox& word : line.words) {
                word.box = strip.toOriginal(word.box);
                for (GlyphBox& glyph : word.glyphs)
                    glyph.box = strip.toOriginal(glyph.box);
            }
        }
        return lines;
    }
    const double glyph = page.glyphHeight.value_or(10.0) * page.scale;
    const int threshold = inkThreshold(band);
    const std::vector<InkShape> shapes = inkShapes(band, threshold);
    rereadSmallLines(api, page, strip, lines, shapes, monitor);
    // While each word's glyphs still spell it.
    restoreMarkedZeros(lines, band, threshold, shapes);
    restoreClosedEights(lines, band, threshold, shapes);
    restoreDollarFives(lines, shapes);
    // Before fixed-width lines are spaced by their grid.
    restoreSpacesBeforeBrackets(lines, shapes, glyph);
    joinSplitWords(lines, shapes, glyph);
    respaceMonospaceLines(lines, band, threshold, shapes);
    joinNarrowMonospaceGaps(lines, band, threshold, shapes);
    rereadUnsureWords(api, band, lines, shapes, monitor);
    rereadSingleGlyphs(api, band, resolution, lines, shapes, glyph, tesseract::PSM_AUTO, monitor);
    restoreDashes(lines, glyph);
    restoreMonospaceHyphens(lines, shapes);
    restoreDoubleHyphens(lines, band, shapes, glyph);
    restoreMiddleDots(lines, glyph, shapes, band);
    restoreApostrophes(lines, band, shapes, glyph);
    settleAccents(lines, band, threshold, blacklist);
    restoreInvertedMarks(lines, shapes, glyph);
    restoreCapitals(lines);
    dropStackedLines(lines, shapes, band.height());
    joinRowPieces(api, band, threshold, lines, monitor);
    // The picture's own top and bottom in the band; a cut between bands runs along blank rows.
    const int pad = strip.padding;
    const QRect picture = band.rect().adjusted(pad, area.top() == 0 ? pad : -band.height(), -pad,
                                               area.bottom() + 1 == page.image.height() ? -pad : band.height());
    std::vector<LineWords> lone = readLoneGlyphs(api, band, resolution, picture, shapes, lines, glyph, monitor);
    // What was read again whole replaces the scraps the layout kept of it, under its
    // words: the line's box also reaches over a neighbour whose unsure reading was left out.
    for (const LineWords& found : lone) {
        for (LineWords& line : lines)
            std::erase_if(line.words, [&](const WordBox& word) {
                return std::any_of(found.words.begin(), found.words.end(),
                                   [&](const WordBox& kept) { return kept.box.contains(word.box.center()); });
            });
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
    for (LineWords& line : lone)
        lines.push_back(std::move(line));
    // The second look can read a glyph again beside its first reading.
    dropGlyphsWithoutCells(lines, band, threshold, shapes);
    // Words read again around a line's tail are spaced by its grid too.
    respaceMonospaceLines(lines, band, threshold, shapes);
    restoreDashRuns(lines, shapes, glyph);
    lowerShortCapitals(lines, shapes);
    restoreLostSpaces(lines, shapes, glyph);
    // After the second look: a word read again comes back in the recognizer's case.
    restoreLetterCase(lines, shapes);
    restoreSmallEll(lines, band, threshold, shapes);
    restorePeriods(lines, shapes);
    restoreFinalPeriods(lines, shapes);
    restoreEllMarks(lines, band, threshold, shapes);
    restoreBarlessSevens(lines, band, threshold, shapes);
    restoreLostPeriods(lines, band, threshold, shapes);
    restoreFileModes(lines);
    // Last: while a rule's marks stand, its ink is covered and not read again as lone.
    dropStrayMarks(lines, band, threshold, glyph);
    dropGlyphCuts(lines, glyph);
    dropInklessQuotes(lines, band, threshold);
    dropControlMarks(lines, band, threshold, shapes, glyph);
    dropDetachedDots(lines, shapes);
    dropIconWords(lines, band, threshold, shapes, glyph);
    dropTitleBarControls(lines, band, threshold, shapes, glyph);
    markListLines(lines, band, threshold, shapes, glyph);
    restorePoints(api, band, lines, shapes, glyph, monitor);
    checkCancellation(stop);
    api.Clear();
    for (LineWords& line : lines) {
        line.box = strip.toOriginal(line.box);
        for (WordBox& word : line.words) {
            word.box = strip.toOriginal(word.box);
            for (GlyphBox& glyph : word.glyphs)
                glyph.box = strip.toOriginal(glyph.box);
        }
    }
    return lines;
}

// Each column of the page is cut into bands of its own.
std::vector<QRect> bandsOf(const PreparedPage& page) {
    const QImage& image = page.image;
    const int threads = std::max(1, QThread::idealThreadCount());
    std::vector<QRect> bands;
    for (const QRect& column : columnRegions(image.size(), columnCuts(image, page.glyphHeight.value_or(0)))) {
        const QImage part = column.width() == image.width() ? image : image.copy(column);
        const double pixels = static_cast<double>(column.width()) * column.height() * page.scale * page.scale;
        const int parts = std::clamp(static_cast<int>(pixels / pixelsPerBand), 1, 2 * threads);
        int top = 0;
        for (const int cut : bandCuts(part, parts)) {
            bands.emplace_back(column.left(), top, column.width(), cut - top);
            top = cut;
        }
        bands.emplace_back(column.left(), top, column.width(), image.height() - top);
    }
    return bands;
}

// Bands with more ink hold more text and take longer to read. They start first, so that
// the bands still running at the end are short ones and no core idles long while another
// finishes a long band.
std::vector<std::size_t> mostInkFirst(const QImage& gray, int threshold, const std::vector<QRect>& bands) {
    std::vector<std::size_t> order(bands.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (bands.size() < 2)
        return order;
    std::vector<long> ink(bands.size(), 0);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const QRect& band = bands[i];
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const uchar* line = gray.constScanLine(y) + band.left();
            ink[i] += std::count_if(line, line + band.width(), [&](uchar v) { return v < threshold; });
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ink[a] > ink[b]; });
    return order;
}

// A glyph boxed over two cells' ink of a fixed-width page is read again cell by cell,
// each alone and larger as one character; the letter first read stays for the last cell.
void rereadSwallowedGlyphs(std::vector<LineWords>& lines, const PreparedPage& page, const std::vector<InkShape>& shapes,
                           const EngineSettings& settings, const QString& blacklist, ComputeDevice device,
                           const std::stop_token& stop) {
    const std::vector<SwallowedGlyph> found = swallowedGlyphs(lines, shapes);
    if (found.empty())
        return;
    EnginePool::Lease engine =
        device == ComputeDevice::cpu ? EnginePool::fresh(settings) : EnginePool::shared().acquire(settings, stop);
    tesseract::TessBaseAPI& api = engine->api();
    const BlacklistScope excluded(api, blacklist);
    api.SetPageSegMode(tesseract::PSM_SINGLE_CHAR);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &stopRequested;
    monitor.cancel_this = const_cast<std::stop_token*>(&stop);
    const double glyph = page.glyphHeight.value_or(10.0);
    const auto readCell = [&](const QRect& ink, const QRectF& row) -> std::optional<QString> {
        const QRect area = QRect(ink.left(), static_cast<int>(std::floor(row.top())), ink.width(),
                                 static_cast<int>(std::ceil(row.height())))
                               .adjusted(-1, -1, 1, 1) &
                           page.image.rect();
        if (area.isEmpty())
            return std::nullopt;
        const QImage crop = page.image.copy(area);
        for (const int scale : {2, 3}) {
            const std::optional<std::vector<LineWords>> read = readEnlarged(api, crop, scale, glyph, monitor);
            if (!read)
                return std::nullopt;
            if (read->size() == 1 && read->front().words.size() == 1 &&
                read->front().words.front().confidence >= loneGlyphConfidence &&
                read->front().words.front().text.size() == 1)
                return read->front().words.front().text;
        }
        return std::nullopt;
    };
    // Last first: a word split in two moves the ones after it.
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        std::vector<WordBox>& words = lines[it->line].words;
        const WordBox& word = words[it->word];
        QString letters;
        for (std::size_t i = 0; i + 1 < it->cells.size(); ++i) {
            const std::optional<QString> letter = readCell(it->cells[i], word.box);
            if (!letter)
                break;
            letters += *letter;
        }
        if (letters.size() + 1 != static_cast<qsizetype>(it->cells.size()))
            continue;
        letters += word.glyphs[it->glyph].text;
        if (std::optional<std::vector<WordBox>> split = withCellGlyphs(word, *it, letters)) {
            const auto at = words.erase(words.begin() + static_cast<std::ptrdiff_t>(it->word));
            words.insert(at, split->begin(), split->end());
        }
    }
    // Engines are lent out again.
    api.SetPageSegMode(tesseract::PSM_AUTO);
    checkCancellation(stop);
}

}  // namespace

QThreadPool& recognitionPool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;  // lives for the process, like the engines it feeds
        p->setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        p->setExpiryTimeout(-1);
        return p;
    }();
    return *pool;
}

ComputeStageDevices RecognizeTextRequest::supportedComputeStageDevices() const {
    return {{ComputeStage::main, {ComputeDevice::sharedEngine, ComputeDevice::cpu}}};
}

void RecognizeTextRequest::setComputeDevice(ComputeDevice device, ComputeStage /*stage*/) { device_ = device; }

RecognizeTextRequest::Result RecognizeTextRequest::perform(const QImage& picture, std::stop_token stop) const {
    checkCancellation(stop);
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return {};
    const PreparedPage page = preparePage(picture, recognitionLevel == RecognitionLevel::accurate);
    if (page.image.isNull())
        throw RecognitionError("the picture cannot be converted for recognition");
    const EngineSettings settings{engineLanguages(recognitionLanguages), usesLanguageCorrection};
    const QString foreignLetters = foreignMarkedLetters(recognitionLanguages);

    // One line of a few characters is read whole.
    const auto bands = characterWhitelist.isEmpty() ? bandsOf(page) : std::vector<QRect>{page.image.rect()};
    const int pageThreshold = inkThreshold(page.image);
    std::vector<QFuture<BandResult>> running(bands.size());
    for (const std::size_t band : mostInkFirst(page.image, pageThreshold, bands)) {
        running[band] = QtConcurrent::run(&recognitionPool(), [&page, area = bands[band], &settings,
                                                                &whitelist = characterWhitelist, &foreignLetters,
                                                                device = device_, &stop] {
            BandResult result;
            try {
                result.lines = readBand(page, area, settings, whitelist, foreignLetters, device, stop);
            } catch (...) {
                result.error = std::current_exception();
            }
            return result;
        });
    }
    std::vector<BandResult> results;
    results.reserve(running.size());
    for (auto& future : running)
        results.push_back(future.result());  // waits; every band ends before `page` does
    checkCancellation(stop);
    for (const BandResult& result : results) {
        if (result.error)
            std::rethrow_exception(result.error);
    }

    // A list runs across bands; its markers are made alike over the whole picture.
    std::vector<LineWords> lines;
    for (BandResult& result : results)
        std::move(result.lines.begin(), result.lines.end(), std::back_inserter(lines));
    settleMarkerCorners(lines, page.image);
    unifyListMarkers(lines, page.glyphHeight.value_or(10.0));
    dropCutLines(lines, page.image, pageThreshold);
    const std::vector<InkShape> pageShapes = inkShapes(page.image, pageThreshold);
    dropEdgeGlyphs(lines, page.image.width(), pageShapes);
    if (characterWhitelist.isEmpty())
        rereadSwallowedGlyphs(lines, page, pageShapes, settings, foreignLetters, device_, stop);
    settleLookAlikes(lines, page.image, pageShapes);
    restoreOptionLetterO(lines, pageShapes);
    rebuildFileModes(lines, page.image, pageThreshold);
    foldForeignMarks(lines, recognitionLanguages);
    dropDoubledCapitals(lines);
    dropDoubledSharpS(lines);
    readSharpS(lines, recognitionLanguages);
    restoreSmallL(lines);
    restoreDoubleL(lines, page.image, pageShapes, recognitionLanguages);
    restoreClosingQuotes(lines, recognitionLanguages);
    settleQuotePairs(lines, page.image, pageShapes);
    followApostropheStyle(lines);
    settleBracketPairs(lines, page.image, pageThreshold, pageShapes);

    const QSizeF size = picture.size();
    const QRectF bounds(QPointF(0, 0), size);
    const double minimumHeight = minimumTextHeightFraction * picture.height();
    Result observations;
    for (const LineWords& line : lines) {
        LineWords original{line.box & bounds, {}};
        for (const WordBox& word : line.words)
            original.words.push_back({word.text, word.box & bounds, word.confidence});
        for (const LineWords& fragment : splitAtWideGaps(original)) {
            if (fragment.box.height() < minimumHeight)
                continue;
            observations.push_back(observationFor(fragment, size));
        }
    }
    return observations;
}

}  // namespace Platform::Recognition
