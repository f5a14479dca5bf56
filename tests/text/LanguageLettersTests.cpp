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

TEST(ForeignMarkedLetters, TheRecognizerIsKeptFromLettersWithNoOneReading) {
    // French writes "à" and "â": an "å" is neither for sure, and the ink chooses.
    const QString french = foreignMarkedLetters({QStringLiteral("fr-FR")});
    for (const char16_t letter : {u'å', u'ė', u'Å', u'ā', u'ǎ', u'ạ'})
        EXPECT_TRUE(french.contains(QChar(letter))) << QString(QChar(letter)).toStdString();
    for (const char16_t letter : {u'à', u'â', u'é', u'è', u'ë', u'ç', u'É', u'a', u'ß'})
        EXPECT_FALSE(french.contains(QChar(letter))) << QString(QChar(letter)).toStdString();
    // One letter on the base is the fold's: Spanish "å" and "ö" read "á" and "ó".
    const QString spanish = foreignMarkedLetters({QStringLiteral("es")});
    EXPECT_TRUE(spanish.contains(u'ū'));
    for (const char16_t letter : {u'å', u'ö', u'ó', u'ü', u'ñ', u'ç'})
        EXPECT_FALSE(spanish.contains(QChar(letter))) << QString(QChar(letter)).toStdString();
    EXPECT_EQ(foldForeignMarks(QStringLiteral("¿Dönde"), {QStringLiteral("es")}), QStringLiteral("¿Dónde"));
    // A mark written on other bases only is no fault where the base has no marked letter.
    EXPECT_FALSE(foreignMarkedLetters({QStringLiteral("de")}).contains(u'ë'));
    EXPECT_EQ(foldForeignMarks(QStringLiteral("Citroën"), {QStringLiteral("de")}), QStringLiteral("Citroën"));
    // One language's letters stay readable beside another's; English keeps borrowed accents.
    EXPECT_FALSE(foreignMarkedLetters({QStringLiteral("de"), QStringLiteral("sv")}).contains(u'å'));
    EXPECT_FALSE(foreignMarkedLetters({QStringLiteral("en-US")}).contains(u'é'));
    EXPECT_TRUE(foreignMarkedLetters({QStringLiteral("de"), QStringLiteral("vi")}).isEmpty());
}
