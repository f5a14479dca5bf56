#include "platform/recognition/ClosingQuotes.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

QStringList readAfterQuotes(const QStringList& words, const QStringList& languages) {
    std::vector<LineWords> lines{{QRectF(0, 0, 400, 20), {}}};
    for (const QString& word : words)
        lines.front().words.push_back({word, QRectF(), 0.9f});
    restoreClosingQuotes(lines, languages);
    QStringList read;
    for (const WordBox& word : lines.front().words)
        read.append(word.text);
    return read;
}

}  // namespace

TEST(ClosingQuotes, ALowOpenedQuotationClosesWithItsLanguagesPartner) {
    const QStringList german{QStringLiteral("de-DE")};
    EXPECT_EQ(readAfterQuotes({"Sie", "„Übersicht\".", "Der"}, german),
              QStringList({"Sie", "„Übersicht“.", "Der"}));
    EXPECT_EQ(readAfterQuotes({"„zwei", "Wörter”"}, german), QStringList({"„zwei", "Wörter“"}));
    EXPECT_EQ(readAfterQuotes({"„Ende.\""}, german), QStringList({"„Ende.“"}));
    EXPECT_EQ(readAfterQuotes({"„Tak\""}, {QStringLiteral("pl")}), QStringList({"„Tak”"}));
    // Only the first mark after the opening closes it; a straight quote with no "„"
    // before it, as in code, stays.
    EXPECT_EQ(readAfterQuotes({"„a\"", "b\""}, german), QStringList({"„a“", "b\""}));
    EXPECT_EQ(readAfterQuotes({"x", "=", "\"a\""}, german), QStringList({"x", "=", "\"a\""}));
    // A quote opening a word inside the quotation is not its end.
    EXPECT_EQ(readAfterQuotes({"„er", "sagte", "\"nein", "danke\""}, german),
              QStringList({"„er", "sagte", "\"nein", "danke“"}));
}
