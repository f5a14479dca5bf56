#include "text/ImageInput.h"

#include "ImageInputSamples.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZantrelText;
using namespace ImageInputSamples;
namespace Type = Platform::PasteboardType;

namespace {

class ImageInputBoard : public ::testing::Test {
protected:
    QUrl file(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return QUrl::fromLocalFile(path);
    }

    static QList<QSize> pictureSizes(const QList<Input>& inputs) {
        QList<QSize> sizes;
        for (const Input& input : inputs)
            sizes.append(input.image() ? input.image()->size() : QSize());
        return sizes;
    }

    QTemporaryDir folder;
    Platform::MemoryPasteboard board;
};

}  // namespace

TEST_F(ImageInputBoard, FileUrlsWinEvenWhenNothingInThemReads) {
    board.setData(Type::png, encoded(halves(40, 20), "PNG"));

    board.setUrls({file("notes.txt", "words")});
    EXPECT_TRUE(ImageInput::read(board).isEmpty());
    EXPECT_FALSE(ImageInput::hasInput(board));

    // Accepted by name, gone from the disk: still the files decide.
    board.setUrls({QUrl::fromLocalFile(folder.filePath("gone.png"))});
    EXPECT_TRUE(ImageInput::read(board).isEmpty());
    EXPECT_TRUE(ImageInput::hasInput(board));
}

TEST_F(ImageInputBoard, FilesAreReadInBoardOrderAndConcatenated) {
    board.setUrls({file("b.png", encoded(halves(40, 20), "PNG")),
                   file("skip.txt", "words"),
                   file("a.pdf", pdf({textPage("Cover"), blankPage({100, 50})})),
                   file("c.jpg", encoded(halves(30, 10), "JPEG"))});
    const QList<Input> inputs = ImageInput::read(board);
    ASSERT_EQ(inputs.size(), 4);
    EXPECT_EQ(inputs[0].image()->size(), QSize(40, 20));
    EXPECT_EQ(*inputs[1].string(), "Cover");
    EXPECT_EQ(inputs[2].image()->size(), QSize(200, 100));
    EXPECT_EQ(inputs[3].image()->size(), QSize(30, 10));
    EXPECT_TRUE(ImageInput::hasInput(board));
}

TEST_F(ImageInputBoard, WebAddressesAreNotFiles) {
    board.setUrls({QUrl("https://example.org/photo.png")});
    board.setData(Type::png, encoded(halves(40, 20), "PNG"));
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(40, 20)});
    EXPECT_TRUE(ImageInput::hasInput(board));
}

TEST_F(ImageInputBoard, PdfDataComesBeforePictureData) {
    board.setData(Type::png, encoded(halves(40, 20), "PNG"));
    board.setData(Type::pdf, pdf({textPage("Receipt"), textPage("2")}));
    const QList<Input> inputs = ImageInput::read(board);
    ASSERT_EQ(inputs.size(), 2);
    EXPECT_EQ(*inputs[0].string(), "Receipt");
    EXPECT_EQ(inputs[1].image()->size(), QSize(600, 800));

    // A PDF that does not open hands over to the picture.
    board.setData(Type::pdf, "%PDF-1.4 broken");
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(40, 20)});
}

TEST_F(ImageInputBoard, PicturesAreTriedPngTiffJpegHeic) {
    board.setData(Type::jpeg, encoded(halves(30, 10), "JPEG"));
    board.setData(Type::png, encoded(halves(40, 20), "PNG"));
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(40, 20)});

    board.setData(Type::png, "not a png");
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(30, 10)});
}

TEST_F(ImageInputBoard, JpegOnlyBoardIsReadAndSaysSo) {
    board.setData(Type::jpeg, jpegWithOrientation(halves(60, 30), 6));
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(30, 60)});
    EXPECT_TRUE(ImageInput::hasInput(board));
}

TEST_F(ImageInputBoard, BoardsOwnPictureIsTheLastResort) {
    board.setImage(halves(12, 8));
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(12, 8)});

    board.setData(Type::png, encoded(halves(40, 20), "PNG"));
    EXPECT_EQ(pictureSizes(ImageInput::read(board)), QList<QSize>{QSize(40, 20)});
}

TEST_F(ImageInputBoard, EmptyOrTextOnlyBoardHasNothing) {
    EXPECT_TRUE(ImageInput::read(board).isEmpty());
    EXPECT_FALSE(ImageInput::hasInput(board));

    board.setString("plain words");
    EXPECT_TRUE(ImageInput::read(board).isEmpty());
    EXPECT_FALSE(ImageInput::hasInput(board));
}

TEST_F(ImageInputBoard, DesktopClipboardPictureIsRead) {
    auto mime = std::make_unique<QMimeData>();
    mime->setData(Type::png, encoded(halves(40, 20), "PNG"));
    QGuiApplication::clipboard()->setMimeData(mime.release());  // the clipboard owns it
    const Platform::ClipboardPasteboard clipboard;
    EXPECT_TRUE(ImageInput::hasInput(clipboard));
    EXPECT_EQ(pictureSizes(ImageInput::read(clipboard)), QList<QSize>{QSize(40, 20)});
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(ImageInput::hasInput(clipboard));
}
