#include "platform/recognition/ApostropheStyle.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

QStringList followed(const std::vector<QStringList>& lineTexts) {
    std::vector<LineWords> lines;
    for (const QStringList& words : lineTexts) {
        lines.push_back({QRectF(0, 0, 400, 20), {}});
        for (const QString& word : words)
            lines.back().words.push_back({word, QRectF(), 0.9f});
    }
    followApostropheStyle(lines);
    QStringList read;
    for (const LineWords& line : lines)
        for (const WordBox& word : line.words)
            read.append(word.text);
    return read;
}

}  // namespace

TEST(ApostropheStyle, ATypesetTextSetsEveryApostropheBetweenLettersAlike) {
    // Guillemets on another line, or an apostrophe whose lean showed, tell the style.
    EXPECT_EQ(followed({{"d'assurance."}, {"«", "Il", "faut", "»"}}),
              QStringList({"d’assurance.", "«", "Il", "faut", "»"}));
    EXPECT_EQ(followed({{"s'élève", "d’assurance"}}), QStringList({"s’élève", "d’assurance"}));
    EXPECT_EQ(followed({{"“quoted”", "don't"}}), QStringList({"“quoted”", "don’t"}));
    // Only marks between letters: single quotes around a word stay as read.
    EXPECT_EQ(followed({{"«", "'mot'", "l'eau", "»"}}), QStringList({"«", "'mot'", "l’eau", "»"}));
}

TEST(ApostropheStyle, ATextWithoutTypographicMarksKeepsItsTypewriterApostrophes) {
    EXPECT_EQ(followed({{"echo", "\"don't\""}, {"it's"}}), QStringList({"echo", "\"don't\"", "it's"}));
    // A curly mark closing a quotation is no apostrophe between letters.
    EXPECT_EQ(followed({{"‘it’", "can't"}}), QStringList({"‘it’", "can't"}));
}
