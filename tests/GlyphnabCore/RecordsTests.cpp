#include "GlyphnabCore/PageCut.h"
#include "GlyphnabCore/Recents.h"

#include <gtest/gtest.h>

using namespace GlyphnabCore;

TEST(PageCutTests, OnlyFilesPastTheLimitMakeACut) {
    EXPECT_EQ(PageCut::make({12, 45}, 30), (PageCut{42, 57, 2, 30}));
    EXPECT_EQ(PageCut::make({31}, 30), (PageCut{30, 31, 1, 30}));
    EXPECT_FALSE(PageCut::make({30, 12}, 30));
    EXPECT_FALSE(PageCut::make({}, 30));
}

TEST(RecentsTests, NewestFirstWithoutDuplicatesAndAtMostTwenty) {
    Recents recents;
    for (int i = 1; i <= 21; ++i)
        recents.add(QString::number(i));
    ASSERT_EQ(recents.items().size(), 20);
    EXPECT_EQ(recents.items().front(), "21");
    EXPECT_EQ(recents.items().back(), "2");

    recents.add("10");
    EXPECT_EQ(recents.items().front(), "10");
    EXPECT_EQ(recents.items().count("10"), 1);
    EXPECT_EQ(recents.items().size(), 20);

    recents.add(" 10 ");  // other surrounding spaces: another text
    EXPECT_EQ(recents.items().front(), " 10 ");
    EXPECT_EQ(recents.items().at(1), "10");

    const QStringList before = recents.items();
    recents.add(" \n\t ");
    EXPECT_EQ(recents.items(), before);
}

TEST(RecentsTests, DisablingForgetsAndKeepsForgetting) {
    Recents recents;
    recents.add("a");
    recents.setEnabled(false);
    EXPECT_TRUE(recents.items().isEmpty());
    recents.add("b");
    EXPECT_TRUE(recents.items().isEmpty());
    recents.setEnabled(true);
    EXPECT_TRUE(recents.items().isEmpty());
    recents.add("c");
    recents.clear();
    EXPECT_EQ(recents, Recents());
}

TEST(RecentsTests, MenuTitleIsTheFirstVisibleLineCutAtForty) {
    EXPECT_EQ(Recents::menuTitle("\n \n\t\nfirst\nsecond"), "first");
    EXPECT_EQ(Recents::menuTitle("a\t\tb\tc"), "a b c");
    EXPECT_EQ(Recents::menuTitle(QString(40, u'x')), QString(40, u'x'));
    EXPECT_EQ(Recents::menuTitle(QString(39, u'x') + QStringLiteral(" y")), QString(39, u'x') + u' ' + QChar(0x2026));
    EXPECT_EQ(Recents::menuTitle(" \n \r\n "), "");
}
