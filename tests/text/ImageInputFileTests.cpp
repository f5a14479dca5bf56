#include "text/ImageInput.h"

#include "ImageInputSamples.h"
#include "platform/log/Log.h"

#include <QDir>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <tuple>
#include <thread>

using namespace ZantrelText;
using namespace ImageInputSamples;

namespace {

class ImageInputFiles : public ::testing::Test {
protected:
    QUrl file(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes)) << path.toStdString();
        return QUrl::fromLocalFile(path);
    }
    QUrl pdfFile(const QString& name, const std::vector<Page>& pages) {
        return file(name, pdf(pages));
    }

    static bool logged(const QString& fragment) {
        const auto entries = Platform::LogStore::shared().entries();
        return std::ranges::any_of(entries, [&](const Platform::LogEntry& e) {
            return e.category == QLatin1String("input") && e.message.contains(fragment);
        });
    }

    QTemporaryDir folder;
};

QString textOf(const Input& input) { return input.string() ? *input.string() : QString(); }

}  // namespace

TEST_F(ImageInputFiles, TypeComesFromTheExtensionAlone) {
    const QByteArray png = encoded(halves(8, 8), "PNG");
    for (const char* name : {"a.png", "b.PNG", "c.heic", "d.jpg", "e.pdf", "f.svg"})
        EXPECT_TRUE(ImageInput::canRead(QUrl::fromLocalFile(folder.filePath(name)))) << name;

    // A real PNG without an extension, or named as text, is still not readable.
    for (const char* name : {"picture", "picture.txt", "scan.pdf.gz", ".png", "trailing."}) {
        const QUrl url = file(name, png);
        EXPECT_FALSE(ImageInput::canRead(url)) << name;
        const ImageInput::FileRead read = ImageInput::read(url);
        EXPECT_TRUE(read.inputs.isEmpty()) << name;
        EXPECT_EQ(read.problem, ImageInput::Problem::notPictureOrPdf) << name;
    }

    // Text in a file named as a picture is accepted by name, and then gives nothing.
    const QUrl misnamed = file("notes.png", "just some words");
    EXPECT_TRUE(ImageInput::canRead(misnamed));
    EXPECT_TRUE(ImageInput::read(misnamed).inputs.isEmpty());
    EXPECT_EQ(ImageInput::read(misnamed).problem, ImageInput::Problem::notPictureOrPdf);
}

TEST_F(ImageInputFiles, AcceptedTypesArePicturesThenPdfs) {
    const auto& types = ImageInput::acceptedTypes();
    ASSERT_EQ(types.size(), 2);
    const QMimeDatabase db;
    EXPECT_TRUE(types[0].conforms(db.mimeTypeForName("image/jpeg")));
    EXPECT_FALSE(types[0].conforms(db.mimeTypeForName("application/pdf")));
    EXPECT_TRUE(types[1].conforms(db.mimeTypeForName("application/pdf")));
    EXPECT_FALSE(types[1].conforms(db.mimeTypeForName("text/plain")));
    // The open dialog filters by name.
    EXPECT_TRUE(types[0].globPatterns().contains("*.png"));
    EXPECT_FALSE(types[0].globPatterns().contains("*.pdf"));
    EXPECT_TRUE(types[1].globPatterns().contains("*.pdf"));
    EXPECT_FALSE(types[1].globPatterns().contains("*.png"));
}

TEST_F(ImageInputFiles, PictureFileGivesOnePictureAndNoPageCount) {
    const QImage stored = halves(60, 30);
    const ImageInput::FileRead read = ImageInput::read(file("shot.png", encoded(stored, "PNG")));
    ASSERT_EQ(read.inputs.size(), 1);
    ASSERT_TRUE(read.inputs[0].isPicture());
    EXPECT_EQ(read.inputs[0].image()->convertToFormat(QImage::Format_RGB32), stored);
    EXPECT_FALSE(read.pdfPages);
}

TEST_F(ImageInputFiles, OrientationSixComesOutUprightAtFullSize) {
    const QImage stored = halves(60, 30);
    const ImageInput::FileRead read =
        ImageInput::read(file("turned.jpg", jpegWithOrientation(stored, 6)));
    ASSERT_EQ(read.inputs.size(), 1);
    const QImage& upright = *read.inputs[0].image();
    EXPECT_EQ(upright.size(), QSize(30, 60));
    // Turned a quarter clockwise: the stored left half is now on top.
    EXPECT_TRUE(near(upright.pixelColor(15, 10), Qt::red)) << upright.pixelColor(15, 10).name().toStdString();
    EXPECT_TRUE(near(upright.pixelColor(15, 50), Qt::blue));
}

TEST_F(ImageInputFiles, OrientationOneOrNoneComesOutAsStored) {
    const QImage stored = halves(60, 30);
    for (const auto& [name, bytes] :
         {std::pair{"one.jpg", jpegWithOrientation(stored, 1)}, std::pair{"none.jpg", encoded(stored, "JPEG")}}) {
        const ImageInput::FileRead read = ImageInput::read(file(name, bytes));
        ASSERT_EQ(read.inputs.size(), 1) << name;
        const QImage& picture = *read.inputs[0].image();
        EXPECT_EQ(picture.size(), QSize(60, 30)) << name;
        EXPECT_TRUE(near(picture.pixelColor(10, 15), Qt::red)) << name;
    }
}

TEST_F(ImageInputFiles, BrokenPicturesGiveNothingAndSayWhy) {
    using ImageInput::Problem;
    const QByteArray png = encoded(halves(200, 100), "PNG");
    for (const auto& [name, bytes, why] : {std::tuple{"empty.png", QByteArray(), Problem::notPictureOrPdf},
                                           std::tuple{"truncated.png", png.left(png.size() / 3), Problem::damaged},
                                           std::tuple{"header-only.png", png.left(8), Problem::damaged},
                                           std::tuple{"noise.jpg", QByteArray(4096, '\x5a'), Problem::notPictureOrPdf}}) {
        const ImageInput::FileRead read = ImageInput::read(file(name, bytes));
        EXPECT_TRUE(read.inputs.isEmpty()) << name;
        EXPECT_FALSE(read.pdfPages) << name;
        EXPECT_EQ(read.problem, why) << name;
    }
    const ImageInput::FileRead missing = ImageInput::read(QUrl::fromLocalFile(folder.filePath("missing.png")));
    EXPECT_TRUE(missing.inputs.isEmpty());
    EXPECT_EQ(missing.problem, Problem::missing);
}

TEST_F(ImageInputFiles, PictureOverThePixelCapIsRefusedBeforeDecoding) {
    // A grey-map header that claims 20000 × 20000 pixels (400 MB once decoded) and
    // holds no pixels at all.
    const QUrl bomb = file("bomb.pgm", "P5\n20000 20000\n255\n");
    ASSERT_TRUE(ImageInput::canRead(bomb));
    const ImageInput::FileRead read = ImageInput::read(bomb);
    EXPECT_TRUE(read.inputs.isEmpty());
    EXPECT_EQ(read.problem, ImageInput::Problem::tooLarge);
}

TEST_F(ImageInputFiles, FoldersAndPipesGiveNothingWithoutWaiting) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.png"));
    const QString pipe = folder.filePath("pipe.pdf");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const QString picturePipe = folder.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(picturePipe.toLocal8Bit().constData(), 0600), 0);

    auto reads = std::async(std::launch::async, [&] {
        return ImageInput::read(QUrl::fromLocalFile(folder.filePath("folder.png"))).inputs.size() +
               ImageInput::read(QUrl::fromLocalFile(pipe)).inputs.size() +
               ImageInput::read(QUrl::fromLocalFile(picturePipe)).inputs.size();
    });
    if (reads.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "a read waited on a pipe";
        // Let reads stuck on the pipes go, so the failure is reported instead of hanging.
        for (int round = 0; round < 100 && reads.wait_for(std::chrono::milliseconds(100)) !=
                                               std::future_status::ready; ++round)
            for (const QString& path : {pipe, picturePipe})
                if (const int writer = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
                    writer >= 0)
                    ::close(writer);
    }
    EXPECT_EQ(reads.get(), 0u);
}

TEST_F(ImageInputFiles, LongPdfGivesItsFirstThirtyPagesAndTheWholeCount) {
    std::vector<Page> pages;
    for (int i = 1; i <= 45; ++i)
        pages.push_back(textPage(QStringLiteral("Page %1").arg(i)));
    const ImageInput::FileRead read = ImageInput::read(pdfFile("long.pdf", pages));
    EXPECT_EQ(read.pdfPages, 45);
    ASSERT_EQ(read.inputs.size(), ImageInput::pageLimit);
    for (int i = 0; i < ImageInput::pageLimit; ++i)
        EXPECT_EQ(textOf(read.inputs[i]), QStringLiteral("Page %1").arg(i + 1));
}

TEST_F(ImageInputFiles, PagesWithLettersAreTextOthersAreDrawn) {
    const ImageInput::FileRead read = ImageInput::read(pdfFile(
        "mixed.pdf", {textPage("Invoice"), textPage("12 / 45"), textPage(QString::fromUtf8("Привет")),
                      blankPage(), textPage("- 3 -")}));
    EXPECT_EQ(read.pdfPages, 5);
    ASSERT_EQ(read.inputs.size(), 5);
    EXPECT_EQ(textOf(read.inputs[0]), "Invoice");  // trimmed: nothing around it
    ASSERT_TRUE(read.inputs[1].isPicture());
    EXPECT_EQ(read.inputs[1].image()->size(), QSize(600, 800));
    EXPECT_EQ(textOf(read.inputs[2]), QString::fromUtf8("Привет"));
    EXPECT_TRUE(read.inputs[3].isPicture());
    EXPECT_TRUE(read.inputs[4].isPicture());
}

TEST_F(ImageInputFiles, DrawnPageIsOpaqueWhiteAtTwicePointSize) {
    const Page page{{300, 400}, [](QPainter& painter) {
                        painter.fillRect(QRectF(100, 100, 50, 50), Qt::black);
                    }};
    const ImageInput::FileRead read = ImageInput::read(pdfFile("square.pdf", {page}));
    ASSERT_EQ(read.inputs.size(), 1);
    const QImage& drawn = *read.inputs[0].image();
    EXPECT_EQ(drawn.size(), QSize(600, 800));
    EXPECT_EQ(drawn.format(), QImage::Format_RGB32);
    EXPECT_EQ(drawn.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(drawn.pixel(595, 795), qRgb(255, 255, 255));
    EXPECT_EQ(drawn.pixel(250, 250), qRgb(0, 0, 0));  // the square, at (200, 200)–(300, 300)
    EXPECT_EQ(drawn.pixel(190, 250), qRgb(255, 255, 255));
}

TEST_F(ImageInputFiles, PosterPagesAreDrawnSmallerWithinThePixelBudget) {
    // 6000 × 6000 points is 144 megapixels at scale 2: drawn at the budget instead.
    const ImageInput::FileRead read = ImageInput::read(
        pdfFile("poster.pdf", {blankPage({6000, 6000}), textPage("After"), blankPage({6000, 3000})}));
    EXPECT_EQ(read.pdfPages, 3);
    ASSERT_EQ(read.inputs.size(), 3);
    EXPECT_EQ(textOf(read.inputs[1]), "After");
    for (int page : {0, 2}) {
        ASSERT_TRUE(read.inputs[page].isPicture());
        const QSize size = read.inputs[page].image()->size();
        EXPECT_LE(qint64(size.width()) * size.height(), ImageInput::pixelBudget) << page;
        EXPECT_GT(qint64(size.width()) * size.height(), ImageInput::pixelBudget * 9 / 10) << page;
    }
    // The shape is kept.
    EXPECT_NEAR(double(read.inputs[2].image()->width()) / read.inputs[2].image()->height(), 2.0, 0.01);
}

TEST_F(ImageInputFiles, BrokenPdfGivesNoInputsAndNoCount) {
    const QByteArray good = pdf({textPage("Hello")});
    for (const auto& [name, bytes] : {std::pair{"empty.pdf", QByteArray()},
                                      std::pair{"noise.pdf", QByteArray(2048, '\x11')},
                                      std::pair{"head.pdf", good.left(16)}}) {
        const ImageInput::FileRead read = ImageInput::read(file(name, bytes));
        EXPECT_TRUE(read.inputs.isEmpty()) << name;
        EXPECT_FALSE(read.pdfPages) << name;
        EXPECT_EQ(read.problem, ImageInput::Problem::damaged) << name;
    }
}

TEST_F(ImageInputFiles, ReadsOnSeveralThreadsAgree) {
    const QUrl url = pdfFile("shared.pdf", {textPage("Alpha"), textPage("7"), blankPage({200, 100})});
    const ImageInput::FileRead alone = ImageInput::read(url);
    ASSERT_EQ(alone.inputs.size(), 3);

    std::vector<std::future<ImageInput::FileRead>> reads;
    for (int i = 0; i < 6; ++i)
        reads.push_back(std::async(std::launch::async, [url] { return ImageInput::read(url); }));
    for (auto& read : reads)
        EXPECT_EQ(read.get(), alone);
}
