#include "platform/recognition/SmallL.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

std::vector<LineWords> line(const QStringList& words) {
    LineWords read{QRectF(0, 0, 40.0 * words.size(), 14), {}};
    for (qsizetype i = 0; i < words.size(); ++i)
        read.words.push_back(WordBox{words[i], QRectF(40.0 * i, 0, 30, 14), 0.9f});
    return {read};
}

QStringList texts(const std::vector<LineWords>& lines) {
    QStringList words;
    for (const WordBox& word : lines.front().words)
        words.append(word.text);
    return words;
}

}  // namespace

TEST(SmallL, TwoCapitalIsThatStartASentenceOrRunIntoSmallLettersAreIl) {
    const QList<std::pair<QStringList, QStringList>> cases{
        {{"II", "faut"}, {"Il", "faut"}},
        {{"séance.", "«", "II", "faut"}, {"séance.", "«", "Il", "faut"}},
        {{"IIs", "disent"}, {"Ils", "disent"}},
        {{"in", "IIlinois"}, {"in", "Illinois"}},
        // Roman numerals: after a name, before a capital or a period, in a heading.
        {{"Louis", "II", "est"}, {"Louis", "II", "est"}},
        {{"II", "Methods"}, {"II", "Methods"}},
        {{"Part", "II."}, {"Part", "II."}},
        {{"II"}, {"II"}},
        {{"III", "est"}, {"III", "est"}},
    };
    for (const auto& [read, meant] : cases) {
        auto lines = line(read);
        restoreSmallL(lines);
        EXPECT_EQ(texts(lines), meant) << read.join(u' ').toStdString();
    }
}
