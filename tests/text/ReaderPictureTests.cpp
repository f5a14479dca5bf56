// The reader on pictures drawn here, through the real recognizers.

#include "text/TextReader.h"

#include "tests/text/AwaitResult.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <gtest/gtest.h>

using namespace ZantrelText;

namespace {

QFont font(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}

// Lines drawn one below the other; a line's cells (split at "\t") start at the given
// column positions.
QImage drawLines(const QStringList& lines, QSize size, const QFont& f, QColor ground, QColor ink,
                 const QList<int>& columns = {20}) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(ground);
    QPainter painter(&picture);
    painter.setFont(f);
    painter.setPen(ink);
    const QFontMetricsF metrics(f);
    const double step = metrics.height() * 1.3;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(u'\t');
        for (qsizetype c = 0; c < cells.size() && c < columns.size(); ++c)
            painter.drawText(QPointF(columns[c], 20 + metrics.ascent() + i * step), cells[c]);
    }
    return picture;
}

QImage drawCode(ZXing::BarcodeFormat format, const std::string& content, int width, int height) {
    const ZXing::BitMatrix matrix = ZXing::MultiFormatWriter(format).setMargin(10).encode(content, width, height);
    QImage picture(matrix.width(), matrix.height(), QImage::Format_RGB32);
    for (int y = 0; y < matrix.height(); ++y)
        for (int x = 0; x < matrix.width(); ++x)
            picture.setPixel(x, y, matrix.get(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return picture;
}

Reading read(const QImage& picture, ReadOptions options = {}) {
    return TestAwait::result(TextReader::read(picture, std::move(options)));
}

const QStringList paragraph{
    QStringLiteral("The quick brown fox jumps over the lazy dog while the"),
    QStringLiteral("morning train leaves the station at seven o'clock and"),
    QStringLiteral("carries about 240 passengers to the coast every day."),
};

TEST(ReaderPictures, ScreenParagraphsReadAsDrawnInBothPolarities) {
    const QString joined = paragraph.join(u' ');
    const QFont sans = font(QStringLiteral("DejaVu Sans"), 14);
    const Reading light = read(drawLines(paragraph, {640, 110}, sans, Qt::white, QColor(0x22, 0x22, 0x22)));
    EXPECT_EQ(light.text(LineMode::join), joined);
    EXPECT_EQ(light.text(LineMode::keep), paragraph.join(u'\n'));
    const Reading dark =
        read(drawLines(paragraph, {640, 110}, sans, QColor(0x1e, 0x1e, 0x1e), QColor(0xdd, 0xdd, 0xdd)));
    EXPECT_EQ(dark.text(LineMode::join), joined);
    // Boxes are in the picture's own pixels.
    ASSERT_FALSE(light.layout.blocks.isEmpty());
    const QRectF first = light.layout.blocks.front().rows.front().box;
    EXPECT_NEAR(first.left(), 20, 3);
    EXPECT_GT(first.width(), 300);
    EXPECT_LT(first.right(), 640);
}

TEST(ReaderPictures, ADarkPanelBesideLightContentIsReadToo) {
    QImage picture(1000, 220, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.fillRect(0, 0, 300, 220, QColor(0x25, 0x25, 0x2a));
        painter.setFont(font(QStringLiteral("DejaVu Sans"), 14));
        painter.setPen(QColor(0xe0, 0xe0, 0xe0));
        painter.drawText(QPointF(20, 40), QStringLiteral("Inbox"));
        painter.drawText(QPointF(20, 70), QStringLiteral("Sent messages"));
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.drawText(QPointF(330, 40), QStringLiteral("The meeting moved to Thursday afternoon."));
    }
    const QString text = read(picture).text(LineMode::keep);
    EXPECT_TRUE(text.contains("Inbox")) << text.toStdString();
    EXPECT_TRUE(text.contains("Sent messages")) << text.toStdString();
    EXPECT_TRUE(text.contains("The meeting moved to Thursday afternoon.")) << text.toStdString();
}

TEST(ReaderPictures, ACodeBlockKeepsItsLinesAndIndentation) {
    const QStringList code{
        QStringLiteral("int main() {"),
        QStringLiteral("    return run(1, 2);"),
        QStringLiteral("}"),
    };
    const QImage picture =
        drawLines(code, {420, 110}, font(QStringLiteral("DejaVu Sans Mono"), 14), Qt::white, Qt::black);
    const Reading reading = read(picture);
    EXPECT_EQ(reading.text(LineMode::join).toStdString(), code.join(u'\n').toStdString());
}

TEST(ReaderPictures, ThreeColumnsOfShortCellsComeBackAsTabbedRows) {
    const QStringList rows{
        QStringLiteral("Item\tQty\tPrice"),
        QStringLiteral("Apples\t12\t3.40"),
        QStringLiteral("Pears\t40\t1.25"),
    };
    const QImage picture = drawLines(rows, {560, 110}, font(QStringLiteral("DejaVu Sans"), 14), Qt::white,
                                     Qt::black, {20, 220, 420});
    const Reading reading = read(picture, {{}, true, true, false});
    EXPECT_EQ(reading.text(LineMode::keep).toStdString(), rows.join(u'\n').toStdString());
    EXPECT_EQ(reading.text(LineMode::join), rows.join(u'\n'));
    EXPECT_TRUE(TextReader::looksTabular(reading.layout));
}

TEST(ReaderPictures, CodesComeBackWithTheirKindsAndOnce) {
    const QImage qr = drawCode(ZXing::BarcodeFormat::QRCode, "https://example.org/glyphnab", 180, 180);
    const QImage ean = drawCode(ZXing::BarcodeFormat::EAN13, "4006381333931", 240, 90);
    const QImage code128 = drawCode(ZXing::BarcodeFormat::Code128, "GLYPH-128", 260, 90);
    QImage sheet(900, 520, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.drawImage(20, 20, qr);
        painter.drawImage(300, 40, ean);
        painter.drawImage(600, 40, code128);
        painter.drawImage(20, 300, qr);  // the same content twice
    }
    const Reading reading = read(sheet);
    ASSERT_EQ(reading.codes.size(), 3);
    QMap<QString, FoundCode> byPayload;
    for (const FoundCode& code : reading.codes)
        byPayload.insert(code.payload, code);
    ASSERT_TRUE(byPayload.contains("https://example.org/glyphnab"));
    EXPECT_EQ(byPayload["https://example.org/glyphnab"].kind, "QR code");
    EXPECT_TRUE(byPayload["https://example.org/glyphnab"].isQR);
    ASSERT_TRUE(byPayload.contains("4006381333931"));
    EXPECT_EQ(byPayload["4006381333931"].kind, "EAN-13");
    EXPECT_FALSE(byPayload["4006381333931"].isQR);
    ASSERT_TRUE(byPayload.contains("GLYPH-128"));
    EXPECT_EQ(byPayload["GLYPH-128"].kind, "Code 128");
    // The box is where the code was drawn, in picture pixels.
    const QRectF box = byPayload["GLYPH-128"].box;
    EXPECT_GT(box.left(), 590);
    EXPECT_LT(box.right(), 880);
}

TEST(ReaderPictures, ALightCodeOnADarkGroundIsFound) {
    QImage qr = drawCode(ZXing::BarcodeFormat::QRCode, "dark mode", 160, 160);
    qr.invertPixels();
    const Reading reading = read(qr);
    ASSERT_EQ(reading.codes.size(), 1);
    EXPECT_EQ(reading.codes.front().payload, "dark mode");
}

TEST(ReaderPictures, ABlankPictureGivesAnEmptyReading) {
    QImage blank(300, 200, QImage::Format_RGB32);
    blank.fill(QColor(0xf4, 0xf4, 0xf4));
    EXPECT_TRUE(read(blank).isEmpty());
}

TEST(ReaderPictures, WordReadingGivesEachWordItsBox) {
    const QImage picture = drawLines({QStringLiteral("alpha beta gamma")}, {400, 60},
                                     font(QStringLiteral("DejaVu Sans"), 16), Qt::white, Qt::black);
    const auto lines = TestAwait::result(TextReader::readWords(picture, {}));
    ASSERT_EQ(lines.size(), 1);
    ASSERT_EQ(lines.front().size(), 3);
    EXPECT_EQ(lines.front()[1].text, "beta");
    EXPECT_LT(lines.front()[0].box.right(), lines.front()[1].box.left());
    EXPECT_LT(lines.front()[1].box.right(), lines.front()[2].box.left());
}

}  // namespace
