#include "platform/recognition/DoubledCapitals.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

TEST(DoubledCapitals, AMarkedCapitalReadTwiceBeforeLowerCaseIsOne) {
    EXPECT_EQ(dropDoubledCapital(QStringLiteral("„ÜÜbersicht“.")), QStringLiteral("„Übersicht“."));
    EXPECT_EQ(dropDoubledCapital(QStringLiteral("ÉÉté")), QStringLiteral("Été"));
    // Capitals without a mark, all capitals, and letters inside a word stay.
    EXPECT_EQ(dropDoubledCapital(QStringLiteral("OOo")), QStringLiteral("OOo"));
    EXPECT_EQ(dropDoubledCapital(QStringLiteral("ÄÄ")), QStringLiteral("ÄÄ"));
    EXPECT_EQ(dropDoubledCapital(QStringLiteral("ÜÜBER")), QStringLiteral("ÜÜBER"));
    EXPECT_EQ(dropDoubledCapital(QStringLiteral("kääntää")), QStringLiteral("kääntää"));
}
