#include "text/TextReader.h"

#include "platform/async/Cancellation.h"
#include "platform/recognition/Observations.h"
#include "tests/text/AwaitResult.h"

#include <QCoroTask>
#include <QCoroTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

using namespace ZantrelText;
using Platform::Recognition::BarcodeObservation;
using Platform::Recognition::BarcodeSymbology;
using Platform::Recognition::normalizedBox;
using Platform::Recognition::RecognizedText;
using Platform::Recognition::RecognizedTextObservation;
using Platform::Recognition::TextRange;

namespace {

constexpr double W = 800;
constexpr double H = 400;

RecognizedTextObservation line(const QString& text, const QRectF& pixels) {
    RecognizedTextObservation observation;
    observation.boundingBox = normalizedBox(pixels, {W, H});
    observation.candidates.push_back({text, 0.9f, {}});
    return observation;
}

BarcodeObservation code(std::optional<QString> payload, BarcodeSymbology symbology, const QRectF& pixels) {
    return {std::move(payload), symbology, normalizedBox(pixels, {W, H})};
}

// Rows of three short cells far apart, as a table's rows read.
TextObservations tabbedRows(int rows) {
    TextObservations observations;
    for (int r = 0; r < rows; ++r) {
        const double y = 20 + 30 * r;
        observations.push_back(line(QStringLiteral("Item%1").arg(r), {20, y, 60, 16}));
        observations.push_back(line(QStringLiteral("%1").arg(r * 12), {240, y, 20, 16}));
        observations.push_back(line(QStringLiteral("%1.40").arg(r), {460, y, 40, 16}));
    }
    return observations;
}

struct Fakes {
    TextObservations text;
    BarcodeObservations codes;
    bool textFails = false;
    bool codesFail = false;
    std::optional<TableText> table;
    int documentCalls = 0;
    std::atomic<bool> barcodeStopped{false};

    ReadPasses passes() {
        ReadPasses passes;
        passes.text = [this](QImage, ReadOptions, std::stop_token) -> QCoro::Task<TextObservations> {
            if (textFails)
                throw std::runtime_error("text failed");
            co_return text;
        };
        passes.barcodes = [this](QImage, std::stop_token stop) -> QCoro::Task<BarcodeObservations> {
            // Runs side by side with the text pass, so it looks at its stop only after it.
            co_await QCoro::sleepFor(std::chrono::milliseconds(5));
            barcodeStopped = stop.stop_requested();
            if (codesFail)
                throw std::runtime_error("barcodes failed");
            co_return codes;
        };
        passes.document = [this](QImage, double, double, ReadOptions, QList<TextPiece>,
                                 std::stop_token) -> QCoro::Task<std::optional<TableText>> {
            ++documentCalls;
            co_return table;
        };
        return passes;
    }

    Reading read(ReadOptions options = {}) {
        return TestAwait::result(TextReader::read(QImage(int(W), int(H), QImage::Format_RGB32), options, passes()));
    }
};

TEST(TextReaderBoxes, NormalizedBoxesBecomeTopLeftPixels) {
    EXPECT_EQ(TextReader::pixelBox({0.25, 0.5, 0.5, 0.25}, 800, 400), QRectF(200, 100, 400, 100));
    // A box touching the top edge starts at y = 0.
    EXPECT_EQ(TextReader::pixelBox({0.0, 0.9, 1.0, 0.1}, 800, 400).top(), 0.0);
    // Round trip through the recognizer's normalization.
    const QRectF pixels(13.5, 27.25, 101, 17);
    const QRectF back = TextReader::pixelBox(normalizedBox(pixels, {W, H}), W, H);
    EXPECT_NEAR(back.x(), pixels.x(), 1e-9);
    EXPECT_NEAR(back.y(), pixels.y(), 1e-9);
    EXPECT_NEAR(back.width(), pixels.width(), 1e-9);
    EXPECT_NEAR(back.height(), pixels.height(), 1e-9);
}

TEST(TextReaderPieces, ObservationsWithoutACandidateAreSkippedInOrder) {
    TextObservations observations{line("first", {10, 10, 50, 16}), {}, line("third", {10, 40, 50, 16})};
    observations[1].boundingBox = normalizedBox({10, 25, 50, 16}, {W, H});
    const QList<TextPiece> pieces = TextReader::textPieces(observations, W, H);
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_EQ(pieces[0].text, "first");
    EXPECT_EQ(pieces[1].text, "third");
    EXPECT_NEAR(pieces[1].box.y(), 40, 1e-9);
    // The candidate's string goes in unchanged; trimming is the layout's business.
    EXPECT_EQ(TextReader::textPieces({line("  padded ", {0, 0, 10, 10})}, W, H).front().text, "  padded ");
}

TEST(TextReaderRead, APictureWithNothingGivesAnEmptyReading) {
    Fakes fakes;
    const Reading reading = fakes.read();
    EXPECT_TRUE(reading.layout.isEmpty());
    EXPECT_FALSE(reading.table.has_value());
    EXPECT_TRUE(reading.codes.isEmpty());
    EXPECT_TRUE(reading.isEmpty());
    EXPECT_EQ(fakes.documentCalls, 0);
}

TEST(TextReaderRead, TheDocumentPassRunsOnlyForTablesAndThreeTabbedRows) {
    {
        Fakes fakes;
        fakes.text = tabbedRows(5);
        const Reading reading = fakes.read({{}, true, true, /*tables=*/false});
        EXPECT_EQ(fakes.documentCalls, 0);
        EXPECT_FALSE(reading.table.has_value());
        EXPECT_TRUE(TextReader::looksTabular(reading.layout));
    }
    {
        Fakes fakes;
        fakes.text = tabbedRows(2);
        fakes.read();
        EXPECT_EQ(fakes.documentCalls, 0);
    }
    {
        Fakes fakes;
        fakes.text = tabbedRows(3);
        fakes.table = TableText::fromGrid({{"a", "b"}, {"c", "d"}});
        const Reading reading = fakes.read();
        EXPECT_EQ(fakes.documentCalls, 1);
        ASSERT_TRUE(reading.table.has_value());
        // A table is what both line modes copy.
        EXPECT_EQ(reading.text(LineMode::keep), "a\tb\nc\td");
        EXPECT_EQ(reading.text(LineMode::join), "a\tb\nc\td");
        EXPECT_FALSE(reading.isEmpty());
    }
}

TEST(TextReaderRead, AFailedPassFailsTheWholeReading) {
    Fakes codesFail;
    codesFail.text = {line("read fine", {10, 10, 80, 16})};
    codesFail.codesFail = true;
    EXPECT_THROW(codesFail.read(), std::runtime_error);

    Fakes textFails;
    textFails.textFails = true;
    textFails.codes = {code(QStringLiteral("x"), BarcodeSymbology::qr, {0, 0, 10, 10})};
    try {
        textFails.read();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "text failed");
    }
    // The barcode pass was told to stop before its result was dropped.
    EXPECT_TRUE(textFails.barcodeStopped);
}

TEST(TextReaderCodes, ObservationsBecomeNamedDeduplicatedCodes) {
    Fakes fakes;
    fakes.codes = {
        code(QStringLiteral("https://example.org"), BarcodeSymbology::qr, {10, 10, 100, 100}),
        code(std::nullopt, BarcodeSymbology::aztec, {10, 10, 100, 100}),
        code(QString(), BarcodeSymbology::code128, {10, 10, 100, 100}),
        code(QStringLiteral("4006381333931"), BarcodeSymbology::ean13, {200, 10, 190, 80}),
        code(QStringLiteral("https://example.org"), BarcodeSymbology::microQR, {500, 10, 40, 40}),
        code(QStringLiteral("A-2"), BarcodeSymbology::code128, {500, 200, 100, 40}),
    };
    const Reading reading = fakes.read();
    ASSERT_EQ(reading.codes.size(), 3);
    EXPECT_EQ(reading.codes[0], (FoundCode{"https://example.org", "QR code", true, QRectF(10, 10, 100, 100)}));
    EXPECT_EQ(reading.codes[1].kind, "EAN-13");
    EXPECT_FALSE(reading.codes[1].isQR);
    EXPECT_EQ(reading.codes[2].payload, "A-2");
    EXPECT_FALSE(reading.isEmpty());
}

TEST(TextReaderCodes, KindNamesFollowTheSymbologyTable) {
    using S = BarcodeSymbology;
    EXPECT_EQ(TextReader::kindName(S::code39Checksum), "Code 39");
    EXPECT_EQ(TextReader::kindName(S::code39FullASCIIChecksum), "Code 39");
    EXPECT_EQ(TextReader::kindName(S::code93i), "Code 93");
    EXPECT_EQ(TextReader::kindName(S::itf14), "ITF");
    EXPECT_EQ(TextReader::kindName(S::i2of5Checksum), "ITF");
    EXPECT_EQ(TextReader::kindName(S::microPDF417), "PDF417");
    EXPECT_EQ(TextReader::kindName(S::microQR), "Micro QR code");
    EXPECT_EQ(TextReader::kindName(S::aztec), "Aztec code");
    EXPECT_EQ(TextReader::kindName(S::dataMatrix), "Data Matrix");
    EXPECT_EQ(TextReader::kindName(S::upce), "UPC-E");
    EXPECT_EQ(TextReader::kindName(S::gs1DataBar), "Barcode");
    EXPECT_EQ(TextReader::kindName(S::maxiCode), "Barcode");
    const auto isQR = [](S s) {
        return TextReader::foundCodes({code(QStringLiteral("p"), s, {0, 0, 1, 1})}, W, H).front().isQR;
    };
    EXPECT_TRUE(isQR(S::qr));
    EXPECT_TRUE(isQR(S::microQR));
    EXPECT_FALSE(isQR(S::aztec));
    EXPECT_FALSE(isQR(S::dataMatrix));
}

TEST(TextReaderWords, StringsSplitIntoWordsWithTheirOwnBoxes) {
    RecognizedTextObservation lower = line("ab  cd", {10, 100, 300, 16});
    lower.candidates[0].words = {{TextRange{0, 2}, normalizedBox({10, 100, 40, 16}, {W, H})},
                                 {TextRange{4, 2}, normalizedBox({200, 100, 110, 16}, {W, H})}};
    RecognizedTextObservation upper = line("top", {10, 20, 60, 16});  // no word boxes
    const RecognizedTextObservation blank = line("   ", {10, 60, 60, 16});
    const auto lines = TextReader::wordLines({lower, blank, upper}, W, H);
    ASSERT_EQ(lines.size(), 2);
    // Sorted by their first word's top.
    ASSERT_EQ(lines[0].size(), 1);
    EXPECT_EQ(lines[0][0].text, "top");
    EXPECT_NEAR(lines[0][0].box.y(), 20, 1e-9);  // the observation's own box stands in
    ASSERT_EQ(lines[1].size(), 2);
    EXPECT_EQ(lines[1][0].text, "ab");
    EXPECT_EQ(lines[1][1].text, "cd");
    EXPECT_NEAR(lines[1][1].box.x(), 200, 1e-9);
    EXPECT_NEAR(lines[1][1].box.width(), 110, 1e-9);
}

TEST(TextReaderRequest, OptionsMapOntoTheTextRequest) {
    const auto plain = TextReader::textRequest({{}, false, true, true});
    EXPECT_TRUE(plain.recognitionLanguages.isEmpty());
    EXPECT_FALSE(plain.automaticallyDetectsLanguage);
    EXPECT_TRUE(plain.usesLanguageCorrection);
    EXPECT_EQ(plain.minimumTextHeightFraction, 0.0);
    EXPECT_EQ(plain.recognitionLevel, Platform::Recognition::RecognitionLevel::accurate);
    const auto named = TextReader::textRequest({{"de-DE", "en-US"}, true, false, false});
    EXPECT_EQ(named.recognitionLanguages, QStringList({"de-DE", "en-US"}));
    EXPECT_TRUE(named.automaticallyDetectsLanguage);
    EXPECT_FALSE(named.usesLanguageCorrection);
    // The tables flag plays no part.
    EXPECT_EQ(TextReader::textRequest({{}, true, true, true}), TextReader::textRequest({{}, true, true, false}));
}

}  // namespace
