// Letters whose two cases share a shape are given the case their height shows: a
// command's one-letter options come through as drawn.

#include "platform/recognition/LetterCase.h"
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

// Light on dark, like a terminal.
QImage drawOptions(const QString& family, int pixels, const QStringList& lines) {
    QFont mono(family);
    mono.setPixelSize(pixels);
    const QFontMetricsF metrics(mono);
    const double pitch = metrics.height() * 1.3;
    QImage picture(40 + static_cast<int>(metrics.horizontalAdvance(QString(24, u'm'))),
                   static_cast<int>(lines.size() * pitch + 40), QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x13, 0x15));
    QPainter painter(&picture);
    painter.setFont(mono);
    painter.setPen(QColor(0xd8, 0xd8, 0xd8));
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(20, 20 + metrics.ascent() + i * pitch), lines[i]);
    return picture;
}

}  // namespace

TEST(LetterCase, OneLetterOptionsKeepTheCaseTheirHeightShows) {
    const QStringList options{QStringLiteral("-c, --count"), QStringLiteral("-x, --exclude"),
                              QStringLiteral("-s, --size"),  QStringLiteral("-v, --verbose"),
                              QStringLiteral("-z, --zero"),  QStringLiteral("-C, --context"),
                              QStringLiteral("-V, --version")};
    for (const QString& family : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {14, 18}) {
            const Reading reading = TestAwait::result(TextReader::read(drawOptions(family, pixels, options), {}));
            QStringList lines = reading.text(LineMode::keep).split(u'\n');
            lines.removeAll(QString());
            ASSERT_EQ(lines.size(), options.size()) << family.toStdString() << " " << pixels;
            for (qsizetype i = 0; i < options.size(); ++i)
                EXPECT_EQ(lines[i].trimmed().toStdString(), options[i].toStdString()) << family.toStdString() << " " << pixels;
        }
    }
}

TEST(LetterCase, AGlyphReadTwiceInBothCasesIsReadOnce) {
    // "-v" over a line of small letters, its "v" read as "V" and "v" over the same ink.
    QImage gray(200, 40, QImage::Format_Grayscale8);
    gray.fill(255);
    const auto ink = [&](QRect box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                gray.scanLine(y)[x] = 0;
        return QRectF(box);
    };
    WordBox option{QStringLiteral("-Vv"), QRectF(10, 10, 30, 20), 0.4f};
    option.glyphs = {{QStringLiteral("-"), ink(QRect(10, 20, 6, 2))},
                     {QStringLiteral("V"), ink(QRect(20, 16, 9, 10))},
                     {QStringLiteral("v"), QRectF(24, 16, 5, 10)}};
    WordBox name{QStringLiteral("name"), QRectF(60, 10, 60, 20), 0.9f};
    name.glyphs = {{QStringLiteral("n"), ink(QRect(60, 16, 9, 10))},
                   {QStringLiteral("a"), ink(QRect(72, 16, 9, 10))},
                   {QStringLiteral("m"), ink(QRect(84, 16, 9, 10))},
                   {QStringLiteral("e"), ink(QRect(96, 16, 9, 10))}};
    WordBox tall{QStringLiteral("Hd"), QRectF(130, 10, 30, 20), 0.9f};
    tall.glyphs = {{QStringLiteral("H"), ink(QRect(130, 12, 9, 14))}, {QStringLiteral("d"), ink(QRect(142, 12, 9, 14))}};
    std::vector<LineWords> lines{{QRectF(0, 10, 200, 20), {option, name, tall}}};
    restoreLetterCase(lines, inkShapes(gray, inkThreshold(gray)));
    EXPECT_EQ(lines.front().words.front().text, QStringLiteral("-v"));
    EXPECT_EQ(lines.front().words.front().glyphs.size(), 2u);
}

TEST(LetterCaseDoubles, AGlyphReadTwiceIsReadOnceAfterItsCaseWasSet) {
    // "-Vv," made "-vv," by the rule for short capitals before the doubled glyph is seen.
    const auto readOnce = [](const QString& text) {
        WordBox option{text, QRectF(10, 10, 30, 20), 0.4f};
        option.glyphs = {{QStringLiteral("-"), QRectF(10, 20, 6, 2)},
                         {QStringLiteral("V"), QRectF(20, 16, 9, 10)},
                         {QStringLiteral("v"), QRectF(24, 16, 5, 10)},
                         {QStringLiteral(","), QRectF(32, 24, 3, 4)}};
        std::vector<LineWords> lines{{QRectF(0, 10, 200, 20), {option}}};
        restoreLetterCase(lines, {});
        return lines.front().words.front().text;
    };
    EXPECT_EQ(readOnce(QStringLiteral("-vv,")), QStringLiteral("-v,"));
    // Text that its glyphs do not spell, but for case, is left as it is.
    EXPECT_EQ(readOnce(QStringLiteral("-wv,")), QStringLiteral("-wv,"));
}

TEST(LetterCaseOpenings, ACapitalOpeningAnOptionIsSmallWhereItsInkIs) {
    // "--Status": its "S" as short as the small letters beside it, or as tall as a capital.
    const auto read = [](int top) {
        QImage gray(200, 40, QImage::Format_Grayscale8);
        gray.fill(255);
        WordBox option{QStringLiteral("--Status"), QRectF(10, 10, 110, 20), 0.7f};
        int x = 10;
        for (const QChar c : option.text) {
            const QRect box = c == u'-' ? QRect(x, 20, 6, 2)
                              : c == u't' ? QRect(x, 12, 9, 14)
                              : c == u'S' ? QRect(x, top, 9, 26 - top)
                                          : QRect(x, 16, 9, 10);
            for (int y = box.top(); y <= box.bottom(); ++y)
                std::fill_n(gray.scanLine(y) + box.left(), box.width(), uchar(0));
            option.glyphs.push_back({QString(c), QRectF(box)});
            x += 12;
        }
        std::vector<LineWords> lines{{QRectF(0, 10, 200, 20), {option}}};
        restoreLetterCase(lines, inkShapes(gray, inkThreshold(gray)));
        return lines.front().words.front().text;
    };
    EXPECT_EQ(read(16), QStringLiteral("--status"));
    EXPECT_EQ(read(12), QStringLiteral("--Status"));
}

TEST(LetterCaseOfWideBoxes, ABoxOverItsNeighboursGlyphTellsNoCase) {
    // "v9" beside a line of small letters: the "v" boxed over the touching "9" as well.
    const auto read = [](const QString& letter, bool touching) {
        QImage gray(200, 40, QImage::Format_Grayscale8);
        gray.fill(255);
        const auto ink = [&](QRect box) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    gray.scanLine(y)[x] = 0;
            return QRectF(box);
        };
        const int nine = touching ? 29 : 32;
        ink(QRect(20, 16, 9, 10));
        WordBox version{letter + QStringLiteral("9"), QRectF(20, 10, 20, 20), 0.9f};
        version.glyphs = {{letter, touching ? QRectF(20, 16, 18, 10) : QRectF(20, 16, 9, 10)},
                          {QStringLiteral("9"), ink(QRect(nine, 12, 9, 14))}};
        WordBox name{QStringLiteral("name"), QRectF(60, 10, 60, 20), 0.9f};
        name.glyphs = {{QStringLiteral("n"), ink(QRect(60, 16, 9, 10))},
                       {QStringLiteral("a"), ink(QRect(72, 16, 9, 10))},
                       {QStringLiteral("m"), ink(QRect(84, 16, 9, 10))},
                       {QStringLiteral("e"), ink(QRect(96, 16, 9, 10))}};
        WordBox tall{QStringLiteral("Hd"), QRectF(130, 10, 30, 20), 0.9f};
        tall.glyphs = {{QStringLiteral("H"), ink(QRect(130, 12, 9, 14))}, {QStringLiteral("d"), ink(QRect(142, 12, 9, 14))}};
        std::vector<LineWords> lines{{QRectF(0, 10, 200, 20), {version, name, tall}}};
        restoreLetterCase(lines, inkShapes(gray, inkThreshold(gray)));
        return lines.front().words.front().text.toStdString();
    };
    EXPECT_EQ(read(QStringLiteral("v"), true), "v9");
    // Boxed on its own ink, the letter still gets the case its height shows.
    EXPECT_EQ(read(QStringLiteral("V"), false), "v9");
}

TEST(LetterCaseOfLabels, AWordsFirstLetterReadSmallIsACapitalWhereItsInkIs) {
    // A form's label "City" beside its value: its "C" drawn as tall as the value's
    // capitals, or as short as its small letters.
    const auto read = [](const QString& label, int top, int small = 16, int valueAt = 100) {
        QImage gray(240, 40, QImage::Format_Grayscale8);
        gray.fill(255);
        const auto ink = [&](QRect box) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                std::fill_n(gray.scanLine(y) + box.left(), box.width(), uchar(0));
            return QRectF(box);
        };
        WordBox word{label, QRectF(10, 10, 50, 20), 0.8f};
        word.glyphs = {{label.left(1), ink(QRect(10, top, 9, 26 - top))},
                       {QStringLiteral("i"), ink(QRect(22, small, 3, 26 - small))},
                       {QStringLiteral("t"), ink(QRect(28, 13, 6, 13))},
                       {QStringLiteral("y"), ink(QRect(37, small, 9, 30 - small))}};
        WordBox value{QStringLiteral("Module"), QRectF(valueAt, 10, 80, 20), 0.9f};
        int x = valueAt;
        for (const QChar c : value.text) {
            const bool tall = c == u'M' || c == u'd' || c == u'l';
            value.glyphs.push_back({QString(c), ink(QRect(x, tall ? 12 : small, 9, tall ? 14 : 26 - small))});
            x += 12;
        }
        std::vector<LineWords> lines{{QRectF(0, 10, 240, 20), {word, value}}};
        restoreLetterCase(lines, inkShapes(gray, inkThreshold(gray)));
        return lines.front().words.front().text.toStdString();
    };
    EXPECT_EQ(read(QStringLiteral("city"), 12), "City");
    EXPECT_EQ(read(QStringLiteral("city"), 16), "city");
    // A capital read as such stays one: the word's own reading tells its case best.
    EXPECT_EQ(read(QStringLiteral("City"), 16), "City");
    // Small text: the small letters two pixels short of the capitals, the first letter
    // as tall as the capitals, or only a pixel taller than the small ones.
    EXPECT_EQ(read(QStringLiteral("city"), 12, 14), "City");
    EXPECT_EQ(read(QStringLiteral("city"), 13, 14), "city");
    // A word a space before the next is no label: its reading stands.
    EXPECT_EQ(read(QStringLiteral("city"), 12, 16, 66), "city");
}

TEST(LetterCaseOfZeros, AnOptionsZeroAsShortAsTheSmallLettersIsTheLetterO) {
    // "-o, --copy" read "-0, --copy": the glyph stands as tall as the small letters of the
    // lines around, or as a figure. "--copy" has no letter that is only ever small to measure.
    const auto read = [](int top) {
        QImage gray(200, 120, QImage::Format_Grayscale8);
        gray.fill(255);
        const auto ink = [&](QRect box) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                std::fill_n(gray.scanLine(y) + box.left(), box.width(), uchar(0));
            return QRectF(box);
        };
        WordBox flag{QStringLiteral("-0,"), QRectF(10, 10, 30, 20), 0.6f};
        flag.glyphs = {{QStringLiteral("-"), ink(QRect(10, 20, 6, 2))},
                       {QStringLiteral("0"), ink(QRect(20, top, 9, 26 - top))},
                       {QStringLiteral(","), ink(QRect(32, 24, 3, 4))}};
        WordBox name{QStringLiteral("--copy"), QRectF(50, 10, 80, 20), 0.9f};
        int x = 50;
        for (const QChar c : name.text) {
            const QRect box = c == u'-' ? QRect(x, 20, 6, 2) : c == u'p' || c == u'y' ? QRect(x, 16, 9, 13) : QRect(x, 16, 9, 10);
            name.glyphs.push_back({QString(c), ink(box)});
            x += 12;
        }
        std::vector<LineWords> lines{{QRectF(0, 10, 200, 20), {flag, name}}};
        // Two lines under it of small letters and capitals: "name Hd".
        for (const int down : {40, 80}) {
            WordBox small{QStringLiteral("name"), QRectF(60, 10 + down, 60, 20), 0.9f};
            small.glyphs = {{QStringLiteral("n"), ink(QRect(60, 16 + down, 9, 10))},
                            {QStringLiteral("a"), ink(QRect(72, 16 + down, 9, 10))},
                            {QStringLiteral("m"), ink(QRect(84, 16 + down, 9, 10))},
                            {QStringLiteral("e"), ink(QRect(96, 16 + down, 9, 10))}};
            WordBox tall{QStringLiteral("Hd"), QRectF(130, 10 + down, 30, 20), 0.9f};
            tall.glyphs = {{QStringLiteral("H"), ink(QRect(130, 12 + down, 9, 14))},
                           {QStringLiteral("d"), ink(QRect(142, 12 + down, 9, 14))}};
            lines.push_back({QRectF(0, 10 + down, 200, 20), {small, tall}});
        }
        restoreOptionLetterO(lines, inkShapes(gray, inkThreshold(gray)));
        return lines.front().words.front().text.toStdString();
    };
    EXPECT_EQ(read(16), "-o,");
    // A zero as tall as the figures stays one ("xargs -0").
    EXPECT_EQ(read(12), "-0,");
}
