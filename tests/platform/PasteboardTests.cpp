#include "platform/pasteboard/Pasteboard.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(MemoryPasteboard, WritingReplacesEverythingWithPlainText) {
    MemoryPasteboard board;
    board.setData(PasteboardType::png, "png-bytes");
    board.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png")), QUrl(QStringLiteral("https://x.test"))});
    EXPECT_EQ(board.types(), (QStringList{PasteboardType::png, PasteboardType::uriList}));
    EXPECT_EQ(board.fileUrls().size(), 1);
    ASSERT_TRUE(board.setString(QStringLiteral("copied")));
    EXPECT_EQ(board.types(), QStringList{PasteboardType::text});
    EXPECT_EQ(board.string(), QStringLiteral("copied"));
    EXPECT_TRUE(board.data(PasteboardType::png).isEmpty());
    EXPECT_EQ(board.writeCount(), 1);
    board.clearContents();
    EXPECT_TRUE(board.types().isEmpty());
    EXPECT_EQ(board.clearCount(), 1);
}

TEST(ClipboardPasteboard, RoundTripsUnicodeText) {
    ClipboardPasteboard board;
    const QString text = QStringLiteral("Grüße\tzwei\n三");
    ASSERT_TRUE(board.setString(text));
    EXPECT_EQ(board.string(), text);
    EXPECT_TRUE(board.types().contains(PasteboardType::text));
    EXPECT_FALSE(board.image());
    board.clearContents();
    EXPECT_TRUE(board.string().isEmpty());
}

}  // namespace
