#include "text/DocumentPass.h"

#include "AwaitResult.h"
#include "platform/async/Cancellation.h"

#include <QCoroTask>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace ZantrelText;
using Platform::Recognition::DocumentCell;
using Platform::Recognition::DocumentObservation;
using Platform::Recognition::DocumentTable;
using Platform::Recognition::RecognizedText;
using Platform::Recognition::RecognizedTextObservation;
using TextObservations = Platform::Recognition::RecognizeTextRequest::Result;

namespace {

DocumentCell cell(int row, int column, const QString& text, QRectF box = QRectF(0.1, 0.5, 0.2, 0.1)) {
    return DocumentCell{{row, row}, {column, column}, {text, box}};
}

// A table of rows of cell texts, one cell per column.
DocumentTable table(const QList<QStringList>& rows) {
    DocumentTable result;
    for (int r = 0; r < rows.size(); ++r) {
        result.rows.emplace_back();
        for (int c = 0; c < rows[r].size(); ++c)
            result.rows.back().push_back(cell(r, c, rows[r][c]));
    }
    return result;
}

TextObservations reading(const QString& text) {
    return {RecognizedTextObservation{QRectF(0, 0, 1, 1), {RecognizedText{text, 1, {}}}}};
}

// Fake requests: the document request answers `tables`; each text request answers the
// next of `texts` (an exception message starting with "!" throws) and records the size of
// the picture it was given.
struct Fakes {
    std::vector<DocumentTable> tables;
    bool noObservation = false;
    bool documentFails = false;
    QStringList texts;
    std::vector<TextObservations> observations;  // used instead of `texts` when set
    int documentCalls = 0;
    std::vector<QSize> textSizes;

    DocumentPassRequests requests() {
        DocumentPassRequests result;
        result.documents = [this](QImage, std::stop_token) -> QCoro::Task<DocumentObservations> {
            ++documentCalls;
            if (documentFails)
                throw std::runtime_error("document request failed");
            if (noObservation)
                co_return DocumentObservations{};
            co_return DocumentObservations{DocumentObservation{{tables}}};
        };
        result.text = [this](QImage image, ReadOptions, std::stop_token) -> QCoro::Task<TextObservations> {
            const std::size_t index = textSizes.size();
            textSizes.push_back(image.size());
            if (!observations.empty())
                co_return observations.at(index);
            const QString text = texts.value(static_cast<qsizetype>(index));
            if (text.startsWith(u'!'))
                throw std::runtime_error("text request failed");
            co_return reading(text);
        };
        return result;
    }
};

QImage picture(int width = 200, int height = 100) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Inside the cells' box (x 20..60, y 40..50 in a 200 by 100 picture).
QList<TextPiece> piecesOf(qsizetype characters) {
    return {TextPiece{QString(characters, u'x'), QRectF(25, 42, 10, 6)}};
}

std::optional<TableText> readTable(Fakes& fakes, qsizetype pieceCharacters = 4, ReadOptions options = {}) {
    return TestAwait::result(TextReader::readTable(picture(), 200, 100, options, piecesOf(pieceCharacters),
                                                fakes.requests()));
}

}  // namespace

TEST(DocumentPass, ExactlyOneTableOfTwoRowsIsTaken) {
    Fakes fakes;
    fakes.tables = {table({{"a", "b"}, {"c", "d"}})};
    const auto found = readTable(fakes);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tabSeparated(), QStringLiteral("a\tb\nc\td"));
    EXPECT_EQ(fakes.documentCalls, 1);

    Fakes none;
    none.noObservation = true;
    EXPECT_FALSE(readTable(none).has_value());
    Fakes zero;
    EXPECT_FALSE(readTable(zero).has_value());
    Fakes two;
    two.tables = {table({{"a", "b"}, {"c", "d"}}), table({{"e", "f"}, {"g", "h"}})};
    EXPECT_FALSE(readTable(two).has_value());
}

TEST(DocumentPass, SingleRowOrBlankTableIsNoTable) {
    Fakes single;
    single.tables = {table({{"alpha", "beta", "gamma"}})};
    EXPECT_FALSE(readTable(single).has_value());
    Fakes blank;
    blank.tables = {table({{"", " "}, {"\t", ""}})};
    EXPECT_FALSE(readTable(blank, 0).has_value());
}

TEST(DocumentPass, TableMustHoldSixtyPercentOfTheText) {
    // Cells of 50 characters against 100 recognized: below the share.
    const QString twentyFive(25, u'x');
    Fakes half;
    half.tables = {table({{twentyFive}, {twentyFive}})};
    EXPECT_FALSE(readTable(half, 100).has_value());
    Fakes enough;
    enough.tables = {table({{QString(30, u'x')}, {QString(30, u'y')}})};
    EXPECT_TRUE(readTable(enough, 100).has_value());
    // Untrimmed piece texts count in full.
    Fakes spaced;
    spaced.tables = {table({{QString(30, u'x')}, {QString(30, u'y')}})};
    const QList<TextPiece> pieces{{QString(90, u'x') + QString(11, u' '), QRectF(0, 0, 10, 10)}};
    EXPECT_FALSE(TestAwait::result(TextReader::readTable(picture(), 200, 100, {}, pieces, spaced.requests())).has_value());
}

TEST(DocumentPass, DocumentRequestFailureFailsThePass) {
    Fakes fakes;
    fakes.documentFails = true;
    EXPECT_THROW(readTable(fakes), std::runtime_error);
}

TEST(DocumentPass, AccentedFigureRepairedWhenAllThreeRereadsAgree) {
    Fakes fakes;
    fakes.tables = {table({{"Item", QString::fromUtf16(u"1\u00D85")}, {"Pears", "40"}})};
    fakes.texts = {"105", " 105 ", "105"};
    const auto found = readTable(fakes);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tabSeparated(), QStringLiteral("Item\t105\nPears\t40"));
    EXPECT_EQ(fakes.textSizes.size(), 3u);  // only the accented cell was read again
}

TEST(DocumentPass, AccentedFigureKeptWhenRereadsDisagreeOrFail) {
    const QString accented = QString::fromUtf16(u"1\u00D85");
    for (const QStringList& texts : {QStringList{"105", "106", "105"}, QStringList{"105", "", "105"},
                                     QStringList{"105", "!", "105"}, QStringList{"!"}}) {
        Fakes fakes;
        fakes.tables = {table({{"Item", accented}, {"Pears", "40"}})};
        fakes.texts = texts;
        const auto found = readTable(fakes);
        ASSERT_TRUE(found.has_value()) << texts.join(u',').toStdString();
        EXPECT_EQ(found->rows[0][1], accented) << texts.join(u',').toStdString();
    }
    // A failing scale stops the re-read at once.
    Fakes failing;
    failing.tables = {table({{"Item", accented}, {"Pears", "40"}})};
    failing.texts = {"105", "!", "105"};
    readTable(failing);
    EXPECT_EQ(failing.textSizes.size(), 2u);
}

TEST(DocumentPass, WordsWithAccentsButNoDigitsAreNotReread) {
    Fakes fakes;
    fakes.tables = {table({{QString::fromUtf16(u"Caf\u00E9"), "12"}, {QString::fromUtf16(u"cr\u00E8me"), "3"}})};
    ASSERT_TRUE(readTable(fakes).has_value());
    EXPECT_TRUE(fakes.textSizes.empty());
}

TEST(RereadCell, CropIsGrownClippedAndScaledThreeTimes) {
    Fakes fakes;
    fakes.texts = {"1", "2", "3"};
    // Box 20 × 10 at (40, 30): grown by 9 px sideways and 4 px up and down → 38 × 18.
    const QStringList candidates =
        TestAwait::result(TextReader::rereadCell(picture(), QRectF(40, 30, 20, 10), {}, fakes.requests()));
    EXPECT_EQ(candidates, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(fakes.textSizes, (std::vector<QSize>{{19, 9}, {29, 14}, {57, 27}}));

    // At the top left corner the crop is clipped to the picture: 29 × 14.
    Fakes corner;
    TestAwait::result(TextReader::rereadCell(picture(), QRectF(0, 0, 20, 10), {}, corner.requests()));
    ASSERT_FALSE(corner.textSizes.empty());
    EXPECT_EQ(corner.textSizes.back(), QSize(44, 21));  // 1.5 × (29 × 14), halves away from zero
}

TEST(RereadCell, OffThePictureMakesNoRequest) {
    Fakes fakes;
    const QStringList candidates =
        TestAwait::result(TextReader::rereadCell(picture(), QRectF(500, 500, 20, 10), {}, fakes.requests()));
    EXPECT_TRUE(candidates.isEmpty());
    EXPECT_TRUE(fakes.textSizes.empty());
}

TEST(RereadCell, OnlyASingleReadingCounts) {
    Fakes fakes;
    TextObservations two = reading("10");
    two.push_back(two.front());
    TextObservations withEmpty = reading("105");
    withEmpty.push_back(RecognizedTextObservation{QRectF(), {}});
    fakes.observations = {two, {}, withEmpty};
    const QStringList candidates =
        TestAwait::result(TextReader::rereadCell(picture(), QRectF(40, 30, 20, 10), {}, fakes.requests()));
    EXPECT_EQ(candidates, (QStringList{"", "", "105"}));
}

TEST(RereadCell, FailedScaleThrows) {
    Fakes fakes;
    fakes.texts = {"!"};
    EXPECT_THROW(TestAwait::result(TextReader::rereadCell(picture(), QRectF(40, 30, 20, 10), {}, fakes.requests())),
                 std::runtime_error);
}
