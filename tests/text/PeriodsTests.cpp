// A period that starts a word is read as drawn, not as a hyphen; a hyphen stays one.

#include "platform/recognition/Periods.h"
#include "text/TextReader.h"

#include "tests/text/AwaitResult.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

using namespace ZantrelText;

TEST(Periods, AMethodCallOnItsOwnLineStartsWithItsPeriod) {
    const QStringList code{QStringLiteral("  return items.filter((x) => x.ready)"),
                           QStringLiteral("    .map((x) => x.total * 12);"),
                           QStringLiteral("  const gap = width - 2;")};
    for (const QString& family : {QStringLiteral("Noto Sans Mono"), QStringLiteral("DejaVu Sans Mono")}) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        for (const int pixels : {12, 18}) {
            QFont mono(family);
            mono.setPixelSize(pixels);
            const QFontMetricsF metrics(mono);
            QImage picture(40 + static_cast<int>(metrics.horizontalAdvance(code.front()) * 1.2),
                           static_cast<int>(code.size() * metrics.height() * 1.5 + 40), QImage::Format_RGB32);
            picture.fill(QColor(0x28, 0x2c, 0x34));
            QPainter painter(&picture);
            painter.setFont(mono);
            painter.setPen(QColor(0xab, 0xb2, 0xbf));
            for (qsizetype i = 0; i < code.size(); ++i)
                painter.drawText(QPointF(20, 20 + metrics.ascent() + i * metrics.height() * 1.5), code[i]);
            painter.end();
            QStringList lines = TestAwait::result(TextReader::read(picture, {})).text(LineMode::keep).split(u'\n');
            lines.removeAll(QString());
            ASSERT_EQ(lines.size(), code.size()) << family.toStdString() << " " << pixels;
            EXPECT_EQ(lines[1].trimmed().toStdString(), code[1].trimmed().toStdString()) << family.toStdString() << " " << pixels;
            EXPECT_TRUE(lines[2].contains(QStringLiteral(" - 2"))) << lines[2].toStdString();
        }
    }
}

namespace {

// "nun" and `last` with a mark after it (or `last` first when `leading`): 5 px letters
// standing on row 24, 10 px tall, and the mark's ink over rows [top, bottom) and 3 px
// wide, past the word's box.
std::string readFinalMark(int top, int bottom, const QString& last = QStringLiteral("end),"), bool leading = false) {
    QImage gray(120, 40, QImage::Format_Grayscale8);
    gray.fill(255);
    const auto fill = [&](int left, int width, int from, int to) {
        for (int y = from; y < to; ++y)
            for (int x = left; x < left + width; ++x)
                gray.scanLine(y)[x] = 0;
    };
    Platform::Recognition::LineWords line{QRectF(5, 10, 90, 20), {}};
    int left = 5;
    const QStringList texts = leading ? QStringList{last, QStringLiteral("nun")} : QStringList{QStringLiteral("nun"), last};
    for (const QString& text : texts) {
        Platform::Recognition::WordBox word{text, QRectF(), 0.9f};
        for (const QChar c : text) {
            if (c == u',')
                break;
            const bool tall = c == u'd' || c == u')' || c.isDigit();
            fill(left, 5, tall ? 10 : 14, 24);
            word.glyphs.push_back({QString(c), QRectF(left, tall ? 10 : 14, 5, tall ? 14 : 10)});
            left += 6;
        }
        word.box = QRectF(word.glyphs.front().box.left(), 10, left - 1 - word.glyphs.front().box.left(), 14);
        if (text.endsWith(u',')) {
            fill(left, 3, top, bottom);
            word.glyphs.push_back({QStringLiteral(","), QRectF(left - 6, 14, 5, 10)});
        }
        line.words.push_back(word);
        left += 8;
    }
    std::vector<Platform::Recognition::LineWords> lines{line};
    Platform::Recognition::restoreFinalPeriods(lines, Platform::Recognition::inkShapes(gray, 128));
    return lines.front().words[leading ? 0 : 1].text.toStdString();
}

}  // namespace

TEST(FinalPeriods, AWordsLastDotOnTheBaselineIsAPeriod) {
    EXPECT_EQ(readFinalMark(21, 24), "end).");
    // A comma reaches below the baseline; a dot up at the letters' middle is no period.
    EXPECT_EQ(readFinalMark(21, 27), "end),");
    EXPECT_EQ(readFinalMark(17, 20), "end),");
    // After a letter or a figure a small comma may have lost its tail.
    EXPECT_EQ(readFinalMark(21, 24, QStringLiteral("end,")), "end,");
}

TEST(ListNumberPeriods, ALinesLeadingNumberEndsInItsPeriodWhenTheMarkIsADot) {
    EXPECT_EQ(readFinalMark(21, 24, QStringLiteral("1,"), true), "1.");
    EXPECT_EQ(readFinalMark(21, 24, QStringLiteral("12,"), true), "12.");
    EXPECT_EQ(readFinalMark(21, 27, QStringLiteral("1,"), true), "1,");
    // Only the line's first word: a figure later in the line keeps its comma.
    EXPECT_EQ(readFinalMark(21, 24, QStringLiteral("1,")), "1,");
}
