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

TEST(AppBusArguments, ACallersPictureIsDecodedWithinTheBudget) {
    // 630 bytes that claim 16000 × 16000.
    const auto board = copyTextBoard({}, BadInputs::jpegClaiming(16000, 16000), QStringLiteral("image/jpeg"));
    ASSERT_NE(board, nullptr);
    const std::optional<QImage> picture = board->image();
    ASSERT_TRUE(picture);
    EXPECT_LE(qint64(picture->width()) * picture->height(), ZantrelText::ImageInput::pixelBudget);
    EXPECT_EQ(copyTextBoard({QStringLiteral("https://example.org/x.png")}, {}, {}), nullptr);
}

}  // namespace
}  // namespace Glyphnab::AppBusArguments
