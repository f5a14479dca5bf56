#include "Glyphnab/shell/AppBusArguments.h"

#include "tests/support/BadInputs.h"
#include "text/ImageInput.h"

#include <gtest/gtest.h>

namespace Glyphnab::AppBusArguments {
namespace {

TEST(AppBusArguments, OnlyLocalFilesAreTaken) {
    EXPECT_EQ(localFile(QStringLiteral("/tmp/a.png")), QUrl::fromLocalFile(QStringLiteral("/tmp/a.png")));
    EXPECT_EQ(localFile(QStringLiteral("file:///tmp/b.pdf")), QUrl(QStringLiteral("file:///tmp/b.pdf")));
    // A doubled slash is the same path here, not a host; one the fuzzer found made an
    // address that was no local file at all.
    EXPECT_EQ(localFile(QStringLiteral("//tmp/a.png")), QUrl::fromLocalFile(QStringLiteral("/tmp/a.png")));
    const std::optional<QUrl> odd = localFile(QStringLiteral("//[3 .<< /"));
    EXPECT_TRUE(!odd || odd->isLocalFile());
    for (const char* refused : {"https://example.org/a.png", "a.png", "", "file://", "smb://host/a.png"})
        EXPECT_EQ(localFile(QString::fromUtf8(refused)), std::nullopt) << refused;
    EXPECT_EQ(localFiles({QStringLiteral("/a.png"), QStringLiteral("relative.png")}), std::nullopt);
}

TEST(AppBusArguments, ACallersPictureIsLeftUndecodedForTheBoundedReading) {
    // 630 bytes that claim 16000 × 16000: nothing is decoded on the thread that answers.
    const QByteArray claiming = BadInputs::jpegClaiming(16000, 16000);
    const auto board = copyTextBoard({}, claiming, QStringLiteral("image/jpeg"));
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->image(), std::nullopt);
    EXPECT_EQ(board->data(QStringLiteral("image/jpeg")), claiming);
    const QList<ZantrelText::Input> read = ZantrelText::ImageInput::read(*board);
    ASSERT_EQ(read.size(), 1);
    EXPECT_LE(qint64(read[0].image()->width()) * read[0].image()->height(), ZantrelText::ImageInput::pixelBudget);

    // An encoding the board has no name of its own for is read the same way.
    const auto bmp = copyTextBoard({}, BadInputs::encoded(BadInputs::textPicture(QStringLiteral("Hello")), "BMP"),
                                   QStringLiteral("image/bmp"));
    ASSERT_NE(bmp, nullptr);
    EXPECT_TRUE(ZantrelText::ImageInput::hasInput(*bmp));
    EXPECT_EQ(ZantrelText::ImageInput::read(*bmp).size(), 1);
    EXPECT_EQ(copyTextBoard({QStringLiteral("https://example.org/x.png")}, {}, {}), nullptr);
}

}  // namespace
}  // namespace Glyphnab::AppBusArguments
