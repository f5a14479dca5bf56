#include "platform/recognition/SmallL.h"

#include <QFont>
#include <QPainter>
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

// Last on its line, the word before which "II" comes is the first of the line below.
TEST(SmallL, TwoCapitalIsEndingALineReadOnInTheLineBelow) {
    const auto read = [](const QStringList& first, const QString& second) {
        std::vector<LineWords> lines = line(first);
        lines.push_back({QRectF(0, 18, 80, 14), {WordBox{second, QRectF(0, 18, 30, 14), 0.9f}}});
        restoreSmallL(lines);
        return texts(lines).join(u' ');
    };
    EXPECT_EQ(read({"reçues.", "«", "II"}, QStringLiteral("faut")), QStringLiteral("reçues. « Il"));
    EXPECT_EQ(read({"Louis", "II"}, QStringLiteral("est")), QStringLiteral("Louis II"));
    EXPECT_EQ(read({"«", "II"}, QStringLiteral("Methods")), QStringLiteral("« II"));
}

namespace {

// A word drawn after "número" and read with an "I" for its first letter, as the rule
// leaves it.
QString readAfterAWord(const char16_t* drawn, const char* family, int pixels, const QStringList& languages) {
    QImage picture(200, 2 * pixels, QImage::Format_Grayscale8);
    picture.fill(250);
    QPainter painter(&picture);
    QFont font{QLatin1String(family)};
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    painter.drawText(QPointF(10.3, 1.5 * pixels), QString::fromUtf16(drawn));
    painter.end();
    QString read = QString::fromUtf16(drawn);
    read[0] = u'I';
    const QRectF box(0, 0, picture.width(), picture.height());
    std::vector<LineWords> lines{
        {box, {WordBox{QStringLiteral("n\u00famero"), QRectF(-50, 0, 40, 20), 0.9f}, WordBox{read, box, 0.9f}}}};
    restoreDoubleL(lines, picture, inkShapes(picture, 160), languages);
    return lines.front().words.back().text;
}

}  // namespace

// Mid-sentence in Spanish, two strokes of one height open "llegará"; a capital that
// stands lower than the "l" after it stays, and so does everything in other languages.
TEST(DoubleL, TwoStrokesOfOneHeightAreLlInSpanish) {
    const QStringList spanish{QStringLiteral("es-ES")};
    for (const char* family : {"DejaVu Sans", "Liberation Sans", "Noto Sans"}) {
        for (const int pixels : {13, 18, 26, 36})
            EXPECT_EQ(readAfterAWord(u"llegar\u00e1", family, pixels, spanish), QStringLiteral("llegar\u00e1"))
                << family << " " << pixels;
        EXPECT_EQ(readAfterAWord(u"Ilya", family, 36, spanish), QStringLiteral("Ilya")) << family;
        EXPECT_EQ(readAfterAWord(u"llegar\u00e1", family, 36, {QStringLiteral("en-US")}), QStringLiteral("Ilegar\u00e1"))
            << family;
    }
}
