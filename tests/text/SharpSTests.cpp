#include "platform/recognition/SharpS.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

TEST(SharpS, AGlyphReadTwiceAsSharpSAndBIsOneSharpS) {
    EXPECT_EQ(dropDoubledSharpS(QStringLiteral("ÄußBerst")), QStringLiteral("Äußerst"));
    EXPECT_EQ(dropDoubledSharpS(QStringLiteral("Straße")), QStringLiteral("Straße"));
    EXPECT_EQ(dropDoubledSharpS(QStringLiteral("GmbH")), QStringLiteral("GmbH"));
}
