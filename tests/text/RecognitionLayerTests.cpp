// The recognition layer under the reader: line fragments, picture preparation, language
// names and the recognizers' own handling of odd input.

#include "platform/async/Cancellation.h"
#include "platform/recognition/Apostrophes.h"
#include "platform/recognition/ControlMarks.h"
#include "platform/recognition/DashRuns.h"
#include "platform/recognition/Dashes.h"
#include "platform/recognition/DetectBarcodesRequest.h"
#include "platform/recognition/FigurePoints.h"
#include "platform/recognition/GlyphHeights.h"
#include "platform/recognition/IconWords.h"
#include "platform/recognition/InklessMarks.h"
#include "platform/recognition/InvertedMarks.h"
#include "platform/recognition/LetterCase.h"
#include "platform/recognition/LineFragments.h"
#include "platform/recognition/ListMarkers.h"
#include "platform/recognition/LostSpaces.h"
#include "platform/recognition/MiddleDots.h"
#include "platform/recognition/PagePreparation.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "platform/recognition/SingleGlyphs.h"
#include "platform/recognition/StrayMarks.h"
#include "platform/recognition/TesseractEngine.h"
#include "platform/recognition/TesseractLanguages.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

WordBox word(const QString& text, double left, double width) { return {text, QRectF(left, 12, width, 11), 0.9f}; }

TEST(LineFragments, WideGapsSplitALineAndWordSpacesDoNot) {
    // A row of three short cells: Tesseract reads it as one line of four words.
    const LineWords row{QRectF(20, 10, 420, 16),
                        {word("Apples", 20, 48), word("12", 220, 16), word("3.40", 400, 30), word("kg", 436, 14)}};
    const auto fragments = splitAtWideGaps(row);
    ASSERT_EQ(fragments.size(), 3u);
    EXPECT_EQ(fragments[0].words.size(), 1u);
    EXPECT_EQ(fragments[2].words.size(), 2u);
    // Each fragment spans its words across and the line's height down.
    EXPECT_EQ(fragments[1].box, QRectF(220, 10, 16, 16));
    EXPECT_EQ(fragments[2].box, QRectF(400, 10, 50, 16));

    // Spaces of up to nearly a line height, as in justified text, keep the line whole.
    const LineWords prose{QRectF(0, 0, 200, 16), {word("wide", 0, 40), word("apart", 55, 40), word("text", 110, 40)}};
    EXPECT_EQ(splitAtWideGaps(prose).size(), 1u);
    EXPECT_TRUE(splitAtWideGaps({QRectF(0, 0, 10, 10), {word("  ", 0, 5)}}).empty());
}

TEST(LineFragments, AFragmentBecomesOneObservationWithWordRanges) {
    const LineWords fragment{QRectF(100, 50, 60, 20), {word("to", 100, 20), word("be", 140, 20)}};
    const RecognizedTextObservation observation = observationFor(fragment, QSizeF(400, 200));
    ASSERT_EQ(observation.candidates.size(), 1u);
    const RecognizedText& text = observation.candidates.front();
    EXPECT_EQ(text.string, "to be");
    // Normalized with the origin at the bottom left.
    EXPECT_EQ(observation.boundingBox, QRectF(0.25, 0.65, 0.15, 0.1));
    const auto second = text.boundingBox({3, 2});
    ASSERT_TRUE(second.has_value());
    EXPECT_DOUBLE_EQ(second->left(), 140.0 / 400);
    EXPECT_EQ(text.boundingBox({0, 5}), observation.boundingBox);
    EXPECT_FALSE(text.boundingBox({2, 1}).has_value());  // the space between them
}

TEST(MiddleDots, ALoneDotHalfwayUpTheXHeightIsAMiddleDot) {
    // Words on a baseline at 30, glyphs 12.5 high.
    const auto at = [](const QString& text, double left, double top, double width, double height) {
        return WordBox{text, QRectF(left, top, width, height), 0.9f};
    };
    std::vector<LineWords> lines{
        {QRectF(0, 15, 400, 20),
         {at("Maria", 0, 18, 50, 12), at(":", 60, 22, 3, 3), at("09:41", 70, 18, 45, 12), at(".", 125, 27, 3, 3),
          at("end", 135, 21, 30, 9), at(":", 175, 21, 3, 9), at("x", 185, 21, 8, 9), at("-", 200, 24, 6, 2),
          at("y", 215, 21, 8, 9), at(":", 230, 22, 3, 3)}},
    };
    restoreMiddleDots(lines, 12.5);
    QStringList texts;
    for (const WordBox& word : lines.front().words)
        texts.append(word.text);
    // The dot halfway up turns; a period on the baseline, a colon as tall as the
    // x-height, a flat hyphen and a dot that ends the line stay.
    EXPECT_EQ(texts, QStringList({"Maria", "\u00b7", "09:41", ".", "end", ":", "x", "-", "y", ":"}));
}

// A list item's line: its marker and one word, for glyphs 10 high.
LineWords listItem(const QString& marker, double left, double top) {
    return LineWords{QRectF(left, top, 300, 14),
                     {WordBox{marker, QRectF(left, top + 4, 6, 6), 1.0f}, WordBox{"item", QRectF(left + 16, top, 40, 14), 0.9f}}};
}

TEST(ListMarkers, OneListKeepsOneMarkerShape) {
    const QString disc = markerText(MarkerShape::disc);
    const QString square = markerText(MarkerShape::square);
    // An item 20 pixels below the last.
    const auto item = listItem;
    std::vector<LineWords> lines{
        item(disc, 20, 0),     item(square, 20, 20),  // one blurred into a square
        item(square, 52, 40),  item(disc, 52, 60), item(square, 52, 80),  // a nested list of squares
        item(disc, 20, 100),
        item(square, 20, 300), item(square, 20, 320),  // another list far below
        item(disc, 200, 0),    item(square, 200, 20),  // a tie stays as read
    };
    unifyListMarkers(lines, 10);
    QStringList markers;
    for (const LineWords& line : lines)
        markers.append(line.words.front().text);
    EXPECT_EQ(markers, QStringList({disc, disc, square, square, square, disc, square, square, disc, square}));
}

// A dash of `length` glyph heights, flat or as tall as a sign.
WordBox dash(const QString& text, double left, double length, double height = 3) {
    return {text, QRectF(left, 18, length * 12.5, height), 0.9f};
}

TEST(Dashes, ALoneDashBetweenWordsIsToldByItsLength) {
    LineWords line{QRectF(0, 10, 600, 20),
                   {word("pages", 0, 50), dash("-", 60, 0.56), word("to", 80, 20), dash("-", 110, 0.8),
                    word("so", 130, 20), dash("-", 160, 1.7), word("and", 190, 30), dash("\u2014", 230, 0.88),
                    word("or", 250, 20), dash("\u2014", 280, 1.12), word("end", 300, 30)}};
    std::vector<LineWords> lines{line};
    restoreDashes(lines, 12.5);
    QStringList texts;
    for (const WordBox& w : lines.front().words)
        texts.append(w.text);
    // A hyphen stays; long enough it is an en dash, longer an em dash; an em dash as
    // short as an en dash is one; a monospace dash, between the two, keeps its reading.
    EXPECT_EQ(texts, QStringList({"pages", "-", "to", "\u2013", "so", "\u2014", "and", "\u2013", "or", "\u2014", "end"}));

    // At the ends of a line a dash is a list marker or cut off; a tall box is another
    // sign; an unknown glyph height leaves everything alone.
    std::vector<LineWords> edges{{QRectF(0, 10, 300, 20),
                                  {dash("-", 0, 0.8), word("item", 20, 40), dash("-", 70, 0.9, 11), word("x", 90, 10),
                                   dash("-", 110, 0.8)}}};
    const std::vector<LineWords> before = edges;
    restoreDashes(edges, 12.5);
    for (std::size_t i = 0; i < edges.front().words.size(); ++i)
        EXPECT_EQ(edges.front().words[i].text, before.front().words[i].text) << i;
    std::vector<LineWords> unknown{line};
    restoreDashes(unknown, 0);
    EXPECT_EQ(unknown.front().words[3].text, "-");
}

TEST(StrayMarks, MarksReadOffRulesOrOffNothingGoAndGlyphsStay) {
    // A grid of light rules, scaled for the recognizer: a vertical rule from the top of a
    // table to its foot, a horizontal one under the last row.
    QImage gray(300, 160, QImage::Format_Grayscale8);
    gray.fill(255);
    // An input field's frame below, its text inside.
    for (int x = 20; x <= 200; ++x)
        gray.scanLine(120)[x] = gray.scanLine(150)[x] = 160;
    for (int y = 120; y <= 150; ++y)
        gray.scanLine(y)[20] = gray.scanLine(y)[200] = 160;
    for (int y = 10; y <= 100; ++y)
        gray.scanLine(y)[150] = 140;
    for (int x = 10; x <= 290; ++x)
        gray.scanLine(100)[x] = 140;
    // A "|" typed in the text: its ink is its own box.
    for (int y = 40; y <= 56; ++y)
        gray.scanLine(y)[60] = 20;
    // The other words have strokes of their own.
    for (const QRect& glyph : {QRect(30, 44, 8, 12), QRect(80, 44, 8, 12), QRect(30, 78, 8, 12), QRect(30, 128, 8, 12)})
        for (int y = glyph.top(); y <= glyph.bottom(); ++y)
            std::fill_n(gray.scanLine(y) + glyph.left(), 2, uchar{20});
    const auto wordAt = [](const QString& text, QRectF box) { return WordBox{text, box, 0.9f}; };
    std::vector<LineWords> lines{
        {QRectF(20, 36, 260, 24),
         {wordAt("a", QRectF(30, 44, 8, 12)), wordAt("|", QRectF(57, 40, 6, 17)), wordAt("b", QRectF(80, 44, 8, 12)),
          wordAt("|", QRectF(146, 36, 9, 24)), wordAt("cell", QRectF(170, 44, 30, 12)),
          // Read off the blank between two words.
          wordAt("|", QRectF(230, 34, 10, 28)), wordAt("cell", QRectF(250, 44, 30, 12))}},
        // The last row: the rule ends just below the mark; a "—" read off the rule beneath.
        {QRectF(20, 70, 260, 32),
         {wordAt("x", QRectF(30, 78, 8, 12)), wordAt("l", QRectF(147, 72, 7, 30)), wordAt("\u2014", QRectF(200, 97, 20, 5)),
          wordAt("wide", QRectF(240, 78, 30, 12))}},
        // A line of nothing but a mark goes with it.
        {QRectF(140, 20, 20, 12), {wordAt("|", QRectF(146, 20, 8, 12))}},
        // The frame's side read as a bracket.
        {QRectF(18, 119, 60, 32), {wordAt("[", QRectF(19, 119, 4, 32)), wordAt("x", QRectF(30, 128, 8, 12))}},
    };
    dropStrayMarks(lines, gray, 128, 12.5);
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(lines[2].words.size(), 1u);
    EXPECT_EQ(lines[2].words.front().text, "x");
    QStringList first, second;
    for (const WordBox& word : lines[0].words)
        first.append(word.text);
    for (const WordBox& word : lines[1].words)
        second.append(word.text);
    EXPECT_EQ(first, QStringList({"a", "|", "b", "cell", "cell"}));
    EXPECT_EQ(second, QStringList({"x", "wide"}));
    // The line stood as tall as the rule; now as tall as its words.
    EXPECT_EQ(lines[1].box.top(), 78);
    EXPECT_EQ(lines[1].box.height(), 12);
}

QImage textPicture(QColor ground, QColor ink, int pixels) {
    QImage picture(400, 80, QImage::Format_RGB32);
    picture.fill(ground);
    QPainter painter(&picture);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QPointF(10, 40), QStringLiteral("measure the height of these glyphs"));
    return picture;
}

TEST(PagePreparation, DarkGroundsAreInvertedAndSmallTextIsScaledUp) {
    const PreparedPage light = preparePage(textPicture(Qt::white, Qt::black, 11));
    EXPECT_FALSE(light.inverted);
    ASSERT_TRUE(light.glyphHeight.has_value());
    EXPECT_GT(light.scale, 1.5);
    const PreparedPage dark = preparePage(textPicture(QColor(0x20, 0x20, 0x28), QColor(0xe0, 0xe0, 0xe0), 11));
    EXPECT_TRUE(dark.inverted);
    EXPECT_NEAR(dark.scale, light.scale, 0.05);
    // After inverting, the ground is light like any other page.
    EXPECT_GT(qGray(dark.image.pixel(2, 2)), 200);
    // Big text is read at its own size; fast reading never scales up.
    EXPECT_EQ(preparePage(textPicture(Qt::white, Qt::black, 30)).scale, 1.0);
    EXPECT_EQ(preparePage(textPicture(Qt::white, Qt::black, 11), false).scale, 1.0);
}

TEST(PagePreparation, StripsAreScaledAndPaddedAndMapBack) {
    const QImage picture = textPicture(Qt::white, Qt::black, 11);
    const PreparedPage page = preparePage(picture);
    EXPECT_EQ(page.image.size(), picture.size());
    const PreparedPage::Strip strip = page.strip(20, 60);
    EXPECT_EQ(strip.image.width(), qRound(picture.width() * page.scale) + 2 * strip.padding);
    EXPECT_EQ(strip.image.height(), qRound(40 * page.scale) + 2 * strip.padding);
    EXPECT_EQ(qGray(strip.image.pixel(1, 1)), 255);
    const QRectF original(10, 30, 100, 12);
    const QRectF inStrip(original.x() * strip.scaleX + strip.padding, (original.y() - 20) * strip.scaleY + strip.padding,
                         original.width() * strip.scaleX, original.height() * strip.scaleY);
    const QRectF back = strip.toOriginal(inStrip);
    EXPECT_NEAR(back.x(), 10, 1e-9);
    EXPECT_NEAR(back.bottom(), 42, 1e-9);
}

TEST(PagePreparation, ADarkPanelWithTextTurnsLightButABoldLetterKeepsItsInk) {
    QImage picture(600, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        painter.setFont(font);
        painter.drawText(QPointF(10, 40), QStringLiteral("measure the height of these glyphs"));
        painter.fillRect(330, 0, 120, 80, QColor(0x20, 0x20, 0x20));
        painter.setPen(QColor(0xe0, 0xe0, 0xe0));
        painter.drawText(QPointF(340, 40), QStringLiteral("Panel text"));
        // As solid as a panel, but it holds no text.
        font.setPixelSize(60);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(480, 80), QStringLiteral("N"));
    }
    const PreparedPage page = preparePage(picture);
    EXPECT_FALSE(page.inverted);
    // The panel's ground is white now, like the page's, and its text dark.
    EXPECT_EQ(qGray(page.image.pixel(440, 75)), 255);
    EXPECT_EQ(qGray(page.image.pixel(5, 75)), 255);
    int darkInPanel = 0;
    for (int x = 340; x < 440; ++x)
        darkInPanel += qGray(page.image.pixel(x, 36)) < 128 ? 1 : 0;
    EXPECT_GT(darkInPanel, 5);
    int darkInLetter = 0;
    for (int x = 480; x < 540; ++x)
        darkInLetter += qGray(page.image.pixel(x, 60)) < 128 ? 1 : 0;
    EXPECT_GT(darkInLetter, 12);
}

TEST(PagePreparation, TransparentAndEmptyPicturesAreSafe) {
    QImage clear(50, 50, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    // A transparent ground is white, not black text everywhere.
    EXPECT_EQ(qGray(grayPicture(clear).pixel(10, 10)), 255);
    EXPECT_FALSE(medianGlyphHeight(grayPicture(clear)).has_value());
    EXPECT_TRUE(preparePage(QImage()).image.isNull());
    EXPECT_TRUE(RecognizeTextRequest{}.perform(QImage()).empty());
    EXPECT_TRUE(DetectBarcodesRequest{}.perform(QImage()).empty());
}

TEST(TextRequest, SliversAndSpecksAreReadWithoutTrouble) {
    for (const QSize size : {QSize(1, 1), QSize(3, 900), QSize(2000, 4)}) {
        QImage sliver(size, QImage::Format_RGB32);
        sliver.fill(Qt::white);
        sliver.setPixel(0, 0, qRgb(0, 0, 0));
        EXPECT_TRUE(RecognizeTextRequest{}.perform(sliver).empty()) << size.width() << "x" << size.height();
        EXPECT_TRUE(DetectBarcodesRequest{}.perform(sliver).empty());
    }
}

TEST(PagePreparation, BandsAreCutOnlyBetweenLinesOfInk) {
    QImage page(200, 400, QImage::Format_Grayscale8);
    page.fill(255);
    for (int line = 0; line < 10; ++line)
        for (int y = line * 40 + 10; y < line * 40 + 30; ++y)
            std::fill_n(page.scanLine(y) + 20, 150, 0);
    const auto cuts = bandCuts(page, 4);
    ASSERT_EQ(cuts.size(), 3u);
    for (const int cut : cuts)
        EXPECT_TRUE(cut % 40 < 10 || cut % 40 >= 30) << cut;
    EXPECT_TRUE(std::is_sorted(cuts.begin(), cuts.end()));
    // A picture without blank rows is not cut.
    QImage full(100, 100, QImage::Format_Grayscale8);
    full.fill(0);
    EXPECT_TRUE(bandCuts(full, 4).empty());
}

TEST(TesseractLanguages, IdentifiersMapToTraineddataNames) {
    EXPECT_EQ(traineddataName("en-US"), "eng");
    EXPECT_EQ(traineddataName("en"), "eng");
    EXPECT_EQ(traineddataName("de-DE"), "deu");
    EXPECT_EQ(traineddataName("en-Latn-US"), "eng");
    EXPECT_EQ(traineddataName("zh-Hans"), "chi_sim");
    EXPECT_EQ(traineddataName("zh-Hant-TW"), "chi_tra");
    EXPECT_EQ(traineddataName("zh-TW"), "chi_tra");
    EXPECT_EQ(traineddataName("pt_BR"), "por");
    EXPECT_EQ(traineddataName("sr-Latn"), "srp_latn");
    EXPECT_FALSE(traineddataName("tlh").has_value());
    // Only installed models are loaded; nothing usable falls back to English.
    EXPECT_EQ(engineLanguages({}), "eng");
    EXPECT_EQ(engineLanguages({"tlh", "en-GB", "en-US"}), "eng");
    EXPECT_TRUE(installedTraineddata().contains("eng"));
    EXPECT_FALSE(installedTraineddata().contains("osd"));
}

TEST(TesseractLanguages, LatinLanguagesWithoutAModelAreReadWithTheLatinScriptModel) {
    const QStringList englishOnly{"eng"};
    const QStringList withLatin{"Latin", "eng", "deu", "jpn"};
    EXPECT_EQ(engineLanguages({"de-DE", "fr"}, englishOnly), "eng");
    EXPECT_EQ(engineLanguages({"en-US"}, withLatin), "eng");
    EXPECT_EQ(engineLanguages({"de"}, withLatin), "deu");
    // French has no model of its own: the Latin model reads English and German with it,
    // while Japanese keeps its own.
    EXPECT_EQ(engineLanguages({"en", "fr-FR", "de", "ja"}, withLatin), "Latin+jpn");
    EXPECT_EQ(engineLanguages({"ru"}, withLatin), "eng");
    EXPECT_TRUE(isLatinScript("vi"));
    EXPECT_TRUE(isLatinScript("sr-Latn"));
    EXPECT_FALSE(isLatinScript("sr"));
    EXPECT_FALSE(isLatinScript("uz-Cyrl"));
}

TEST(TextRequest, AStopEndsTheRecognitionWithACancellation) {
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(RecognizeTextRequest{}.perform(textPicture(Qt::white, Qt::black, 14), stop.get_token()),
                 Platform::CancellationError);
    EXPECT_THROW(DetectBarcodesRequest{}.perform(textPicture(Qt::white, Qt::black, 14), stop.get_token()),
                 Platform::CancellationError);
}

TEST(BarcodeRequest, SymbologiesAreReportedAsTheReaderNamesThem) {
    auto draw = [](ZXing::BarcodeFormat format, const std::string& content) {
        const ZXing::BitMatrix m = ZXing::MultiFormatWriter(format).setMargin(10).encode(content, 300, 100);
        QImage picture(m.width(), m.height(), QImage::Format_Grayscale8);
        for (int y = 0; y < m.height(); ++y)
            for (int x = 0; x < m.width(); ++x)
                picture.scanLine(y)[x] = m.get(x, y) ? 0 : 255;
        return picture;
    };
    // A UPC-A is an EAN-13 led by a zero, as the system's recognizer reports it.
    const auto upc = DetectBarcodesRequest{}.perform(draw(ZXing::BarcodeFormat::UPCA, "03600029145"));
    ASSERT_EQ(upc.size(), 1u);
    EXPECT_EQ(upc.front().symbology, BarcodeSymbology::ean13);
    EXPECT_EQ(upc.front().payloadString, "0036000291452");
    const auto itf = DetectBarcodesRequest{}.perform(draw(ZXing::BarcodeFormat::ITF, "10012345000017"));
    ASSERT_EQ(itf.size(), 1u);
    EXPECT_EQ(itf.front().symbology, BarcodeSymbology::itf14);
    // Boxes are normalized with the origin at the bottom left.
    EXPECT_GT(itf.front().boundingBox.left(), 0.0);
    EXPECT_LT(itf.front().boundingBox.right(), 1.0);
}

}  // namespace

TEST(PagePreparation, AGrayGroundBecomesWhiteLikeAStripsMargin) {
    for (const QColor& ground : {QColor(0xdd, 0xdd, 0xdd), QColor(0x30, 0x30, 0x30)}) {
        const QColor ink = ground.lightness() > 128 ? QColor(0x20, 0x20, 0x20) : QColor(0xe0, 0xe0, 0xe0);
        const PreparedPage page = preparePage(textPicture(ground, ink, 14));
        EXPECT_EQ(qGray(page.image.pixel(2, 2)), 255) << ground.name().toStdString();
        EXPECT_EQ(qGray(page.strip(0, 40).image.pixel(1, 1)), 255);
    }
}

namespace {

// Words drawn dark on white, as a band of the prepared page holds them.
QImage drawnWord(const QString& text, int width = 140, const char* family = "DejaVu Sans", int pixels = 19) {
    QImage picture(width, 40, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter painter(&picture);
    QFont font{QLatin1String(family)};
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.setPen(QColor(28, 28, 30));
    painter.drawText(QPointF(10, 28), text);
    return picture;
}

TEST(FigurePoints, AFigureReadWithoutThePointItsInkHoldsIsToldAndOnlyAPointedReadingStands) {
    const QRectF box(6, 6, 120, 28);
    const double glyph = 11;
    for (const auto& [drawn, read] : {std::pair{"5.7", "57"}, std::pair{"67.5", "6755"}, std::pair{"1,240", "1240"}}) {
        const QImage picture = drawnWord(QLatin1String(drawn));
        const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
        const WordBox word{QLatin1String(read), box, 0.93f};
        EXPECT_TRUE(missesPoint(word, shapes, glyph)) << drawn;
        EXPECT_TRUE(isPointedReading(QLatin1String(drawn), word, shapes, glyph)) << drawn;
        EXPECT_FALSE(isPointedReading(QLatin1String(read), word, shapes, glyph)) << drawn;
    }
    // No dot between the digits: a year, or a sentence's full stop after them.
    for (const auto& [drawn, read] : {std::pair{"2026", "2026"}, std::pair{"57.", "57"}}) {
        const QImage picture = drawnWord(QLatin1String(drawn));
        const WordBox word{QLatin1String(read), box, 0.93f};
        EXPECT_FALSE(missesPoint(word, inkShapes(picture, inkThreshold(picture)), glyph)) << drawn;
    }
    // A reading with a point the ink does not hold, or a digit more, does not stand.
    const QImage picture = drawnWord(QStringLiteral("5.7"));
    const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
    const WordBox word{QStringLiteral("57"), box, 0.93f};
    EXPECT_FALSE(isPointedReading(QStringLiteral("5.77"), word, shapes, glyph));
    EXPECT_FALSE(isPointedReading(QStringLiteral("5.7.1"), word, shapes, glyph));
}

TEST(ListMarkers, TheLastLetterOfACellReadAsALineOfItsOwnIsNoMarker) {
    // "Video" and "775" read as two lines, as the cells of a table row are: the ring of
    // the "o" stands where a marker the recognizer left out would.
    const QImage picture = drawnWord(QStringLiteral("Video    775"), 240);
    const int threshold = inkThreshold(picture);
    const std::vector<InkShape> shapes = inkShapes(picture, threshold);
    QRectF frame, figure;
    for (const InkShape& shape : shapes)
        (shape.box.center().x() < 75 ? frame : figure) |= QRectF(shape.box);
    std::vector<LineWords> lines{{frame, {WordBox{QStringLiteral("Video"), frame, 0.9f}}},
                                 {figure, {WordBox{QStringLiteral("775"), figure, 0.9f}}}};
    markListLines(lines, picture, threshold, shapes, 11);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].words.size(), 1);
    EXPECT_EQ(lines[1].words.front().text, QStringLiteral("775"));
}

TEST(ControlMarks, CheckBoxesAndChevronsReadAsTextGoAndLettersStay) {
    // A ticked and an empty check box, a drop-down's chevron, then the letters "v" and
    // "O" standing alone; each read as a word of its own.
    QImage picture(300, 40, QImage::Format_Grayscale8);
    picture.fill(255);
    {
        QPainter painter(&picture);
        painter.fillRect(QRect(10, 12, 14, 14), QColor(120, 120, 120));
        painter.setPen(QColor(90, 90, 90));
        painter.drawRect(QRect(50, 12, 13, 13));
        painter.setPen(QPen(QColor(40, 40, 40), 2));
        painter.drawPolyline(QPolygon({QPoint(90, 16), QPoint(96, 21), QPoint(102, 16)}));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(19);
        painter.setFont(font);
        painter.setPen(QColor(28, 28, 30));
        painter.drawText(QPointF(140, 28), QStringLiteral("v"));
        painter.drawText(QPointF(200, 28), QStringLiteral("O"));
    }
    const int threshold = inkThreshold(picture);
    const std::vector<InkShape> shapes = inkShapes(picture, threshold);
    const auto read = [](const char* text, double left, double width) {
        return WordBox{QLatin1String(text), QRectF(left, 8, width, 22), 0.8f};
    };
    std::vector<LineWords> lines{{QRectF(0, 8, 300, 22),
                                  {read("@", 8, 12), read("()", 48, 18), read("v", 88, 16), read("v", 138, 14),
                                   read("O", 198, 18)}}};
    dropControlMarks(lines, picture, threshold, shapes, 11);
    ASSERT_EQ(lines.size(), 1);
    QStringList kept;
    for (const WordBox& word : lines.front().words)
        kept.append(word.text);
    EXPECT_EQ(kept, QStringList({QStringLiteral("v"), QStringLiteral("O")}));
}

TEST(Apostrophes, ATypographicApostropheIsToldFromATypewriterOneByItsLean) {
    // A typewriter apostrophe stays in every font; a typographic one is told where its
    // lean spans a few pixels. Where it is not, the reading may go either way.
    for (const char* family : {"DejaVu Sans", "Noto Sans", "Liberation Sans", "Liberation Serif"}) {
        for (const int pixels : {10, 13, 16, 20}) {
            const bool tellable = QLatin1String(family).startsWith(QLatin1String("DejaVu")) ||
                                  QLatin1String(family).startsWith(QLatin1String("Noto"));
            for (const auto& [drawn, curly] : {std::pair{u"d\u2019an", tellable}, std::pair{u"d'an", false}}) {
                const QImage picture = drawnWord(QString::fromUtf16(drawn), 120, family, pixels);
                const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
                const double glyph = medianGlyphHeight(shapes, picture.height()).value_or(10);
                std::vector<LineWords> lines{{QRectF(5, 2, 110, 36), {WordBox{QStringLiteral("d'an"), QRectF(5, 2, 110, 36), 0.9f}}}};
                restoreApostrophes(lines, picture, shapes, glyph);
                if (curly != (drawn[1] == u'\u2019'))
                    continue;
                EXPECT_EQ(lines.front().words.front().text, curly ? QStringLiteral("d\u2019an") : QStringLiteral("d'an"))
                    << family << " " << pixels;
            }
        }
    }
}

TEST(InvertedMarks, AnExclamationMarkOpeningASentenceIsToldFromAnIByItsHangingStroke) {
    for (const char* family : {"DejaVu Sans", "Noto Sans", "Liberation Sans"}) {
        for (const int pixels : {13, 16, 20}) {
            for (const auto& [drawn, read, expected] : {std::tuple{u"\u00a1Gracias", "iGracias", u"\u00a1Gracias"},
                                                        std::tuple{u"\u00a1Gracias", "\u012fGracias", u"\u00a1Gracias"},
                                                        std::tuple{u"inglés", "inglés", u"inglés"}}) {
                const QImage picture = drawnWord(QString::fromUtf16(drawn), 160, family, pixels);
                const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
                const double glyph = medianGlyphHeight(shapes, picture.height()).value_or(10);
                const QRectF box(5, 2, 150, 36);
                std::vector<LineWords> lines{{box, {WordBox{QString::fromUtf8(read), box, 0.9f}}}};
                restoreInvertedMarks(lines, shapes, glyph);
                EXPECT_EQ(lines.front().words.front().text, QString::fromUtf16(expected)) << family << " " << pixels;
            }
        }
    }
}

// Hanging below the line, the mark is read twice, as "į" and as a "j" boxed between it and
// the next letter; a "j" of the word's own stays.
TEST(InvertedMarks, AMarkReadTwiceIsReadOnce) {
    for (const auto& [drawn, expected] : {std::pair{u"\u00a1Gracias", u"\u00a1Gracias"}, std::pair{u"\u00a1jam\u00e1s", u"\u00a1jam\u00e1s"}}) {
        const QImage picture = drawnWord(QString::fromUtf16(drawn), 160, "Liberation Sans", 20);
        const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
        const double glyph = medianGlyphHeight(shapes, picture.height()).value_or(10);
        // The ink by columns of overlapping shapes: the mark, then the next letter.
        std::vector<QRect> columns;
        for (const InkShape& shape : shapes) {
            const auto same = std::find_if(columns.begin(), columns.end(), [&](const QRect& column) {
                return shape.box.left() <= column.right() && shape.box.right() >= column.left();
            });
            if (same != columns.end())
                *same = same->united(shape.box);
            else
                columns.push_back(shape.box);
        }
        std::sort(columns.begin(), columns.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
        ASSERT_GE(columns.size(), 3U);
        const QRectF box(5, 2, 150, 36);
        const QRectF mark(columns[0]);
        const bool ownJ = drawn[1] == u'j';
        // Read twice, the "j" is boxed from the mark's right into the next letter's left half.
        const QRectF j = ownJ ? QRectF(columns[1])
                              : QRectF(mark.right() + 2, box.top(), columns[1].center().x() - mark.right() - 4, box.height());
        QRectF rest;
        for (std::size_t i = ownJ ? 2 : 1; i < columns.size(); ++i)
            rest = rest.united(QRectF(columns[i]));
        const QString tail = QString::fromUtf16(drawn).mid(ownJ ? 2 : 1);
        std::vector<LineWords> lines{{box,
                                      {WordBox{QStringLiteral("\u012fj") + tail, box, 0.9f,
                                               {GlyphBox{QStringLiteral("\u012f"), mark}, GlyphBox{QStringLiteral("j"), j},
                                                GlyphBox{tail, rest}}}}}};
        restoreInvertedMarks(lines, shapes, glyph);
        EXPECT_EQ(lines.front().words.front().text, QString::fromUtf16(expected));
    }
}

// A line drawn in DejaVu Sans Mono, 16 px, and its ink by character cells.
struct MonoLine {
    std::vector<InkShape> shapes;
    QRectF whole;
    double cell = 0;

    // The ink of cells [from, to), as tall as the line.
    QRectF span(int from, int to) const {
        QRectF box;
        for (const InkShape& shape : shapes)
            if (shape.box.center().x() >= 10 + from * cell && shape.box.center().x() < 10 + to * cell)
                box |= QRectF(shape.box);
        return QRectF(box.left(), whole.top(), box.width(), whole.height());
    }
};

MonoLine monoLine(const QString& text, int width) {
    const QImage picture = drawnWord(text, width, "DejaVu Sans Mono", 16);
    MonoLine line;
    line.shapes = inkShapes(picture, inkThreshold(picture));
    for (const InkShape& shape : line.shapes)
        line.whole |= QRectF(shape.box);
    QFont mono{QStringLiteral("DejaVu Sans Mono")};
    mono.setPixelSize(16);
    line.cell = QFontMetricsF(mono).horizontalAdvance(u'x');
    return line;
}

TEST(ShortCapitals, CapitalsNoTallerThanTheLinesSmallLettersAreMadeSmall) {
    // "-rw-------" read "-TW-------": its ink is no taller than the "x" of "alex".
    const MonoLine drawn = monoLine(QStringLiteral("-rw------- 7 alex STAFF"), 300);
    std::vector<LineWords> lines{{drawn.whole,
                                  {WordBox{QStringLiteral("-TW-------"), drawn.span(0, 10), 0.8f},
                                   WordBox{QStringLiteral("7"), drawn.span(11, 12), 0.9f},
                                   WordBox{QStringLiteral("alex"), drawn.span(13, 17), 0.9f},
                                   WordBox{QStringLiteral("STAFF"), drawn.span(18, 23), 0.9f}}}};
    lowerShortCapitals(lines, drawn.shapes);
    EXPECT_EQ(lines[0].words[0].text, QStringLiteral("-rw-------"));
    // Capitals as tall as the figure beside them stay.
    EXPECT_EQ(lines[0].words[3].text, QStringLiteral("STAFF"));
}

TEST(DashRuns, DashesTheLayoutLeftOutBesideAWordAreAsManyAsTheCellsTheySpan) {
    // "drw------- 2 root" read as "drw-", "-", "2", "root": five dashes went missing.
    const MonoLine drawn = monoLine(QStringLiteral("drw------- 2 root"), 260);
    const auto line = [&](std::vector<WordBox> words) {
        return std::vector<LineWords>{{drawn.whole, std::move(words)}};
    };
    std::vector<LineWords> lost = line({{QStringLiteral("drw-"), drawn.span(0, 4), 0.9f},
                                        {QStringLiteral("-"), drawn.span(9, 10), 0.5f},
                                        {QStringLiteral("2"), drawn.span(11, 12), 0.9f},
                                        {QStringLiteral("root"), drawn.span(13, 17), 0.9f}});
    restoreDashRuns(lost, drawn.shapes, 12);
    ASSERT_EQ(lost[0].words.size(), 3);
    EXPECT_EQ(lost[0].words[0].text, QStringLiteral("drw-------"));
    // Read whole, nothing is added.
    std::vector<LineWords> read = line({{QStringLiteral("drw-------"), drawn.span(0, 10), 0.9f},
                                        {QStringLiteral("2"), drawn.span(11, 12), 0.9f},
                                        {QStringLiteral("root"), drawn.span(13, 17), 0.9f}});
    restoreDashRuns(read, drawn.shapes, 12);
    EXPECT_EQ(read[0].words[0].text, QStringLiteral("drw-------"));
    EXPECT_EQ(read[0].words.size(), 3);
}

TEST(LostSpaces, APromptsSignACellFromTheCommandIsAWordOfItsOwn) {
    // "$ ls -l" read "$ls" and "-l"; letters stay one word however far apart their ink is.
    const MonoLine drawn = monoLine(QStringLiteral("$ ls -l i  l"), 200);
    std::vector<LineWords> lines{{drawn.whole,
                                  {WordBox{QStringLiteral("$ls"), drawn.span(0, 4), 0.8f},
                                   WordBox{QStringLiteral("-l"), drawn.span(5, 7), 0.9f},
                                   WordBox{QStringLiteral("il"), drawn.span(8, 12), 0.9f}}}};
    restoreLostSpaces(lines, drawn.shapes, 12);
    QStringList words;
    for (const WordBox& word : lines[0].words)
        words.append(word.text);
    EXPECT_EQ(words.join(u'|'), QStringLiteral("$|ls|-l|il"));
    EXPECT_LT(lines[0].words[0].box.right(), lines[0].words[1].box.left());
}

}  // namespace

TEST(MiddleDotInk, ADotBoxedAsTallAsItsLineIsToldByItsInk) {
    // A date line on a baseline at 30, glyphs 12 high: the recognizer boxes the dot
    // between "2026" and "1:30" from the line's top to below its baseline.
    const auto at = [](const QString& text, double left, double top, double width, double height) {
        return WordBox{text, QRectF(left, top, width, height), 0.9f};
    };
    const auto dateLine = [&](const QString& mark) {
        return std::vector<LineWords>{{QRectF(0, 10, 300, 26),
                                       {at("2026", 0, 18, 40, 12), at(mark, 48, 10, 4, 26), at("1:30", 60, 18, 36, 12)}}};
    };
    const std::vector<InkShape> dot{{QRect(49, 25, 2, 2), 4}};
    std::vector<LineWords> lines = dateLine(QStringLiteral("-"));
    restoreMiddleDots(lines, 12, dot);
    EXPECT_EQ(lines.front().words[1].text, QStringLiteral("\u00b7"));
    // A colon's two dots, or a hyphen's flat stroke, in the same tall box stay.
    for (const auto& [mark, ink] :
         {std::pair{QStringLiteral(":"), std::vector<InkShape>{{QRect(49, 21, 2, 2), 4}, {QRect(49, 28, 2, 2), 4}}},
          std::pair{QStringLiteral("-"), std::vector<InkShape>{{QRect(47, 25, 6, 2), 12}}}}) {
        lines = dateLine(mark);
        restoreMiddleDots(lines, 12, ink);
        EXPECT_EQ(lines.front().words[1].text, mark);
    }
}

TEST(StrayMarksOfShortWords, AWordWhoseFeetJoinIntoARowStays) {
    // "um" in a serif face at screen size, read surely: its stems reach the box's top and
    // bottom and its feet join along the baseline into a row as long as a frame's edge.
    // A field's frame beside it, read as "[", still goes.
    QImage gray(200, 100, QImage::Format_Grayscale8);
    gray.fill(255);
    for (const int x : {30, 40, 50, 58})
        for (int y = 44; y <= 56; ++y)
            gray.scanLine(y)[x] = 20;
    std::fill_n(gray.scanLine(56) + 28, 31, uchar{20});
    for (int x = 100; x <= 190; ++x)
        gray.scanLine(40)[x] = gray.scanLine(60)[x] = 160;
    for (int y = 40; y <= 60; ++y)
        gray.scanLine(y)[100] = 160;
    std::fill_n(gray.scanLine(50) + 110, 6, uchar{20});
    std::vector<LineWords> lines{{QRectF(20, 40, 180, 21),
                                  {WordBox{"um", QRectF(28, 44, 31, 13), 0.96f},
                                   WordBox{"[", QRectF(99, 40, 4, 21), 0.5f},
                                   WordBox{"x", QRectF(110, 46, 6, 8), 0.9f}}}};
    dropStrayMarks(lines, gray, 128, 12.5);
    ASSERT_EQ(lines.size(), 1u);
    QStringList kept;
    for (const WordBox& word : lines.front().words)
        kept.append(word.text);
    EXPECT_EQ(kept, QStringList({"um", "x"}));

    // Figures too: the back of the "3" of "53" spans the box, and the figures' feet join
    // into a row along the baseline.
    QImage figures(120, 80, QImage::Format_Grayscale8);
    figures.fill(255);
    for (int y = 30; y <= 46; ++y)
        figures.scanLine(y)[45] = 20;
    std::fill_n(figures.scanLine(30) + 20, 8, uchar{20});
    std::fill_n(figures.scanLine(46) + 20, 26, uchar{20});
    std::vector<LineWords> phone{{QRectF(10, 30, 100, 17), {WordBox{"53", QRectF(20, 30, 26, 17), 0.96f}}}};
    dropStrayMarks(phone, figures, 128, 12.5);
    ASSERT_EQ(phone.size(), 1u);
    EXPECT_EQ(phone.front().words.front().text, QStringLiteral("53"));
}

TEST(ApostrophesOfSerifs, ACommaTailTurningInItsLastRowIsTypographic) {
    // Liberation Serif's "’" leans only in its last row at these sizes; its "'" tapers
    // straight down.
    for (const int pixels : {10, 16, 20}) {
        for (const auto& [drawn, curly] : {std::pair{u"d\u2019an", true}, std::pair{u"d'an", false}}) {
            const QImage picture = drawnWord(QString::fromUtf16(drawn), 120, "Liberation Serif", pixels);
            const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
            const double glyph = medianGlyphHeight(shapes, picture.height()).value_or(10);
            std::vector<LineWords> lines{{QRectF(5, 2, 110, 36), {WordBox{QStringLiteral("d'an"), QRectF(5, 2, 110, 36), 0.9f}}}};
            restoreApostrophes(lines, picture, shapes, glyph);
            EXPECT_EQ(lines.front().words.front().text, curly ? QStringLiteral("d\u2019an") : QStringLiteral("d'an"))
                << pixels;
        }
    }
}
TEST(LetterCase, LookAlikeLettersAsTallAsTheCapitalsBesideThemAreCapitals) {
    const auto word = [](const char* text, double left, double height, double width = 9) {
        return WordBox{QString::fromUtf8(text), QRectF(left, 20 - height, width, height), 0.9f};
    };
    // A spreadsheet's column letters: "c" and "Cc" as tall as "B" and "D" are a "C".
    std::vector<LineWords> header{{QRectF(0, 0, 400, 30),
                                   {word("B", 0, 11), word("c", 100, 11), word("D", 200, 11), word("Cc", 300, 11)}}};
    // Small letters of a line of text stay, and so does "Ss", two glyphs wide.
    std::vector<LineWords> text{{QRectF(0, 0, 400, 30),
                                 {word("2026", 0, 11, 27), word("vs", 40, 8, 14), word("Ss", 70, 11, 20)}}};
    // Without a capital or figure to measure by, nothing changes.
    std::vector<LineWords> alone{{QRectF(0, 0, 100, 30), {word("so", 0, 11, 14)}}};
    restoreCapitals(header);
    restoreCapitals(text);
    restoreCapitals(alone);
    QStringList read;
    for (const auto* lines : {&header, &text, &alone})
        for (const WordBox& box : lines->front().words)
            read << box.text;
    EXPECT_EQ(read.join(u' ').toStdString(), "B C D C 2026 vs Ss so");
}

TEST(ListMarkersAcrossNestedItems, AListRunsOnOverItsNestedItemsButNotOverAGapWithoutMarkers) {
    const QString disc = markerText(MarkerShape::disc);
    const QString square = markerText(MarkerShape::square);
    // The items of the outer list stand 14 glyphs apart.
    const auto item = listItem;
    std::vector<LineWords> lines{item(square, 20, 0)};  // blurred into a square
    for (const double top : {0.0, 140.0}) {
        for (int i = 1; i <= 6; ++i)
            lines.push_back(item(disc, 52, top + 20 * i));
        lines.push_back(item(disc, 20, top + 140));
    }
    // Far below, after no markers at all: a list of its own.
    lines.push_back(item(square, 20, 500));
    lines.push_back(item(disc, 20, 640));
    lines.push_back(item(disc, 20, 660));
    unifyListMarkers(lines, 10);
    EXPECT_EQ(lines.front().words.front().text, disc);
    EXPECT_EQ(lines[lines.size() - 3].words.front().text, square);
}

TEST(BandCutsBesideMarks, TheDotsOverALinesCapitalsStayWithTheirLine) {
    // Lines 13 rows tall, 6 rows apart; over the fourth, one row of umlaut dots a row
    // clear of its capitals, that gap right where an even cut falls.
    QImage page(200, 124, QImage::Format_Grayscale8);
    page.fill(255);
    const auto ink = [&](int top, int bottom, int left, int width) {
        for (int y = top; y < bottom; ++y)
            std::fill_n(page.scanLine(y) + left, width, 0);
    };
    for (const int top : {4, 23, 42, 63, 82, 101})
        ink(top, top + 13, 20, 150);
    ink(61, 62, 22, 2);
    ink(61, 62, 26, 2);
    for (const int cut : bandCuts(page, 2))
        EXPECT_FALSE(cut > 61 && cut < 63) << cut;
    // An underline a row under its words stays with them.
    QImage underlined(200, 60, QImage::Format_Grayscale8);
    underlined.fill(255);
    for (int y = 5; y < 18; ++y)
        std::fill_n(underlined.scanLine(y) + 20, 150, 0);
    std::fill_n(underlined.scanLine(19) + 20, 150, 0);
    for (int y = 26; y < 39; ++y)
        std::fill_n(underlined.scanLine(y) + 20, 150, 0);
    const auto cuts = bandCuts(underlined, 2);
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_GT(cuts.front(), 19);
}

TEST(StrayMarksSmallDots, AMiddleDotBoxedShortOfItsEdgeStaysAndABlankMarkGoes) {
    // Glyphs 25 high; a middle dot four pixels across between "2026" and "7:16", which
    // the recognizer boxes a pixel short on every side.
    QImage gray(300, 80, QImage::Format_Grayscale8);
    gray.fill(255);
    for (const QRect& stroke : {QRect(20, 30, 3, 25), QRect(150, 30, 3, 25), QRect(240, 30, 3, 25)})
        for (int y = stroke.top(); y <= stroke.bottom(); ++y)
            std::fill_n(gray.scanLine(y) + stroke.left(), stroke.width(), uchar{30});
    for (int y = 40; y < 44; ++y)
        std::fill_n(gray.scanLine(y) + 120, 4, uchar{90});
    const auto wordAt = [](const QString& text, QRectF box) { return WordBox{text, box, 0.9f}; };
    std::vector<LineWords> lines{{QRectF(10, 28, 280, 30),
                                  {wordAt("2026", QRectF(20, 30, 80, 25)), wordAt("\u00b7", QRectF(121, 41, 2, 2)),
                                   wordAt("7:16", QRectF(150, 30, 60, 25)),
                                   // A mark read off the blank beside a stroke: only a dot's
                                   // box reaches past its edge.
                                   wordAt("'", QRectF(153, 30, 2, 10)),
                                   // Read off the blank after it.
                                   wordAt("|", QRectF(218, 28, 8, 30)), wordAt("PM", QRectF(240, 30, 40, 25))}}};
    dropStrayMarks(lines, gray, 128, 25);
    QStringList read;
    for (const WordBox& word : lines.front().words)
        read << word.text;
    EXPECT_EQ(read.join(u' ').toStdString(), "2026 \u00b7 7:16 PM");
}

TEST(ListMarkersBesideQuotes, AGuillemetBlurredIntoABlobIsNoDiscButADarkDiscIs) {
    // A sentence that opens with "«" at a small size, read larger, as bands are.
    for (const bool quote : {true, false}) {
        QImage small(220, 20, QImage::Format_Grayscale8);
        small.fill(255);
        {
            QPainter painter(&small);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(11);
            painter.setFont(font);
            painter.setPen(QColor(28, 28, 30));
            if (quote) {
                painter.drawText(QPointF(4, 14), QStringLiteral("\u00AB Bonjour \u00E0 tous \u00BB, dit-elle"));
            } else {
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setBrush(QColor(28, 28, 30));
                painter.setPen(Qt::NoPen);
                painter.drawEllipse(QRectF(5, 8, 4, 4));
                painter.setPen(QColor(28, 28, 30));
                painter.drawText(QPointF(13, 14), QStringLiteral("Bonjour \u00E0 tous \u00BB, dit-elle"));
            }
        }
        const QImage picture = small.scaled(small.size() * 2.5, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const int threshold = inkThreshold(picture);
        const std::vector<InkShape> shapes = inkShapes(picture, threshold);
        // Words are the runs of shapes with a space's gap between them.
        std::vector<QRect> boxes;
        for (const InkShape& shape : shapes)
            boxes.push_back(shape.box);
        std::sort(boxes.begin(), boxes.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
        std::vector<QRectF> words;
        for (const QRect& box : boxes) {
            if (!words.empty() && box.left() - words.back().right() < 6)
                words.back() |= QRectF(box);
            else
                words.push_back(QRectF(box));
        }
        ASSERT_GE(words.size(), 5u);
        LineWords line{QRectF(), {}};
        for (const QRectF& box : words) {
            line.words.push_back(WordBox{QStringLiteral("w"), box, 0.93f});
            line.box |= box;
        }
        line.words.front().text = QStringLiteral("\u00AB");
        std::vector<LineWords> lines{line};
        markListLines(lines, picture, threshold, shapes, 20);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines.front().words.front().text, quote ? QStringLiteral("\u00AB") : markerText(MarkerShape::disc));
    }
}

TEST(PagePreparationFaintText, BandsAreNotCutThroughFaintLines) {
    // Black and light grey lines, 20 rows each, 20 rows apart: the grey lies above the
    // page's ink threshold, yet a cut through it halves its letters.
    QImage page(200, 400, QImage::Format_Grayscale8);
    page.fill(255);
    for (int line = 0; line < 10; ++line)
        for (int y = line * 40 + 10; y < line * 40 + 30; ++y)
            std::fill_n(page.scanLine(y) + 20, 150, uchar(line % 2 == 0 ? 0 : 110));
    const auto cuts = bandCuts(page, 4);
    ASSERT_EQ(cuts.size(), 3u);
    for (const int cut : cuts)
        EXPECT_TRUE(cut % 40 < 10 || cut % 40 >= 30) << cut;
}

TEST(ControlMarkLetters, SmallLettersWithInkInTheirCornersAreNoCheckBoxes) {
    // At a small size a "C" or a "D" puts ink in all four corners of its box and leaves
    // its middle empty, like an empty check box; a check box's sides run whole.
    for (const int pixels : {13, 15, 17}) {
        QImage picture(200, 40, QImage::Format_Grayscale8);
        picture.fill(255);
        QPainter painter(&picture);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(pixels);
        painter.setFont(font);
        painter.setPen(QColor(60, 60, 60));
        painter.drawText(QPointF(20, 28), QStringLiteral("C"));
        painter.drawText(QPointF(60, 28), QStringLiteral("D"));
        painter.drawText(QPointF(100, 28), QStringLiteral("O"));
        painter.drawRect(QRect(140, 16, 11, 11));
        painter.end();
        const int threshold = inkThreshold(picture);
        const std::vector<InkShape> shapes = inkShapes(picture, threshold);
        std::vector<LineWords> lines{{QRectF(0, 8, 200, 24), {}}};
        for (const InkShape& shape : shapes)
            lines.front().words.push_back(WordBox{shape.box.center().x() < 50    ? QStringLiteral("C")
                                                  : shape.box.center().x() < 90  ? QStringLiteral("D")
                                                  : shape.box.center().x() < 130 ? QStringLiteral("O")
                                                                                 : QStringLiteral("[]"),
                                                  QRectF(shape.box), 0.6f});
        dropControlMarks(lines, picture, threshold, shapes, 0.75 * pixels);
        ASSERT_EQ(lines.size(), 1);
        QStringList kept;
        for (const WordBox& word : lines.front().words)
            kept.append(word.text);
        EXPECT_EQ(kept, QStringList({QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("O")})) << pixels;
    }
}

TEST(MarksWithoutInk, ASliverMarkInsideTheLastLetterGoesAndARealMarkStays) {
    const auto glyphs = [](std::initializer_list<std::pair<const char*, QRectF>> read) {
        WordBox word{QString(), QRectF(), 0.9f};
        for (const auto& [text, box] : read) {
            word.text += QString::fromUtf8(text);
            word.glyphs.push_back({QString::fromUtf8(text), box});
            word.box = word.box.isNull() ? box : word.box.united(box);
        }
        return word;
    };
    // "Mean" with "_" and "—" boxed as one-pixel slivers at the end of its "n".
    WordBox mean = glyphs({{"M", QRectF(0, 0, 28, 25)},
                           {"e", QRectF(32, 6, 20, 19)},
                           {"a", QRectF(55, 6, 19, 19)},
                           {"n", QRectF(80, 6, 18, 19)},
                           {"_", QRectF(97, 0, 1, 25)},
                           {"\u2014", QRectF(97, 0, 1, 25)}});
    // A period and a closing quote with ink of their own, after the letters.
    WordBox end = glyphs({{"e", QRectF(0, 6, 20, 19)}, {"n", QRectF(24, 6, 18, 19)},
                          {".", QRectF(45, 21, 4, 4)}, {"\u2019", QRectF(51, 0, 3, 8)}});
    // A sliver inside a letter that is not the last: the marks after it are real.
    WordBox inner = glyphs({{"n", QRectF(0, 6, 18, 19)}, {"'", QRectF(17, 0, 1, 25)}, {"s", QRectF(22, 6, 15, 19)}});
    // A list number's period can come back boxed inside the figure.
    WordBox number = glyphs({{"1", QRectF(0, 6, 12, 19)}, {"2", QRectF(14, 6, 12, 19)}, {".", QRectF(24, 0, 2, 25)}});
    std::vector<LineWords> lines{{QRectF(0, 0, 300, 25), {mean, end, inner, number}}};
    QImage gray(300, 40, QImage::Format_Grayscale8);
    gray.fill(255);
    dropStrayMarks(lines, gray, 128, 25);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines.front().words.size(), 4u);
    EXPECT_EQ(lines.front().words[0].text, QStringLiteral("Mean"));
    EXPECT_EQ(lines.front().words[0].glyphs.size(), 4u);
    EXPECT_LE(lines.front().words[0].box.right(), 98.0);
    EXPECT_EQ(lines.front().words[1].text, QStringLiteral("en.\u2019"));
    EXPECT_EQ(lines.front().words[2].text, QStringLiteral("n's"));
    EXPECT_EQ(lines.front().words[3].text, QStringLiteral("12."));
}

TEST(RuleWords, ARuleReadAsALongRunOfLinesGoesAndTypedDashesStay) {
    // A rule between two header rows, read into the row below as "__—"; a run of dashes
    // typed in the text ends where its box does.
    QImage gray(300, 60, QImage::Format_Grayscale8);
    gray.fill(255);
    for (int x = 10; x <= 290; ++x)
        gray.scanLine(20)[x] = 150;
    std::fill_n(gray.scanLine(45) + 120, 40, uchar{20});
    for (const int x : {30, 200, 240})
        for (int y = 30; y <= 42; ++y)
            std::fill_n(gray.scanLine(y) + x, 2, uchar{20});
    std::vector<LineWords> lines{{QRectF(20, 14, 260, 32),
                                  {WordBox{"Label", QRectF(30, 30, 40, 13), 0.9f},
                                   WordBox{"__\u2014", QRectF(80, 16, 30, 8), 0.4f},
                                   WordBox{"-----", QRectF(120, 43, 40, 5), 0.8f},
                                   WordBox{"Delivery", QRectF(200, 30, 60, 13), 0.9f}}}};
    dropStrayMarks(lines, gray, 128, 12.5);
    ASSERT_EQ(lines.size(), 1u);
    QStringList kept;
    for (const WordBox& word : lines.front().words)
        kept.append(word.text);
    EXPECT_EQ(kept, QStringList({"Label", "-----", "Delivery"}));
}

TEST(TallChevrons, AChevronAsTallAsCapitalsGoesAndCapitalsStay) {
    // A drop-down's chevron drawn bold at twice the size, read "V" or "WV"; beside it the
    // capitals "V" and "W" of the text, a little taller than the median glyph, and a
    // narrower chevron as tall as they are, read "v".
    QImage picture(300, 40, QImage::Format_Grayscale8);
    picture.fill(255);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(40, 40, 40), 3));
        painter.drawPolyline(QPolygon({QPoint(22, 14), QPoint(32, 24), QPoint(42, 14)}));
        painter.drawPolyline(QPolygon({QPoint(72, 14), QPoint(82, 24), QPoint(92, 14)}));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(17);
        painter.setFont(font);
        painter.drawText(QPointF(140, 28), QStringLiteral("V"));
        painter.drawText(QPointF(200, 28), QStringLiteral("W"));
        painter.drawPolyline(QPolygon({QPoint(250, 14), QPoint(257, 24), QPoint(264, 14)}));
    }
    const int threshold = inkThreshold(picture);
    const std::vector<InkShape> shapes = inkShapes(picture, threshold);
    std::vector<LineWords> lines{{QRectF(0, 8, 300, 24), {}}};
    for (const InkShape& shape : shapes) {
        const int x = shape.box.center().x();
        const QString text = x < 50    ? QStringLiteral("V")
                             : x < 100 ? QStringLiteral("WV")
                             : x < 170 ? QStringLiteral("V")
                             : x < 240 ? QStringLiteral("W")
                                       : QStringLiteral("v");
        lines.front().words.push_back(WordBox{text, QRectF(shape.box), 0.9f});
    }
    dropControlMarks(lines, picture, threshold, shapes, 11);
    ASSERT_EQ(lines.size(), 1);
    QStringList kept;
    for (const WordBox& word : lines.front().words)
        kept.append(word.text);
    EXPECT_EQ(kept, QStringList({QStringLiteral("V"), QStringLiteral("W")}));
}

namespace {

// A word drawn in 19 px type and read back as `read`, its spaces restored: the words joined by "|".
QString respaced(const QString& drawnText, const QString& read, const char* family) {
    const QImage picture = drawnWord(drawnText, 260, family, 19);
    const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
    QRectF whole;
    for (const InkShape& shape : shapes)
        whole |= QRectF(shape.box);
    std::vector<LineWords> lines{{whole, {WordBox{read, whole, 0.8f}}}};
    restoreLostSpaces(lines, shapes, 14);
    QStringList words;
    for (const WordBox& word : lines[0].words)
        words.append(word.text);
    return words.join(u'|');
}

}  // namespace

TEST(LostSpacesInFigures, GroupsOfFiguresASpaceApartAreWordsOfTheirOwn) {
    // A number read whole is split at a space between its groups and nowhere else, in a
    // font whose "1" sits narrow in a wide cell too.
    for (const char* family : {"DejaVu Sans", "Liberation Sans"}) {
        SCOPED_TRACE(family);
        EXPECT_EQ(respaced(QStringLiteral("81 5918557"), QStringLiteral("815918557"), family),
                  QStringLiteral("81|5918557"));
        EXPECT_EQ(respaced(QStringLiteral("4 1011"), QStringLiteral("41011"), family), QStringLiteral("4|1011"));
        EXPECT_EQ(respaced(QStringLiteral("1011171"), QStringLiteral("1011171"), family), QStringLiteral("1011171"));
        EXPECT_EQ(respaced(QStringLiteral("7111"), QStringLiteral("7111"), family), QStringLiteral("7111"));
        // Figures among letters keep their word.
        EXPECT_EQ(respaced(QStringLiteral("ab 12"), QStringLiteral("ab12"), family), QStringLiteral("ab12"));
    }
}

TEST(StrayMarksOnShadedFaces, AShortLabelOnAButtonsFaceStaysAndARuleOnItStillGoes) {
    // A light window (246), a button's face a shade darker (236), faint text whose ink level
    // (225) sits close to the ground: "OK" as three strokes, and a rule with a mark read off it.
    QImage gray(300, 100, QImage::Format_Grayscale8);
    gray.fill(246);
    for (int y = 20; y <= 80; ++y) {
        std::fill_n(gray.scanLine(y) + 20, 200, uchar{236});
        gray.scanLine(y)[150] = 180;
    }
    for (const int x : {60, 68, 74})
        for (int y = 44; y <= 56; ++y)
            gray.scanLine(y)[x] = 90;
    std::vector<LineWords> lines{{QRectF(56, 40, 110, 21),
                                  {WordBox{"OK", QRectF(58, 44, 20, 13), 0.97f},
                                   WordBox{"|", QRectF(147, 40, 7, 21), 0.5f}}}};
    dropStrayMarks(lines, gray, 225, 12.5);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines.front().words.size(), 1u);
    EXPECT_EQ(lines.front().words.front().text, QStringLiteral("OK"));
}

TEST(MarksWithoutInkAtAWordsStart, SliversAtTheFirstLettersEdgeGoAndRealMarksStay) {
    const auto glyphs = [](std::initializer_list<std::pair<const char*, QRectF>> read) {
        WordBox word{QString(), QRectF(), 0.4f};
        for (const auto& [text, box] : read) {
            word.text += QString::fromUtf8(text);
            word.glyphs.push_back({QString::fromUtf8(text), box});
            word.box = word.box.isNull() ? box : word.box.united(box);
        }
        return word;
    };
    // A header's "Local" with "—" and "_" boxed as one-pixel slivers at its "L".
    WordBox local = glyphs({{"\u2014", QRectF(50, 0, 1, 17)},
                            {"_", QRectF(50, 0, 1, 17)},
                            {"L", QRectF(50, 1, 10, 16)},
                            {"o", QRectF(61, 5, 12, 12)}});
    dropMarksWithoutInk(local);
    EXPECT_EQ(local.text, QStringLiteral("Lo"));
    EXPECT_EQ(local.glyphs.size(), 2u);
    EXPECT_EQ(local.box.left(), 50.0);
    // An opening quote and a dash with ink of their own, before the letters.
    WordBox quoted = glyphs({{"\u2018", QRectF(40, 0, 4, 7)}, {"L", QRectF(47, 1, 10, 16)}});
    dropMarksWithoutInk(quoted);
    EXPECT_EQ(quoted.text, QStringLiteral("\u2018L"));
    WordBox dashed = glyphs({{"\u2014", QRectF(30, 8, 16, 2)}, {"L", QRectF(50, 1, 10, 16)}});
    dropMarksWithoutInk(dashed);
    EXPECT_EQ(dashed.text, QStringLiteral("\u2014L"));
}

TEST(IconWordsOnFaintPages, ABoldLettersGrayCounterIsGroundAndAFilledIconStillGoes) {
    // On a light page read with an ink level (225) close to the ground (246): a bold "a"
    // whose small counter is anti-aliased gray (215), and a filled icon read as "ee".
    QImage gray(120, 40, QImage::Format_Grayscale8);
    gray.fill(246);
    for (int y = 10; y < 22; ++y) {
        std::fill_n(gray.scanLine(y) + 10, 11, uchar{90});
        std::fill_n(gray.scanLine(y) + 60, 12, uchar{90});
    }
    for (int y = 14; y < 17; ++y)
        std::fill_n(gray.scanLine(y) + 14, 3, uchar{215});
    std::vector<LineWords> lines{{QRectF(8, 8, 70, 16),
                                  {WordBox{"a", QRectF(10, 10, 11, 12), 0.9f},
                                   WordBox{"ee", QRectF(60, 10, 12, 12), 0.6f}}}};
    dropIconWords(lines, gray, 225, inkShapes(gray, 225), 12);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines.front().words.size(), 1u);
    EXPECT_EQ(lines.front().words.front().text, QStringLiteral("a"));
}

TEST(LostSpacesBeforeUnits, AFigureAndItsUnitASpaceApartAreTwoWords) {
    for (const char* family : {"DejaVu Sans", "Liberation Sans"}) {
        SCOPED_TRACE(family);
        EXPECT_EQ(respaced(QStringLiteral("18.4 kB"), QStringLiteral("18.4kB"), family), QStringLiteral("18.4|kB"));
        EXPECT_EQ(respaced(QStringLiteral("7 items"), QStringLiteral("7items"), family), QStringLiteral("7|items"));
        EXPECT_EQ(respaced(QStringLiteral("10am"), QStringLiteral("10am"), family), QStringLiteral("10am"));
        EXPECT_EQ(respaced(QStringLiteral("41kB"), QStringLiteral("41kB"), family), QStringLiteral("41kB"));
    }
}

TEST(MiddleDotFaintInk, AFaintDotThresholdedFlatIsRoundByItsOwnDarknessAndAHyphenStaysFlat) {
    // White text over a gradient, turned dark on light: the dot between "2026" and
    // "11:01" is a pale blot whose threshold keeps only its middle row.
    const auto dateLine = [](QImage& gray, const std::vector<std::vector<int>>& mark) {
        gray.fill(253);
        for (std::size_t row = 0; row < mark.size(); ++row)
            for (std::size_t col = 0; col < mark[row].size(); ++col)
                gray.scanLine(24 + static_cast<int>(row))[49 + static_cast<int>(col)] =
                    static_cast<uchar>(mark[row][col]);
        const std::vector<InkShape> ink = inkShapes(gray, 187);
        std::vector<LineWords> lines{{QRectF(0, 10, 300, 26),
                                      {WordBox{"2026", QRectF(0, 18, 40, 12), 0.9f},
                                       WordBox{"-", QRectF(ink.front().box), 0.8f},
                                       WordBox{"11:01", QRectF(60, 18, 36, 12), 0.9f}}}};
        return std::pair{lines, ink};
    };
    QImage gray(120, 50, QImage::Format_Grayscale8);
    auto [dot, dotInk] = dateLine(gray, {{211, 187, 203}, {179, 138, 165}, {214, 193, 207}});
    ASSERT_EQ(dotInk.size(), 1U);
    EXPECT_EQ(dotInk.front().box.height(), 1);
    restoreMiddleDots(dot, 12.5, dotInk);
    EXPECT_EQ(dot.front().words[1].text, QStringLiteral("-"));
    restoreMiddleDots(dot, 12.5, dotInk, gray);
    EXPECT_EQ(dot.front().words[1].text, QStringLiteral("\u00b7"));
    // A faint hyphen's stroke, as pale at its rim.
    auto [hyphen, hyphenInk] = dateLine(gray, {{215, 215, 215, 215}, {150, 140, 140, 150}, {215, 215, 215, 215}});
    restoreMiddleDots(hyphen, 12.5, hyphenInk, gray);
    EXPECT_EQ(hyphen.front().words[1].text, QStringLiteral("-"));
}

TEST(ApostrophesOfRoundHeads, ACommaWhoseHeadSpreadsLeftIsToldByItsTailsLastTurn) {
    // Liberation Sans's "’" at large sizes: a round head as wide as the tail's reach,
    // the tail turning left only at its tip. Its "'" tapers straight down at every size.
    const auto readAs = [](const char16_t* drawn, int pixels) {
        const QImage picture = drawnWord(QString::fromUtf16(drawn), 160, "Liberation Sans", pixels);
        const std::vector<InkShape> shapes = inkShapes(picture, inkThreshold(picture));
        const QRectF box(5, 2, 150, picture.height() - 4);
        std::vector<LineWords> lines{{box, {WordBox{QStringLiteral("d'an"), box, 0.9f}}}};
        restoreApostrophes(lines, picture, shapes, medianGlyphHeight(shapes, picture.height()).value_or(10));
        return lines.front().words.front().text;
    };
    for (const int pixels : {26, 28, 32})
        EXPECT_EQ(readAs(u"d\u2019an", pixels), QStringLiteral("d\u2019an")) << pixels;
    for (const int pixels : {10, 13, 16, 20, 26, 28, 32})
        EXPECT_EQ(readAs(u"d'an", pixels), QStringLiteral("d'an")) << pixels;
}

TEST(MarkerCorners, ASmallDiscEnlargedIsADiscAndASquareOffTheGridStaysASquare) {
    QImage picture(120, 30, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(28, 28, 30));
    painter.drawEllipse(QRectF(10.3, 10.3, 6, 6));
    painter.drawRect(QRectF(60.5, 10.5, 6, 6));
    painter.end();
    const QString square = QStringLiteral("\u25aa");
    std::vector<LineWords> lines{{QRectF(10, 10, 40, 8), {{square, QRectF(10, 10, 14, 6), 1.0f}}},
                                 {QRectF(60, 10, 40, 8), {{square, QRectF(60, 10, 14, 7), 1.0f}}}};
    settleMarkerCorners(lines, picture);
    EXPECT_EQ(lines[0].words.front().text, QStringLiteral("\u2022"));
    EXPECT_EQ(lines[1].words.front().text, square);
}

TEST(RoundedControls, ARoundedFrameInPiecesAndANarrowChevronGoAndCapitalsStay) {
    // An empty check box with rounded corners whose thin frame falls apart into its four
    // sides at the ink level (read "©)"), a chevron half again as wide as tall read "VW"
    // or "VY", and the capitals "VY" of the text.
    QImage picture(300, 44, QImage::Format_Grayscale8);
    picture.fill(255);
    {
        QPainter painter(&picture);
        painter.setPen(QColor(60, 60, 60));
        painter.drawLine(13, 10, 25, 10);
        painter.drawLine(13, 28, 25, 28);
        painter.drawLine(10, 13, 10, 25);
        painter.drawLine(28, 13, 28, 25);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(40, 40, 40), 3));
        for (const int left : {60, 110})
            painter.drawPolyline(QPolygon({QPoint(left + 2, 14), QPoint(left + 11, 25), QPoint(left + 20, 14)}));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(17);
        painter.setFont(font);
        painter.drawText(QPointF(180, 30), QStringLiteral("VY"));
    }
    const int threshold = inkThreshold(picture);
    const std::vector<InkShape> shapes = inkShapes(picture, threshold);
    QRectF frame, chevronW, chevronY, capitals;
    for (const InkShape& shape : shapes) {
        const int x = shape.box.center().x();
        (x < 40 ? frame : x < 100 ? chevronW : x < 150 ? chevronY : capitals) |= QRectF(shape.box);
    }
    std::vector<LineWords> lines{{QRectF(0, 6, 300, 30),
                                  {WordBox{QStringLiteral("©)"), frame, 0.6f}, WordBox{QStringLiteral("VW"), chevronW, 0.6f},
                                   WordBox{QStringLiteral("VY"), chevronY, 0.5f},
                                   WordBox{QStringLiteral("VY"), capitals, 0.9f}}}};
    dropControlMarks(lines, picture, threshold, shapes, 12.5);
    ASSERT_EQ(lines.size(), 1);
    ASSERT_EQ(lines.front().words.size(), 1);
    EXPECT_EQ(lines.front().words.front().box, capitals);
}

TEST(GuillemetMarkers, AGuillemetBlurredShutIsNoRingAndARingIs) {
    // Small print enlarged and cut at the ink level: the two chevrons of a "«" run into
    // one closed shape, a ring's size. Drawn at 10,10 on a line of x-height 10 whose
    // baseline is at 21.
    const auto markerOf = [](const std::vector<const char*>& rows) {
        QImage picture(30, 30, QImage::Format_Grayscale8);
        picture.fill(255);
        for (std::size_t y = 0; y < rows.size(); ++y)
            for (int x = 0; rows[y][x] != 0; ++x)
                if (rows[y][x] == '#')
                    picture.scanLine(10 + static_cast<int>(y))[10 + x] = 30;
        const std::vector<InkShape> shapes = inkShapes(picture, 128);
        EXPECT_EQ(shapes.size(), 1u);
        return shapes.empty() ? std::nullopt : markerShape(picture, 128, shapes.front(), 10, 21);
    };
    EXPECT_EQ(markerOf({"...#..#.", "..##.##.", ".##.##..", "##.##...", "##.##...", ".##.##..", "..##.##.", "...#..#."}),
              std::nullopt);
    EXPECT_EQ(markerOf({"..####..", ".##..##.", "##....##", "#......#", "#......#", "##....##", ".##..##.", "..####.."}),
              MarkerShape::circle);
}

TEST(NumberedItems, AFigureReadWithItsPeriodOverItIsNoLoneGlyphWhenThePeriodHasInkOfItsOwn) {
    // "1." boxed as one glyph over the "1", its faint period a speck beside it.
    const WordBox numbered{"1.", QRectF(49, 64, 7, 10), 0.5f, {{"1", QRectF(49, 64, 7, 10)}, {".", QRectF(54, 64, 2, 10)}}};
    const InkShape one{QRect(49, 64, 7, 10), 30};
    EXPECT_TRUE(misreadsOneGlyph(numbered, {one}, 200, 12));
    EXPECT_FALSE(misreadsOneGlyph(numbered, {one, {QRect(58, 73, 2, 1), 2}}, 200, 12));
}

TEST(SelectedChips, ShortLightTextOnASmallChipTurnsDarkButAHeavyLetterKeepsItsInk) {
    QImage picture(400, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.drawText(QPointF(10, 30), QStringLiteral("6  7  8  9  10     12"));
    // A selected day: bold white digits on a rounded blue chip; then a heavy letter with two
    // counters side by side but no solid band under them.
    painter.setBrush(QColor(0x35, 0x84, 0xe4));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(130.5, 14.5, 26, 21), 4, 4);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(135, 30), QStringLiteral("11"));
    font.setPixelSize(60);
    font.setWeight(QFont::Black);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(220, 110), QStringLiteral("m"));
    painter.end();
    const PreparedPage page = preparePage(picture);
    const auto darkAlong = [&](int y, int from, int to) {
        int dark = 0;
        for (int x = from; x < to; ++x)
            dark += qGray(page.image.pixel(x, y)) < 128 ? 1 : 0;
        return dark;
    };
    EXPECT_GE(qGray(page.image.pixel(133, 18)), 200);
    EXPECT_GE(darkAlong(25, 131, 156), 2);
    EXPECT_LE(darkAlong(25, 131, 156), 10);
    EXPECT_GT(darkAlong(90, 220, 300), 26);
}


TEST(ShapelessMiddleDots, ADotWithNoShapeAtAllIsSoughtInItsOwnBoxNotInTheLettersBeside) {
    // The recognizer boxes the mark as tall as its line; a light figure's edge stands
    // just left of the box, darker than the dot.
    QImage gray(60, 50, QImage::Format_Grayscale8);
    gray.fill(252);
    for (int y = 15; y < 27; ++y)
        gray.scanLine(y)[9] = 180;
    const uchar dot[2][2] = {{161, 199}, {223, 239}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            gray.scanLine(20 + y)[15 + x] = dot[y][x];
    std::vector<LineWords> lines{{QRectF(0, 8, 60, 28),
                                  {WordBox{"2026", QRectF(0, 15, 10, 12), 0.9f}, WordBox{"-", QRectF(12, 8, 6, 28), 0.4f},
                                   WordBox{"12:29", QRectF(22, 15, 30, 12), 0.9f}}}};
    restoreMiddleDots(lines, 11, {}, gray);
    EXPECT_EQ(lines.front().words[1].text, QStringLiteral("\u00b7"));
}


TEST(GlyphHeightRereads, ALoneCharacterOnInkOfAnotherHeightIsReadAgainOnlyForTheInksHeight) {
    // "total = 0" with the figure read as "a": small letters' ink 10 high, the figure's 14,
    // all standing on the baseline at 40.
    const auto small = [](int x) { return InkShape{QRect(x, 30, 6, 10), 40}; };
    const std::vector<InkShape> ink{small(18), small(34), {QRect(10, 27, 5, 13), 40}, {QRect(26, 27, 5, 13), 40},
                                    {QRect(42, 26, 3, 14), 30}, {QRect(70, 26, 7, 14), 50}};
    const WordBox total{"total", QRectF(9, 24, 38, 18), 0.95f,
                        {{"t", QRectF(9, 25, 7, 16)}, {"o", QRectF(17, 28, 8, 13)}, {"t", QRectF(25, 25, 7, 16)},
                         {"a", QRectF(33, 28, 8, 13)}, {"l", QRectF(41, 24, 5, 17)}}};
    const auto lineWith = [&](const WordBox& last) { return LineWords{QRectF(9, 24, 70, 18), {total, last}}; };
    const WordBox figureAsLetter{"a", QRectF(69, 25, 9, 16), 0.47f, {{"a", QRectF(69, 25, 9, 16)}}};
    LineWords line = lineWith(figureAsLetter);
    EXPECT_EQ(contradictedHeight(line.words.back(), line, ink, 200), GlyphHeight::tall);
    EXPECT_TRUE(fitsInkHeight(figureAsLetter, {"0", {}, 0.56f}, GlyphHeight::tall));
    // Read again as a letter of the wrong height, or less surely, the word stays.
    EXPECT_FALSE(fitsInkHeight(figureAsLetter, {"o", {}, 0.9f}, GlyphHeight::tall));
    EXPECT_FALSE(fitsInkHeight(figureAsLetter, {"0", {}, 0.45f}, GlyphHeight::tall));

    // A sure reading stands whatever its ink; so does one its ink agrees with.
    WordBox sure = figureAsLetter;
    sure.confidence = 0.9f;
    line = lineWith(sure);
    EXPECT_EQ(contradictedHeight(line.words.back(), line, ink, 200), std::nullopt);
    line = lineWith({"0", QRectF(69, 25, 9, 16), 0.4f, {}});
    EXPECT_EQ(contradictedHeight(line.words.back(), line, ink, 200), std::nullopt);

    // The reverse: a figure read unsurely over ink only as tall as the small letters.
    std::vector<InkShape> low = ink;
    low.back() = InkShape{QRect(70, 30, 7, 10), 40};
    line = lineWith({"0", QRectF(69, 28, 9, 13), 0.4f, {}});
    EXPECT_EQ(contradictedHeight(line.words.back(), line, low, 200), GlyphHeight::small);

    // Without two small letters to measure the line by, the ink tells nothing.
    line = LineWords{QRectF(9, 24, 70, 18), {{"=", QRectF(50, 32, 8, 5), 0.9f, {{"=", QRectF(50, 32, 8, 5)}}},
                                              figureAsLetter}};
    EXPECT_EQ(contradictedHeight(line.words.back(), line, ink, 200), std::nullopt);
}

TEST(LostSpacesInOverreachingBoxes, FiguresAreSplitWithinTheirNeighboursAndTheLinesHeight) {
    // A calendar row's "10" and selected "11" read as one word whose box reaches over the
    // "1" of "12" and over slivers of the row above; figures 14 high on the baseline at 39.
    const auto figure = [](int x, int width) { return InkShape{QRect(x, 26, width, 13), 50}; };
    const auto row = [&](int third, int fourth) {
        const std::vector<InkShape> ink{figure(145, 8), figure(176, 5), figure(185, 8),   figure(third, 5),
                                        figure(fourth, 5), figure(246, 5), figure(255, 8), {QRect(180, 13, 7, 2), 10},
                                        {QRect(220, 13, 2, 1), 2},     {QRect(250, 13, 6, 2), 8}};
        std::vector<LineWords> lines{{QRectF(140, 9, 130, 39),
                                      {WordBox{"9", QRectF(145, 25, 8, 14), 0.9f},
                                       WordBox{"1011", QRectF(176, 13, 87, 26), 0.86f},
                                       WordBox{"12", QRectF(240, 9, 27, 39), 0.86f}}}};
        restoreLostSpaces(lines, ink, 12.5);
        QStringList words;
        for (const WordBox& word : lines.front().words)
            words.append(word.text);
        return words.join(u'|');
    };
    EXPECT_EQ(row(211, 221), QStringLiteral("9|10|11|12"));
    // Figures at one pitch throughout are one number however far its box reaches.
    EXPECT_EQ(row(196, 206), QStringLiteral("9|1011|12"));
}

TEST(StrayMarksOfCapitalWords, AShortWordAsTallAsItsCapitalStaysAndATallerFrameSideGoes) {
    // "La" opening a line: the capital's stem reaches the box's top and bottom, half a glyph
    // over the small letters, and its foot joins the "a" along the baseline into a row as
    // long as a frame's edge. A field's side read surely as "ll", taller than any letter,
    // still goes.
    QImage gray(200, 100, QImage::Format_Grayscale8);
    gray.fill(255);
    for (int y = 40; y <= 57; ++y)
        gray.scanLine(y)[30] = 20;
    for (int y = 47; y <= 57; ++y)
        gray.scanLine(y)[56] = 20;
    std::fill_n(gray.scanLine(57) + 30, 29, uchar{20});
    for (int x = 100; x <= 190; ++x)
        gray.scanLine(30)[x] = gray.scanLine(62)[x] = 160;
    for (int y = 30; y <= 62; ++y)
        gray.scanLine(y)[100] = gray.scanLine(y)[102] = 160;
    std::vector<LineWords> lines{{QRectF(20, 30, 180, 33),
                                  {WordBox{"La", QRectF(30, 40, 29, 18), 0.97f},
                                   WordBox{"ll", QRectF(99, 30, 5, 33), 0.95f}}}};
    dropStrayMarks(lines, gray, 128, 12.5);
    ASSERT_EQ(lines.size(), 1u);
    QStringList kept;
    for (const WordBox& word : lines.front().words)
        kept.append(word.text);
    EXPECT_EQ(kept, QStringList({"La"}));
}
