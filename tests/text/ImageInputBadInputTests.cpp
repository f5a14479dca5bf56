// Hostile and broken files: each gives a bounded read and says what was wrong.

#include "text/ImageInput.h"
#include "text/BoundedChild.h"
#include "text/PdfWorker.h"
#include "text/PictureChecks.h"

#include "ImageInputSamples.h"
#include "tests/support/BadInputs.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

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

    // A file whose picture takes most of what the worker may hold at full size still fits,
    // beside the bytes the worker read it from. Its seconds of decoding can pass the time
    // budget on a busy machine; what is asked here is memory, so it gets all the time.
    const QTemporaryDir folder;
    const QByteArray large = BadInputs::pngHeader(11000, 11000, 8, 6) +
                             BadInputs::pngChunk("IDAT", BadInputs::deflatedZeros(qint64{11000} * (11000 * 4 + 1))) +
                             BadInputs::pngChunk("IEND", {});
    const ImageInput::PictureRead read =
        ImageInput::decodeFileApart(path(folder, "large.png", large), std::chrono::minutes(3));
    EXPECT_EQ(read.problem, Problem::none);
    ASSERT_TRUE(read.picture);
    EXPECT_LE(qint64(read.picture->width()) * read.picture->height(), ImageInput::pixelBudget);
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

// Headers that lie are caught before a decoder allocates or loops by them.
TEST(ImageInputDecoderCaps, LyingHeadersAreRefusedBeforeTheDecoderSeesThem) {
    const QByteArray claimingChunk = BadInputs::pngClaimingChunk();
    EXPECT_EQ(claimingChunk.size(), 56);
    EXPECT_EQ(ImageInput::decodePicture(claimingChunk).problem, Problem::damaged);
    // Picture data cut short is no lie: it is read as far as it goes.
    const QByteArray whole = BadInputs::encoded(BadInputs::textPicture(QStringLiteral("Hello")), "PNG");
    EXPECT_FALSE(PictureChecks::pngChunkOverruns(whole));
    EXPECT_FALSE(PictureChecks::pngChunkOverruns(whole.left(whole.size() - 40)));

    const QByteArray scans = BadInputs::jpegWithScans(8000, 3000);
    EXPECT_LT(scans.size(), 300'000);
    EXPECT_EQ(ImageInput::decodePicture(scans).problem, Problem::damaged);
    const ImageInput::PictureRead progressive = ImageInput::decodePicture(BadInputs::jpegWithScans(16, 1));
    EXPECT_TRUE(progressive.picture);

    // An SVGZ is inflated no further than the cap.
    const ImageInput::PictureRead inflating = ImageInput::decodePicture(BadInputs::svgzInflatingTo(qint64{200} << 20));
    EXPECT_EQ(inflating.problem, Problem::tooLarge);
    EXPECT_FALSE(inflating.picture);
    const ImageInput::PictureRead small = ImageInput::decodePicture(BadInputs::svgzInflatingTo(4096));
    EXPECT_TRUE(small.picture);
    EXPECT_EQ(PictureChecks::inflated(QByteArray("\x1f\x8b\x08\x00junk", 8), 1024).error(),
              PictureChecks::InflateError::damaged);
}

// Decoding runs in a child: what comes back is the picture decoded here.
TEST(ImageInputDecoderCaps, PicturesDecodedApartComeBackAsDecodedHere) {
    QImage clear(40, 30, QImage::Format_ARGB32);
    clear.fill(QColor(10, 20, 30, 40));
    for (const QImage& picture : {BadInputs::textPicture(QStringLiteral("Hello")), clear}) {
        const QByteArray png = BadInputs::encoded(picture, "PNG");
        const ImageInput::PictureRead here = ImageInput::decodePicture(png);
        const ImageInput::PictureRead apart = ImageInput::decodeApart(png);
        ASSERT_TRUE(here.picture && apart.picture);
        EXPECT_EQ(apart.problem, Problem::none);
        EXPECT_EQ(apart.picture->convertToFormat(QImage::Format_ARGB32),
                  here.picture->convertToFormat(QImage::Format_ARGB32));
    }
    EXPECT_EQ(ImageInput::decodeApart(BadInputs::cutJpeg(BadInputs::textPicture(QStringLiteral("Hello")))).problem,
              Problem::cutShort);

}

// The child's three endings: its answer, killed at its time, killed past its memory.
TEST(BoundedChild, AChildEndsWithItsAnswerAtItsTimeOrPastItsMemory) {
    using BoundedChild::Ending;
    // Only the spinning child meets the short limit: a busy machine may start the others late.
    const BoundedChild::Limits roomy{std::chrono::milliseconds(60'000), std::int64_t{64} << 20};
    const BoundedChild::Limits quick{std::chrono::milliseconds(1500), std::int64_t{64} << 20};
    std::int32_t got = 0;
    const auto receiveOne = [&got](BoundedChild::Receiver& in) { return in.number(got); };
    EXPECT_EQ(BoundedChild::run(roomy, [](const BoundedChild::Sender& out) { out.number(42); }, receiveOne),
              Ending::answered);
    EXPECT_EQ(got, 42);

    QElapsedTimer clock;
    clock.start();
    const auto spin = [](const BoundedChild::Sender&) {
        std::uint64_t turns = 0;
        for (;;)
            asm volatile("" : "+r"(turns));
    };
    EXPECT_EQ(BoundedChild::run(quick, spin, receiveOne), Ending::tooLong);
    EXPECT_LT(clock.elapsed(), 30'000);

#if !defined(__SANITIZE_ADDRESS__)
    const auto hoard = [](const BoundedChild::Sender& out) {
        std::vector<std::unique_ptr<char[]>> kept;
        for (int i = 0; i < 64; ++i) {
            kept.emplace_back(new char[8 << 20]);
            std::memset(kept.back().get(), 1, 8 << 20);
        }
        out.number(static_cast<std::int32_t>(kept.size()));
    };
    EXPECT_EQ(BoundedChild::run({std::chrono::milliseconds(20'000), std::int64_t{64} << 20}, hoard, receiveOne),
              Ending::failed);
#endif
    // A child that stops before it has said all is no answer either.
    const auto silent = [](const BoundedChild::Sender&) {};
    EXPECT_EQ(BoundedChild::run(roomy, silent, receiveOne), Ending::failed);
}

// A child stuck from its start (on a lock another thread held at the fork) is started
// once more; one that works through its time is not.
TEST(BoundedChild, AChildAsleepThroughItsTimeIsStartedOnceMore) {
    using BoundedChild::Ending;
    const QTemporaryDir folder;
    const QByteArray mark = QFile::encodeName(folder.filePath(QStringLiteral("started")));
    std::int32_t got = 0;
    const auto receiveOne = [&got](BoundedChild::Receiver& in) { return in.number(got); };
    const auto stuckOnce = [&mark](const BoundedChild::Sender& out) {
        if (const int first = ::open(mark.constData(), O_CREAT | O_EXCL | O_WRONLY, 0600); first >= 0)
            for (;;)
                ::pause();
        out.number(7);
    };
    const BoundedChild::Limits brief{std::chrono::milliseconds(2000), std::int64_t{64} << 20};
    EXPECT_EQ(BoundedChild::run(brief, stuckOnce, receiveOne), Ending::answered);
    EXPECT_EQ(got, 7);
    EXPECT_TRUE(QFile::exists(QFile::decodeName(mark)));
}

// A process that quits ends its children, running or yet to start, long before their time.
TEST(BoundedChild, ClosingEndsEveryChildAtOnce) {
    using BoundedChild::Ending;
    const BoundedChild::Limits forever{std::chrono::milliseconds(600'000), std::int64_t{64} << 20};
    std::atomic<bool> started = false;
    std::int32_t got = 0;
    const auto receiveTwo = [&](BoundedChild::Receiver& in) {
        if (!in.number(got))
            return false;
        started = true;
        return in.number(got);
    };
    const auto spin = [](const BoundedChild::Sender& out) {
        out.number(1);
        std::uint64_t turns = 0;
        for (;;)
            asm volatile("" : "+r"(turns));
    };
    auto ending = std::async(std::launch::async, [&] { return BoundedChild::run(forever, spin, receiveTwo); });
    ASSERT_TRUE(TestSupport::waitUntil([&] { return started.load(); }));
    BoundedChild::setClosing(true);
    ASSERT_EQ(ending.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(ending.get(), Ending::failed);
    EXPECT_EQ(BoundedChild::run(forever, spin, receiveTwo), Ending::failed);
    BoundedChild::setClosing(false);
}
