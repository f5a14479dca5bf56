// Tables drawn at test time and read for real: the document request on the picture, and
// the whole reading with the document pass.

#include "AwaitResult.h"
#include "TableTestSupport.h"

#include "platform/recognition/DocumentRequest.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "platform/recognition/TableCellRepair.h"
#include "text/DocumentPass.h"
#include "text/TextReader.h"
#include "text/WarmUp.h"

#include <QPainter>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

using namespace Platform::Recognition;
using namespace TableTestSupport;
using ZantrelText::ReadOptions;
using ZantrelText::TableText;

namespace {

QFont textFont(int pixels = 15) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font;
}

QImage blank(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// A cell's text inside a rectangle: left aligned, or right aligned for numbers.
void drawCell(QPainter& painter, const QRectF& area, const QString& text, bool right = false) {
    const Qt::Alignment alignment = Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft);
    painter.drawText(area.adjusted(8, 0, -8, 0), alignment, text);
}

bool isNumber(const QString& text) {
    return !text.isEmpty() && text.front().isDigit();
}

const QList<QStringList> countries{{"Country", "Capital", "Population", "Area km2"},
                                   {"France", "Paris", "68,042,591", "551,695"},
                                   {"Germany", "Berlin", "84,358,845", "357,588"},
                                   {"Italy", "Rome", "58,850,717", "301,340"},
                                   {"Spain", "Madrid", "48,592,909", "505,990"}};

// Five rows and four columns with a full grid of rules.
QImage ruledTable() {
    QImage picture = blank(600, 190);
    QPainter painter(&picture);
    painter.setFont(textFont());
    painter.setPen(Qt::black);
    const double left = 20, top = 20, width = 140, height = 30;
    for (int r = 0; r <= 5; ++r)
        painter.drawLine(QPointF(left, top + r * height), QPointF(left + 4 * width, top + r * height));
    for (int c = 0; c <= 4; ++c)
        painter.drawLine(QPointF(left + c * width, top), QPointF(left + c * width, top + 5 * height));
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            drawCell(painter, QRectF(left + c * width, top + r * height, width, height), countries[r][c],
                     r > 0 && isNumber(countries[r][c]));
    return picture;
}

// A header cell over two columns, and two header cells over two rows.
QImage mergedHeaderTable() {
    QImage picture = blank(560, 200);
    QPainter painter(&picture);
    painter.setFont(textFont());
    painter.setPen(QColor(0x40, 0x40, 0x40));
    const double left = 20, top = 20, width = 120, height = 30;
    const double right = left + 4 * width, bottom = top + 5 * height;
    painter.drawRect(QRectF(left, top, 4 * width, 5 * height));
    painter.drawLine(QPointF(left + width, top + height), QPointF(left + 3 * width, top + height));
    for (int r = 2; r < 5; ++r)
        painter.drawLine(QPointF(left, top + r * height), QPointF(right, top + r * height));
    painter.drawLine(QPointF(left + width, top), QPointF(left + width, bottom));
    painter.drawLine(QPointF(left + 2 * width, top + height), QPointF(left + 2 * width, bottom));
    painter.drawLine(QPointF(left + 3 * width, top), QPointF(left + 3 * width, bottom));
    painter.setPen(Qt::black);
    drawCell(painter, QRectF(left, top, width, 2 * height), QStringLiteral("Region"));
    painter.drawText(QRectF(left + width, top, 2 * width, height), Qt::AlignCenter, QStringLiteral("Sales"));
    drawCell(painter, QRectF(left + 3 * width, top, width, 2 * height), QStringLiteral("Total"));
    drawCell(painter, QRectF(left + width, top + height, width, height), QStringLiteral("First half"));
    drawCell(painter, QRectF(left + 2 * width, top + height, width, height), QStringLiteral("Second half"));
    const QList<QStringList> data{{"North", "1,204", "998", "2,202"},
                                  {"South", "875", "1,310", "2,185"},
                                  {"West", "640", "702", "1,342"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            drawCell(painter, QRectF(left + c * width, top + (r + 2) * height, width, height), data[r][c], c > 0);
    return picture;
}

// A web page's table: rules between rows only, a shaded header, striped rows and numbers
// aligned right.
QImage webTable() {
    QImage picture = blank(620, 230);
    QPainter painter(&picture);
    painter.setFont(textFont(14));
    const QList<QStringList> rows{{"Package", "Version", "Downloads", "Size"},
                                  {"libfoo", "2.4.1", "1,204,332", "84 KB"},
                                  {"barcode-kit", "0.9.0", "88,120", "1.2 MB"},
                                  {"quick sort", "12.0", "5,001", "3 KB"},
                                  {"tiny-json", "1.1.7", "640,002", "12 KB"},
                                  {"zlib wrapper", "3.0", "77", "250 KB"}};
    const double left = 20, top = 15, height = 34;
    const QList<double> widths{170, 110, 150, 140};
    double x = left;
    QList<double> starts;
    for (double width : widths) {
        starts.append(x);
        x += width;
    }
    for (int r = 0; r < rows.size(); ++r) {
        const QRectF band(left, top + r * height, x - left, height);
        if (r == 0)
            painter.fillRect(band, QColor(0xf0, 0xf0, 0xf0));
        else if (r % 2 == 0)
            painter.fillRect(band, QColor(0xf8, 0xf8, 0xfa));
        painter.setPen(QColor(0xdd, 0xdd, 0xdd));
        painter.drawLine(band.bottomLeft(), band.bottomRight());
        painter.setPen(r == 0 ? QColor(0x20, 0x20, 0x20) : QColor(0x33, 0x33, 0x33));
        for (int c = 0; c < 4; ++c)
            drawCell(painter, QRectF(starts[c], band.top(), widths[c], height), rows[r][c], c >= 2);
    }
    return picture;
}

// Two columns of running text.
QImage article() {
    QImage picture = blank(700, 300);
    QPainter painter(&picture);
    painter.setFont(textFont(14));
    painter.setPen(Qt::black);
    const QStringList left{"The harbour was quiet in the early morning,",
                           "and the fishing boats had not yet returned",
                           "from their long night out on the open sea.",
                           "A few gulls circled above the empty piers",
                           "while the market hall slowly came to life",
                           "with traders setting out their crates and",
                           "scales for the first customers of the day."};
    const QStringList right{"Further along the coast the old lighthouse",
                            "still stood on its rock, although its lamp",
                            "had been replaced by an automatic beacon",
                            "many years ago. Visitors climb the stairs",
                            "in summer to look out over the bay and the",
                            "islands beyond, and on clear days they can",
                            "see the mountains rising in the far north."};
    for (int i = 0; i < left.size(); ++i) {
        painter.drawText(QPointF(20, 40 + 22 * i), left[i]);
        painter.drawText(QPointF(370, 40 + 22 * i), right[i]);
    }
    return picture;
}

// A spreadsheet in a dark theme: light grey grid lines and light text on a dark ground.
QImage darkSpreadsheet() {
    QImage picture(520, 170, QImage::Format_RGB32);
    picture.fill(QColor(0x1e, 0x1e, 0x1e));
    QPainter painter(&picture);
    painter.setFont(textFont(14));
    const QList<QStringList> rows{{"Date", "Item", "Amount"},
                                  {"2024-03-01", "Coffee beans", "18.50"},
                                  {"2024-03-04", "Paper", "7.25"},
                                  {"2024-03-09", "Printer ink", "42.00"},
                                  {"2024-03-15", "Stamps", "12.80"}};
    const double left = 10, top = 10, width = 160, height = 28;
    painter.setPen(QColor(0x55, 0x55, 0x55));
    for (int r = 0; r <= rows.size(); ++r)
        painter.drawLine(QPointF(left, top + r * height), QPointF(left + 3 * width, top + r * height));
    for (int c = 0; c <= 3; ++c)
        painter.drawLine(QPointF(left + c * width, top), QPointF(left + c * width, top + rows.size() * height));
    painter.setPen(QColor(0xe8, 0xe8, 0xe8));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 3; ++c)
            drawCell(painter, QRectF(left + c * width, top + r * height, width, height), rows[r][c], c == 2 && r > 0);
    return picture;
}

// Lines of a program, and a bulleted list: no tables.
QImage codeAndList() {
    QImage picture = blank(640, 330);
    QPainter painter(&picture);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(14);
    painter.setFont(mono);
    painter.setPen(Qt::black);
    const QStringList code{"int area(int width, int height) {", "    int result = width * height;  // pixels",
                           "    if (result < 0)               // overflow", "        return 0;",
                           "    return result;", "}"};
    for (int i = 0; i < code.size(); ++i)
        painter.drawText(QPointF(20, 30 + 20 * i), code[i]);
    painter.setFont(textFont(14));
    const QStringList items{"Bring the tent and two sleeping bags", "Check the weather the night before",
                            "Pack water for the whole first day", "Leave the route with a friend"};
    for (int i = 0; i < items.size(); ++i) {
        painter.drawText(QPointF(30, 190 + 24 * i), QString(QChar(0x2022)));
        painter.drawText(QPointF(60, 190 + 24 * i), items[i]);
    }
    return picture;
}

std::vector<DocumentTable> documentTables(const QImage& picture) {
    const RecognizeDocumentsRequest request;
    const auto observations = request.perform(picture);
    if (observations.empty())
        return {};
    return observations.front().document.tables;
}

// Cells that came out exactly as drawn, and all cells, for the score over the set.
struct Score {
    int exact = 0;
    int total = 0;
};
Score& setScore() {
    static Score score;
    return score;
}

// `exact`: the whole table must come back as drawn; otherwise its shape must, and its
// cells count towards the score of the set.
void expectTable(const QImage& picture, const QList<QStringList>& expected, bool exact = true) {
    const auto tables = documentTables(picture);
    ASSERT_EQ(tables.size(), 1u);
    const TableText found = tableText(tables.front());
    for (qsizetype r = 0; r < expected.size(); ++r)
        for (qsizetype c = 0; c < expected[r].size(); ++c) {
            ++setScore().total;
            if (r < found.rows.size() && c < found.rows[r].size() && found.rows[r][c] == expected[r][c])
                ++setScore().exact;
        }
    if (exact) {
        EXPECT_EQ(found.tabSeparated().toStdString(), tabSeparated(expected).toStdString());
        return;
    }
    ASSERT_EQ(found.rows.size(), expected.size()) << found.tabSeparated().toStdString();
    for (qsizetype r = 0; r < expected.size(); ++r)
        EXPECT_EQ(found.rows[r].size(), expected[r].size()) << found.tabSeparated().toStdString();
}

}  // namespace

TEST(TablePictures, RuledTableOfFiveRowsAndFourColumns) { expectTable(ruledTable(), countries); }

TEST(TablePictures, UnruledWarmUpTable) {
    const std::optional<QImage> picture = ZantrelText::TextReader::warmUpPicture();
    ASSERT_TRUE(picture.has_value());
    expectTable(*picture, {{"Item", "Qty", "Price"},
                           {"Apples", "12", "3.40"},
                           {"Pears", "40", "1.25"},
                           {"Plums", "200", "9.99"}});
}

TEST(TablePictures, MergedHeaderCells) {
    expectTable(mergedHeaderTable(), {{"Region", "Sales", "", "Total"},
                                      {"", "First half", "Second half", ""},
                                      {"North", "1,204", "998", "2,202"},
                                      {"South", "875", "1,310", "2,185"},
                                      {"West", "640", "702", "1,342"}});
}

// The recognizer may still misread a lone short number here ("1.1.7"), so only the
// shape must be exact; its cells count towards the score of the set.
TEST(TablePictures, WebPageTableWithRulesBetweenRowsOnly) {
    expectTable(webTable(), {{"Package", "Version", "Downloads", "Size"},
                             {"libfoo", "2.4.1", "1,204,332", "84 KB"},
                             {"barcode-kit", "0.9.0", "88,120", "1.2 MB"},
                             {"quick sort", "12.0", "5,001", "3 KB"},
                             {"tiny-json", "1.1.7", "640,002", "12 KB"},
                             {"zlib wrapper", "3.0", "77", "250 KB"}},
                false);
}

TEST(TablePictures, DarkSpreadsheetWithLightGridLines) {
    expectTable(darkSpreadsheet(), {{"Date", "Item", "Amount"},
                                    {"2024-03-01", "Coffee beans", "18.50"},
                                    {"2024-03-04", "Paper", "7.25"},
                                    {"2024-03-09", "Printer ink", "42.00"},
                                    {"2024-03-15", "Stamps", "12.80"}});
}

TEST(TablePictures, ArticleCodeAndListAreNoTables) {
    EXPECT_TRUE(documentTables(article()).empty());
    EXPECT_TRUE(documentTables(codeAndList()).empty());
}

TEST(TablePictures, AtLeastNinetyFivePercentOfCellsExact) {
    // Runs after the pictures above (tests of one suite run in order).
    ASSERT_GT(setScore().total, 0);
    EXPECT_GE(setScore().exact * 100, 95 * setScore().total) << setScore().exact << " of " << setScore().total;
}

TEST(TablePictures, ReadingWithTheDocumentPassCopiesTheTable) {
    ZantrelText::ReadPasses passes = ZantrelText::ReadPasses::live();
    passes.document = [](QImage image, double width, double height, ReadOptions options,
                         QList<ZantrelText::TextPiece> pieces, std::stop_token stop) {
        return ZantrelText::TextReader::readTable(std::move(image), width, height, std::move(options),
                                                  std::move(pieces), stop);
    };
    const ZantrelText::Reading reading = TestAwait::result(ZantrelText::TextReader::read(ruledTable(), {}, passes));
    ASSERT_TRUE(reading.table.has_value());
    EXPECT_EQ(reading.table->tabSeparated().toStdString(), tabSeparated(countries).toStdString());

    const ZantrelText::Reading prose = TestAwait::result(ZantrelText::TextReader::read(article(), {}, passes));
    EXPECT_FALSE(prose.table.has_value());
}

namespace {

// Words of a table of three rows, 30 px apart, in picture pixels.
std::vector<TableWord> tableWords(const QString& monday, const QString& high) {
    std::vector<TableWord> words;
    const QList<QStringList> rows{{"Day", "High", "Rain"}, {monday, high, "0.0"}, {"Tuesday", "8.4", "0.2"}};
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 3; ++c)
            words.push_back({rows[r][c], QRectF(20 + 150 * c, 20 + 30 * r, 10 * rows[r][c].size(), 14)});
    return words;
}

// The table after a row-by-row reading in which each band's strip gives `reread(band)`
// in picture pixels, the first reading of the whole picture having given `first`.
std::optional<DocumentTable> readRowByRow(const std::vector<TableWord>& first,
                                          const std::function<std::vector<TableWord>(const QRectF&)>& reread) {
    const QImage picture = blank(500, 160);
    const std::vector<DocumentTable> found = TableFinder::findTables(first, {}, picture.size());
    EXPECT_EQ(found.size(), 1u);
    if (found.size() != 1)
        return std::nullopt;
    const std::vector<QRectF> bands = RecognizeDocumentsRequest::rowBands(found.front(), picture.size());
    RecognizeDocumentsRequest request;
    int calls = 0;
    request.readWords = [&](const QImage&, ComputeDevice, std::stop_token) {
        const int call = calls++;
        if (call == 0 || call > static_cast<int>(bands.size()))
            return first;
        // A row alone: its words in the strip's own pixels.
        const QRectF& band = bands[static_cast<std::size_t>(call - 1)];
        const QRect area = band.toAlignedRect() & picture.rect();
        std::vector<TableWord> row = reread(band);
        for (TableWord& word : row)
            word.box.translate(-area.topLeft());
        return row;
    };
    const auto observations = request.perform(picture);
    if (observations.empty() || observations.front().document.tables.size() != 1)
        return std::nullopt;
    return observations.front().document.tables.front();
}

std::vector<TableWord> wordsIn(const std::vector<TableWord>& words, const QRectF& band) {
    std::vector<TableWord> inside;
    for (const TableWord& word : words)
        if (band.contains(word.box.center()))
            inside.push_back(word);
    return inside;
}

// The cell "High" of Monday after a row-by-row reading that gives `secondMonday` and
// `secondHigh` for that row, the first reading of the whole picture having given `firstHigh`.
QString mondayHigh(const QString& firstHigh, const QString& secondMonday, const QString& secondHigh) {
    const std::vector<TableWord> second = tableWords(secondMonday, secondHigh);
    const std::optional<DocumentTable> table =
        readRowByRow(tableWords(QStringLiteral("Monday"), firstHigh),
                     [&](const QRectF& band) { return wordsIn(second, band); });
    return table ? table->rows.at(1).at(1).content.transcript : QString();
}

TEST(DocumentRequestRows, ARowReadAgainNeverLosesTheSeparatorOfAFigure) {
    // The second reading gains a letter and loses the point: the first reading stays.
    EXPECT_EQ(mondayHigh("7.8", "Mondays", "78").toStdString(), "7.8");
    // A comma or a colon counts as much.
    EXPECT_EQ(mondayHigh("1,204", "Mondays", "1204").toStdString(), "1,204");
    // A second reading that finds a point the first one missed is taken.
    EXPECT_EQ(mondayHigh("78", "Monday", "7.8").toStdString(), "7.8");
}

}  // namespace

namespace {

// The table as tab-separated text, empty when the reading found none.
QString tableOf(const std::optional<DocumentTable>& table) {
    return table ? tableText(*table).tabSeparated() : QString();
}

}  // namespace

TEST(DocumentRequestRows, GlyphsCutAtABandsEdgeAreNoWordsOfItsRow) {
    const std::vector<TableWord> first = tableWords(QStringLiteral("Monday"), QStringLiteral("7.8"));
    const QString once = tableOf(readRowByRow(first, [&](const QRectF& band) { return wordsIn(first, band); }));
    ASSERT_FALSE(once.isEmpty());
    // Each strip also reads the halves of the glyphs of the rows above and below it.
    const QString cut = tableOf(readRowByRow(first, [&](const QRectF& band) {
        std::vector<TableWord> row = wordsIn(first, band);
        row.push_back({QStringLiteral("x-----"), QRectF(20, band.top(), 60, 4)});
        row.push_back({QStringLiteral("oevew"), QRectF(170, band.bottom() - 4, 50, 4)});
        return row;
    }));
    EXPECT_EQ(cut.toStdString(), once.toStdString());
}

TEST(DocumentRequestRows, AHeaderCellBetweenTwoHeaderRowsKeepsItsFirstReading) {
    // "Network" stands over two header rows, level with neither.
    std::vector<TableWord> first;
    addText(first, QStringLiteral("Q1"), 170, 20);
    addText(first, QStringLiteral("Q2"), 320, 20);
    addText(first, QStringLiteral("Network"), 20, 28);
    addText(first, QStringLiteral("Label"), 170, 36);
    addText(first, QStringLiteral("Path"), 320, 36);
    for (int r = 0; r < 3; ++r) {
        addText(first, QStringLiteral("Thread"), 20, 70 + 30 * r);
        addText(first, QStringLiteral("9.14"), 170, 70 + 30 * r);
        addText(first, QStringLiteral("69.5"), 320, 70 + 30 * r);
    }
    // A band cuts the cell across: read again, it is half a word.
    const QString table = tableOf(readRowByRow(first, [&](const QRectF& band) {
        std::vector<TableWord> row = wordsIn(first, band);
        for (TableWord& word : row)
            if (word.text == QStringLiteral("Network"))
                word.text = QStringLiteral("COITHTHt");
        return row;
    }));
    EXPECT_TRUE(table.contains(QStringLiteral("Network"))) << table.toStdString();
    EXPECT_FALSE(table.contains(QStringLiteral("COITHTHt"))) << table.toStdString();
}

TEST(DocumentRequestRowDigits, ARowReadAgainNeverTurnsADigitIntoItsLookAlike) {
    // "71" read again as "7l": the first reading stays.
    EXPECT_EQ(mondayHigh("71", "Monday", "7l").toStdString(), "71");
    // A second reading that turns a letter into the digit it looks like is taken.
    EXPECT_EQ(mondayHigh("7l", "Monday", "71").toStdString(), "71");
}

TEST(DocumentRequestRowDigits, AFigureReadWithFigureCharactersOnlyKeepsItsPoint) {
    // A lone cell read again with figure characters only, light on dark like a spreadsheet.
    for (const QString& family : {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}) {
        for (const int pixels : {13, 15, 17}) {
            QFont font(family);
            font.setPixelSize(pixels);
            QImage picture(90, 36, QImage::Format_RGB32);
            picture.fill(QColor(0x20, 0x21, 0x24));
            QPainter painter(&picture);
            painter.setFont(font);
            painter.setPen(QColor(0xe8, 0xea, 0xed));
            painter.drawText(QRectF(picture.rect()), Qt::AlignCenter, QStringLiteral("7.47"));
            painter.end();
            RecognizeTextRequest request;
            request.characterWhitelist = numericCharacters();
            QString text;
            for (const auto& observation : request.perform(picture))
                text += observation.candidates.front().string;
            EXPECT_EQ(text.toStdString(), "7.47") << family.toStdString() << " " << pixels;
        }
    }
}

TEST(DocumentRequestRowPoints, AFigureReadAgainWithAPointAfterItKeepsItsFirstReading) {
    EXPECT_EQ(mondayHigh("2026-07-27", "Monday", "2026-07-27.").toStdString(), "2026-07-27");
    EXPECT_EQ(mondayHigh("7.8", "Monday", "7.8.").toStdString(), "7.8");
    // Words keep the point the second reading found.
    EXPECT_EQ(mondayHigh("Done", "Monday", "Done.").toStdString(), "Done.");
}

namespace {

// A text reading of the words of a picture of this size: one run per row of words.
RecognizeTextRequest::Result readingOf(const std::vector<TableWord>& words, const QSizeF& size) {
    RecognizeTextRequest::Result reading;
    for (const TableWord& word : words) {
        const QRectF box(word.box.x() / size.width(), 1.0 - word.box.bottom() / size.height(),
                         word.box.width() / size.width(), word.box.height() / size.height());
        if (reading.empty() || reading.back().boundingBox.top() != box.top())
            reading.push_back({box, {RecognizedText{}}});
        RecognizedText& text = reading.back().candidates.front();
        if (!text.string.isEmpty())
            text.string += u' ';
        text.words.push_back({{text.string.size(), word.text.size()}, box});
        text.string += word.text;
        reading.back().boundingBox = reading.back().boundingBox.united(box);
    }
    return reading;
}

}  // namespace

TEST(DocumentRequestPictureWords, WordsAtHandSpareTheFirstReadingAndGiveTheSameTable) {
    const std::vector<TableWord> first = tableWords(QStringLiteral("Monday"), QStringLiteral("7.8"));
    const QImage picture = blank(500, 160);
    const std::vector<DocumentTable> found = TableFinder::findTables(first, {}, picture.size());
    ASSERT_EQ(found.size(), 1u);
    const std::vector<QRectF> bands = RecognizeDocumentsRequest::rowBands(found.front(), picture.size());
    const auto tableWith = [&](bool atHand, int& wholeReadings) {
        RecognizeDocumentsRequest request;
        if (atHand)
            request.pictureWords = RecognizeDocumentsRequest::wordsOf(readingOf(first, picture.size()), picture.size());
        std::size_t rows = 0;
        request.readWords = [&](const QImage& image, ComputeDevice, std::stop_token) {
            if (image.size() == picture.size()) {
                ++wholeReadings;
                return first;
            }
            // A row reads a word of its own otherwise, so the rows' readings show.
            const QRectF& band = bands.at(rows++);
            std::vector<TableWord> row = wordsIn(first, band);
            for (TableWord& word : row) {
                word.box.translate(-(band.toAlignedRect() & picture.rect()).topLeft());
                if (word.text == QStringLiteral("Tuesday"))
                    word.text = QStringLiteral("TUESDAY");
            }
            return row;
        };
        const auto observations = request.perform(picture);
        return observations.empty() || observations.front().document.tables.size() != 1
                   ? QString()
                   : tableText(observations.front().document.tables.front()).tabSeparated();
    };
    int readTwice = 0;
    int readOnce = 0;
    const QString read = tableWith(false, readTwice);
    const QString atHand = tableWith(true, readOnce);
    EXPECT_EQ(readTwice, 1);
    EXPECT_EQ(readOnce, 0);
    EXPECT_TRUE(read.contains(QStringLiteral("TUESDAY"))) << read.toStdString();
    EXPECT_EQ(atHand.toStdString(), read.toStdString());
}

TEST(DocumentRequestPictureWords, TheTextPassReadingStandsOnlyForAReadingAlike) {
    // A blank picture: the table can only come from the reading handed over.
    const QImage picture = blank(500, 160);
    const RecognizeTextRequest::Result reading =
        readingOf(tableWords(QStringLiteral("Monday"), QStringLiteral("7.8")), picture.size());
    const auto tables = [&](const ReadOptions& options) {
        const auto observations = TestAwait::result(
            ZantrelText::DocumentPassRequests::live(options, reading).documents(picture, std::stop_token{}));
        return observations.empty() ? std::size_t{0} : observations.front().document.tables.size();
    };
    EXPECT_EQ(tables(ReadOptions{}), 1u);
    ReadOptions guessing;
    guessing.detectLanguage = false;
    EXPECT_EQ(tables(guessing), 1u);
    // Without word lists the text pass read otherwise: the picture is read again.
    ReadOptions uncorrected;
    uncorrected.correction = false;
    EXPECT_EQ(tables(uncorrected), 0u);
}

TEST(DocumentRequestPictureWords, RowsReadSideBySideGiveTheTableOfRowsReadInTurn) {
    for (const QImage& picture : {mergedHeaderTable(), webTable()}) {
        const auto tableOfRequest = [&](const RecognizeDocumentsRequest& request) {
            const auto observations = request.perform(picture);
            return observations.empty() || observations.front().document.tables.size() != 1
                       ? QString()
                       : tableText(observations.front().document.tables.front()).tabSeparated();
        };
        RecognizeDocumentsRequest inTurn;
        inTurn.readWords = [](const QImage& image, ComputeDevice device, std::stop_token stop) {
            return RecognizeDocumentsRequest::textRequestWords(image, device, std::move(stop));
        };
        const QString expected = tableOfRequest(inTurn);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(tableOfRequest(RecognizeDocumentsRequest{}).toStdString(), expected.toStdString());
    }
}
