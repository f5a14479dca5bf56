#include "platform/recognition/SharpS.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

TEST(SharpS, AGlyphReadTwiceAsSharpSAndBIsOneSharpS) {
    EXPECT_EQ(dropDoubledSharpS(QStringLiteral("ÄußBerst")), QStringLiteral("Äußerst"));
    EXPECT_EQ(dropDoubledSharpS(QStringLiteral("Straße")), QStringLiteral("Straße"));
    EXPECT_EQ(dropDoubledSharpS(QStringLiteral("GmbH")), QStringLiteral("GmbH"));
}

TEST(SharpSReadAsB, ABAfterASmallLetterIsASharpSForAReaderOfGerman) {
    EXPECT_EQ(readSharpS(QStringLiteral("ÄuBerst")), QStringLiteral("Äußerst"));
    EXPECT_EQ(readSharpS(QStringLiteral("FuB,")), QStringLiteral("Fuß,"));
    // A capital that starts a word, a part of a compound or an abbreviation stays.
    for (const char* word : {"Bericht", "Web-Browser", "GmbH", "ABB", "DB2", "mB2"})
        EXPECT_EQ(readSharpS(QString::fromUtf8(word)), QString::fromUtf8(word)) << word;
    std::vector<LineWords> lines{{QRectF(0, 0, 80, 14), {WordBox{QStringLiteral("StraBe"), QRectF(0, 0, 80, 14), 0.7f}}}};
    auto english = lines;
    readSharpS(english, {QStringLiteral("en-US")});
    EXPECT_EQ(english.front().words.front().text, QStringLiteral("StraBe"));
    readSharpS(lines, {QStringLiteral("en-US"), QStringLiteral("de-AT")});
    EXPECT_EQ(lines.front().words.front().text, QStringLiteral("Straße"));
}

TEST(SharpSReadAsR, AnRInsideASmallWordIsASharpSAsTheBIs) {
    EXPECT_EQ(readSharpS(QStringLiteral("StraRe")), QStringLiteral("Straße"));
    EXPECT_EQ(readSharpS(QStringLiteral("ÄuRerst")), QStringLiteral("Äußerst"));
    for (const char* word : {"Rückfragen", "Info-Reihe", "RBB", "mR2", "BRD"})
        EXPECT_EQ(readSharpS(QString::fromUtf8(word)), QString::fromUtf8(word)) << word;
}

TEST(SharpSReadAsTwoLookAlikes, AnRAndABTogetherInsideASmallWordAreOneSharpS) {
    EXPECT_EQ(readSharpS(QStringLiteral("ÄuRBerst")), QStringLiteral("Äußerst"));
    EXPECT_EQ(readSharpS(QStringLiteral("FuBR.")), QStringLiteral("Fuß."));
    for (const char* word : {"ARBeit", "zBR2", "uRBAN"})
        EXPECT_EQ(readSharpS(QString::fromUtf8(word)), QString::fromUtf8(word)) << word;
}
