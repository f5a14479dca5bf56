// Word breaks of text in a fixed-width font come from its character cells, not from the
// recognizer's sense of a word gap; proportional text keeps the recognizer's breaks.

#include "platform/recognition/MonospaceSpacing.h"
#include "text/TextReader.h"

#include "tests/text/AwaitResult.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

using namespace ZantrelText;
using namespace Platform::Recognition;

namespace {

QImage drawCode(const QString& family, int pixels, const QStringList& code) {
    QFont mono(family);
    mono.setPixelSize(pixels);
    const QFontMetricsF metrics(mono);
    const double pitch = metrics.height() * 1.5;
    QImage picture(40 + static_cast<int>(metrics.horizontalAdvance(code.front()) * 1.6),
                   static_cast<int>(code.size() * pitch + 40), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(mono);
    painter.setPen(QColor(0x24, 0x29, 0x2e));
    for (qsizetype i = 0; i < code.size(); ++i)
        painter.drawText(QPointF(20, 20 + metrics.ascent() + i * pitch), code[i]);
    return picture;
}

// A line of glyphs in cells 10 pixels wide, the ink of each drawn in: `stem` pixels wide
// for "i" and "l", 7 for the others. `texts` are the words read, `spaces` the empty cells
// before each of them.
struct DrawnLine {
    QImage gray;
    LineWords line;
};

DrawnLine evenlySpaced(const QStringList& texts, const QList<int>& spaces, int stem) {
    DrawnLine drawn{QImage(400, 40, QImage::Format_Grayscale8), {QRectF(0, 10, 400, 20), {}}};
    drawn.gray.fill(255);
    double x = 10;
    for (qsizetype w = 0; w < texts.size(); ++w) {
        const QString& text = texts[w];
        x += 10 * spaces[w];
        WordBox word{text, QRectF(), 0.9f};
        for (const QChar c : text) {
            const int width = (c == u'i' || c == u'l') ? stem : 7;
            const QRect ink(static_cast<int>(x + 5 - width / 2.0), 12, width, 14);
            for (int y = ink.top(); y <= ink.bottom(); ++y)
                for (int px = ink.left(); px <= ink.right(); ++px)
                    drawn.gray.scanLine(y)[px] = 0;
            word.glyphs.push_back({QString(c), QRectF(ink)});
            x += 10;
        }
        word.box = QRectF(word.glyphs.front().box.left(), 10, word.glyphs.back().box.right() - word.glyphs.front().box.left(), 20);
        drawn.line.words.push_back(word);
    }
    return drawn;
}

QStringList wordsOf(const LineWords& line) {
    QStringList words;
    for (const WordBox& word : line.words)
        words.append(word.text);
    return words;
}

}  // namespace

TEST(MonospaceSpacing, CodeKeepsItsSpacesAsDrawnInEveryFixedWidthFont) {
    // Operators and separators that the recognizer's word gaps get wrong in code.
    const QStringList code{QStringLiteral("use std::collections::HashMap;"),
                           QStringLiteral("for (int i = 0; i < limit; ++i) {"),
                           QStringLiteral("return list.filter((x) => x.id !== null)")};
    for (const QString& family : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                                  QStringLiteral("Noto Sans Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {13, 18}) {
            const Reading reading = TestAwait::result(TextReader::read(drawCode(family, pixels, code), {}));
            QStringList lines = reading.text(LineMode::keep).split(u'\n');
            lines.removeAll(QString());
            ASSERT_EQ(lines.size(), code.size()) << family.toStdString() << " " << pixels;
            for (qsizetype i = 0; i < code.size(); ++i)
                EXPECT_EQ(lines[i].trimmed().toStdString(), code[i].toStdString()) << family.toStdString() << " " << pixels;
        }
    }
}

TEST(MonospaceSpacing, OnlyALineWhoseSlimLettersFillTheirCellsIsRespaced) {
    // "list. filter" read with a space after the period, ": :" with one between colons.
    const QStringList read{QStringLiteral("list."), QStringLiteral("filter"), QStringLiteral("a:"),
                           QStringLiteral(":b")};
    // No empty cell after the period or between the colons; one before "a:".
    const QList<int> spaces{0, 0, 1, 0};
    const DrawnLine serifs = evenlySpaced(read, spaces, 6);
    // The same cells with thin stems for "i" and "l": a proportional font set evenly.
    const DrawnLine stems = evenlySpaced(read, spaces, 1);

    const auto respaced = [](DrawnLine drawn) {
        std::vector<LineWords> lines{drawn.line};
        const int threshold = inkThreshold(drawn.gray);
        respaceMonospaceLines(lines, drawn.gray, threshold, inkShapes(drawn.gray, threshold));
        return wordsOf(lines.front());
    };
    EXPECT_EQ(respaced(serifs), QStringList({"list.filter", "a::b"}));
    EXPECT_EQ(respaced(stems), read);
}

TEST(MonospaceUnderscores, ALowBarInTheCellBetweenTwoWordsJoinsThemWithAnUnderscore) {
    // "still_with" read as two words: the bar in the cell between them is left out.
    const auto respacedWithBar = [](int top, int rows) {
        DrawnLine drawn = evenlySpaced({QStringLiteral("still"), QStringLiteral("with")}, {0, 1}, 6);
        for (int y = top; y < top + rows; ++y)
            std::fill_n(drawn.gray.scanLine(y) + 61, 8, uchar(0));
        std::vector<LineWords> lines{drawn.line};
        const int threshold = inkThreshold(drawn.gray);
        respaceMonospaceLines(lines, drawn.gray, threshold, inkShapes(drawn.gray, threshold));
        return wordsOf(lines.front());
    };
    EXPECT_EQ(respacedWithBar(27, 2), QStringList({"still_with"}));
    // A dash halfway up, or a bar as thick as a block, is no underscore.
    EXPECT_EQ(respacedWithBar(18, 2), QStringList({"still", "with"}));
    EXPECT_EQ(respacedWithBar(22, 7), QStringList({"still", "with"}));
}

TEST(MonospaceCells, AGlyphReadOnACellAlreadyReadOrOnAnEmptyOneIsDropped) {
    // "filter(count) i < n;" in cells 10 pixels wide, read as "i<", "<", "on;": the
    // second "<" a sliver on the first one's cell, the "o" a sliver on the space before "n".
    const auto read = [](int stem) {
        DrawnLine drawn = evenlySpaced({QStringLiteral("filter(count)"), QStringLiteral("i"), QStringLiteral("<"),
                                        QStringLiteral("n;")},
                                       {0, 1, 1, 1}, stem);
        std::vector<WordBox>& words = drawn.line.words;
        const QRectF less = words[2].glyphs.front().box;
        words[1].text += u'<';
        words[1].glyphs.push_back({QStringLiteral("<"), QRectF(less.left(), less.top() + 4, 4, 5)});
        const QRectF n = words[3].glyphs.front().box;
        words[3].text.prepend(u'o');
        words[3].glyphs.insert(words[3].glyphs.begin(), {QStringLiteral("o"), QRectF(n.left() - 1, n.top(), 1, n.height())});
        words[3].box.setLeft(n.left() - 1);
        std::vector<LineWords> lines{drawn.line};
        const int threshold = inkThreshold(drawn.gray);
        dropGlyphsWithoutCells(lines, drawn.gray, threshold, inkShapes(drawn.gray, threshold));
        return wordsOf(lines.front());
    };
    EXPECT_EQ(read(6), QStringList({"filter(count)", "i", "<", "n;"}));
    // Glyph boxes of a proportional font overlap often: nothing is dropped there.
    EXPECT_EQ(read(1), QStringList({"filter(count)", "i<", "<", "on;"}));
}

TEST(MonospaceCells, GlyphsBoxedACellOffTheirInkAreKept) {
    // "uses" read right but boxed a cell short: the "u" a sliver on its own ink, each later
    // letter on the ink before its own. Every glyph still has an inked cell of its own.
    DrawnLine drawn = evenlySpaced({QStringLiteral("filter(count)"), QStringLiteral("a"), QStringLiteral("team"),
                                    QStringLiteral("uses")},
                                   {0, 1, 1, 1}, 6);
    std::vector<GlyphBox>& glyphs = drawn.line.words[3].glyphs;
    const std::vector<GlyphBox> drawnBoxes = glyphs;
    glyphs[0].box = QRectF(drawnBoxes[0].box.left(), drawnBoxes[0].box.top(), 4, drawnBoxes[0].box.height());
    for (std::size_t i = 1; i < glyphs.size(); ++i)
        glyphs[i].box = drawnBoxes[i - 1].box;
    std::vector<LineWords> lines{drawn.line};
    const int threshold = inkThreshold(drawn.gray);
    dropGlyphsWithoutCells(lines, drawn.gray, threshold, inkShapes(drawn.gray, threshold));
    EXPECT_EQ(wordsOf(lines.front()), QStringList({"filter(count)", "a", "team", "uses"}));
}
