#include "platform/recognition/LanguageLetters.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

TEST(LanguageLetters, ForeignMarksFoldToTheLanguagesOnlyLetterOnTheirBase) {
    const QStringList german{QStringLiteral("de-DE")};
    EXPECT_EQ(foldForeignMarks(QStringLiteral("Zugānge"), german), QStringLiteral("Zugänge"));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("„Ūbersicht"), german), QStringLiteral("„Übersicht"));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("mås"), {QStringLiteral("es")}), QStringLiteral("más"));
    // Borrowed marks stay: "à" and "é" are written in German text.
    EXPECT_EQ(foldForeignMarks(QStringLiteral("à"), german), QStringLiteral("à"));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("Café"), german), QStringLiteral("Café"));
    // Spanish writes both "ú" and "ü": a "ū" has no one reading.
    EXPECT_EQ(foldForeignMarks(QStringLiteral("ū"), {QStringLiteral("es")}), QStringLiteral("ū"));
    // A language that writes the mark keeps it, alone or beside another.
    EXPECT_EQ(foldForeignMarks(QStringLiteral("på"), {QStringLiteral("sv")}), QStringLiteral("på"));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("Rīga"), {QStringLiteral("de"), QStringLiteral("lv")}),
              QStringLiteral("Rīga"));
    // English has no marked letter to fold to; an unknown alphabet or none leaves all as read.
    EXPECT_EQ(foldForeignMarks(QStringLiteral("ā"), {QStringLiteral("en-US")}), QStringLiteral("ā"));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("ā"), {QStringLiteral("de"), QStringLiteral("vi")}),
              QStringLiteral("ā"));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("ā"), {}), QStringLiteral("ā"));
}
