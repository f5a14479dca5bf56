#include "Glyphnab/shell/ArgumentNames.h"

#include <gtest/gtest.h>

namespace Glyphnab::ArgumentNames {
namespace {

TEST(ArgumentNames, BytesThatAreNotUtf8FindTheirFileAgain) {
    for (const QByteArray& name : {QByteArray("caf\xe9.pdf"), QByteArray("\xff\xfe"), QByteArray("a\xc3"),
                                   QByteArray("\xed\xa0\x80.png"), QByteArray("\xc0\xaf.png"),
                                   QByteArray("\xf4\x90\x80\x80")}) {
        const QString decoded = fromNative(name);
        EXPECT_TRUE(hasForeignBytes(decoded)) << name.toHex().toStdString();
        EXPECT_EQ(toNative(decoded), name) << name.toHex().toStdString();
    }
    // UTF-8 names are the plain text they spell.
    const QByteArray utf8("Café 東京 🎉.png");
    EXPECT_EQ(fromNative(utf8), QString::fromUtf8(utf8));
    EXPECT_FALSE(hasForeignBytes(fromNative(utf8)));
    EXPECT_EQ(toNative(fromNative(utf8)), utf8);
}

TEST(ArgumentNames, WhatATerminalWouldActOnIsShownEscaped) {
    EXPECT_EQ(shown(fromNative("a\nb\tc\x1b[2J\x07\x7f.png")), QStringLiteral("a\\nb\\tc\\e[2J\\x07\\x7f.png"));
    EXPECT_EQ(shown(fromNative("caf\xe9.pdf")), QStringLiteral("caf\\xe9.pdf"));
    EXPECT_EQ(shown(QString(QChar(0x9b)) + QStringLiteral("31m")), QStringLiteral("\\x9b31m"));
    EXPECT_EQ(shown(QStringLiteral("Café 東京/scan (1).png")), QStringLiteral("Café 東京/scan (1).png"));
}

}  // namespace
}  // namespace Glyphnab::ArgumentNames
