// Hostile and broken files: each gives a bounded read and says what was wrong.

#include "text/ImageInput.h"
#include "text/PdfWorker.h"

#include "ImageInputSamples.h"
#include "tests/support/BadInputs.h"

#include <QElapsedTimer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace ZantrelText;
using ImageInput::Problem;

namespace {

QString path(const QTemporaryDir& folder, const char* name, const QByteArray& bytes) {
    const QString file = folder.filePath(QString::fromUtf8(name));
    ImageInputSamples::writeFile(file, bytes);
    return file;
}

ImageInput::FileRead readFile(const QString& file) { return ImageInput::read(QUrl::fromLocalFile(file)); }

}  // namespace

TEST(PdfWorker, LockedLoopingAndInflatingDocumentsEndWithTheirReason) {
    // Each document ends by its own limit: the others get time enough for a busy machine.
    PdfWorker::Limits roomy;
    roomy.time = std::chrono::seconds(60);
    roomy.memoryBytes = std::int64_t{96} << 20;

    const PdfWorker::Result locked = PdfWorker::read({{}, BadInputs::pdfWithPassword()}, roomy);
    EXPECT_EQ(locked.ending, PdfWorker::Ending::password);
    EXPECT_TRUE(locked.inputs.isEmpty());

    // The engine never returns from this page tree: the child is stopped at the limit, not
    // long after it (the bound allows for a machine that schedules the caller late).
    PdfWorker::Limits quick = roomy;
    quick.time = std::chrono::milliseconds(1500);
    QElapsedTimer clock;
    clock.start();
    const PdfWorker::Result looping = PdfWorker::read({{}, BadInputs::pdfWithLoopingPages()}, quick);
    EXPECT_EQ(looping.ending, PdfWorker::Ending::tooLong);
    EXPECT_GE(clock.elapsed(), 1500);
    EXPECT_LT(clock.elapsed(), 30'000);

#if !defined(__SANITIZE_ADDRESS__)
    // 256 MB of content against a cap of 96 MB: the cap ends it, however slowly it inflates.
    const PdfWorker::Result inflating = PdfWorker::read({{}, BadInputs::pdfInflatingTo(qint64{256} << 20)}, roomy);
    EXPECT_EQ(inflating.ending, PdfWorker::Ending::failed);
#endif

    const PdfWorker::Result damaged = PdfWorker::read({{}, QByteArray("%PDF-1.4\nnothing else")}, roomy);
    EXPECT_EQ(damaged.ending, PdfWorker::Ending::damaged);

    const PdfWorker::Result counted = PdfWorker::read({{}, BadInputs::pdfWithPage(300, 400)}, roomy, true);
    EXPECT_EQ(counted.ending, PdfWorker::Ending::read);
    EXPECT_EQ(counted.pageCount, 1);
    EXPECT_TRUE(counted.inputs.isEmpty());
}

TEST(PdfWorker, PagesAreDrawnAtTheRenderScaleUnlessOverTheCap) {
    EXPECT_DOUBLE_EQ(PdfWorker::scaleFor(595, 842, 2.0, ImageInput::pixelBudget), 2.0);
    const double poster = PdfWorker::scaleFor(5000, 5000, 2.0, ImageInput::pixelBudget);
    EXPECT_LT(poster, 2.0);
    EXPECT_NEAR(5000 * poster * 5000 * poster, double(ImageInput::pixelBudget), 1.0);
    EXPECT_DOUBLE_EQ(PdfWorker::scaleFor(0, 0, 2.0, ImageInput::pixelBudget), 2.0);
}

TEST(ImageInputBadFiles, LockedPdfAndHugePageSayWhatTheyAre) {
    QTemporaryDir folder;
    EXPECT_EQ(readFile(path(folder, "locked.pdf", BadInputs::pdfWithPassword())).problem, Problem::password);

    // 551 bytes that ask for a page of 5000 × 5000 points: drawn within the budget.
    const ImageInput::FileRead page = readFile(path(folder, "page.pdf", BadInputs::pdfWithPage(5000, 5000)));
    EXPECT_EQ(page.problem, Problem::none);
    ASSERT_EQ(page.inputs.size(), 1);
    const QSize drawn = page.inputs[0].image()->size();
    EXPECT_LE(qint64(drawn.width()) * drawn.height(), ImageInput::pixelBudget);
}

TEST(ImageInputBadFiles, PdfTextLayersEndLinesWithNewlinesOnly) {
    QTemporaryDir folder;
    const QString file = folder.filePath("lines.pdf");
    {
        QPdfWriter writer(file);
        writer.setResolution(72);
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(14);
        painter.setFont(font);
        painter.drawText(QPointF(40, 60), QStringLiteral("First line here"));
        painter.drawText(QPointF(40, 90), QStringLiteral("Second line here"));
    }
    const ImageInput::FileRead read = readFile(file);
    ASSERT_EQ(read.inputs.size(), 1);
    ASSERT_TRUE(read.inputs[0].isText());
    const QString text = *read.inputs[0].string();
    EXPECT_FALSE(text.contains(u'\r')) << text.toStdString();
    EXPECT_EQ(text, QStringLiteral("First line here\nSecond line here"));
}

TEST(ImageInputBadFiles, PicturesThatEndEarlyAreReadAndFlagged) {
    const QImage picture = BadInputs::textPicture(QStringLiteral("Cut short"), {320, 240});
    const QByteArray jpeg = BadInputs::encoded(picture, "JPEG", 90);
    const QByteArray png = BadInputs::encoded(picture, "PNG");
    const QByteArray gif = QByteArray("GIF89a") + QByteArray(20, '\x01') + '\x3b';

    EXPECT_FALSE(ImageInput::endsEarly(jpeg));
    EXPECT_TRUE(ImageInput::endsEarly(jpeg.left(jpeg.size() * 2 / 3)));
    EXPECT_FALSE(ImageInput::endsEarly(png));
    EXPECT_TRUE(ImageInput::endsEarly(png.left(png.size() - 12)));
    EXPECT_FALSE(ImageInput::endsEarly(gif));
    EXPECT_TRUE(ImageInput::endsEarly(gif.chopped(1)));
    EXPECT_FALSE(ImageInput::endsEarly(QByteArray("plain words")));

    const ImageInput::PictureRead cut = ImageInput::decodePicture(BadInputs::cutJpeg(picture));
    ASSERT_TRUE(cut.picture);
    EXPECT_EQ(cut.picture->size(), picture.size());
    EXPECT_EQ(cut.problem, Problem::cutShort);
    EXPECT_EQ(ImageInput::decodePicture(jpeg).problem, Problem::none);
}

TEST(ImageInputBadFiles, HugeClaimsAreDecodedSmallOrRefused) {
    // 630 bytes claiming 16000 × 16000: decoded straight to the budget.
    const ImageInput::PictureRead bomb = ImageInput::decodePicture(BadInputs::jpegClaiming(16000, 16000));
    ASSERT_TRUE(bomb.picture);
    EXPECT_LE(qint64(bomb.picture->width()) * bomb.picture->height(), ImageInput::pixelBudget);
    EXPECT_NEAR(bomb.picture->width(), 4096, 8);
    // Past what any camera makes: refused from its header alone.
    EXPECT_EQ(ImageInput::decodePicture(BadInputs::jpegClaiming(60000, 60000)).problem, Problem::tooLarge);
}

TEST(ImageInputBadFiles, FittingToTheBudgetKeepsShapeAndColourAndPutsClearOnWhite) {
    QImage wide(3000, 1000, QImage::Format_RGB32);
    wide.fill(qRgb(200, 40, 40));
    const QImage fitted = ImageInput::fitToBudget(wide, 300'000);
    EXPECT_LE(qint64(fitted.width()) * fitted.height(), 300'000);
    EXPECT_NEAR(double(fitted.width()) / fitted.height(), 3.0, 0.05);
    EXPECT_EQ(fitted.pixel(10, 10), qRgb(200, 40, 40));

    // Within the budget: the same picture, untouched.
    EXPECT_EQ(ImageInput::fitToBudget(wide, 3'000'000).constBits(), wide.constBits());

    QImage clear(2000, 2000, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QImage onWhite = ImageInput::fitToBudget(clear, 1'000'000);
    EXPECT_EQ(onWhite.pixel(5, 5), qRgb(255, 255, 255));

    // A 1-bit picture is averaged without a full-size colour copy: grey where black and
    // white pixels alternate.
    QImage stripes(4000, 4000, QImage::Format_Mono);
    stripes.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < stripes.height(); ++y)
        std::memset(stripes.scanLine(y), 0x55, static_cast<std::size_t>(stripes.bytesPerLine()));
    const QImage grey = ImageInput::fitToBudget(stripes, 1'000'000);
    EXPECT_NEAR(qRed(grey.pixel(100, 100)), 127, 2);
}
