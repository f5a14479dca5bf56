#include "platform/recognition/LostPeriods.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Platform::Recognition;

namespace {

struct Drawn {
    QImage picture;
    LineWords line;
    std::vector<InkShape> shapes;
};

// The text drawn, and read as `read`: one glyph to each shape but the dots the reading
// left out (`read` has a letter for each shape that is no dot).
Drawn drawnAndRead(const QString& text, const QString& read, bool faintStems = false) {
    QImage picture(360, 60, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter painter(&picture);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(10, 40), text);
    painter.end();
    Drawn drawn;
    drawn.shapes = inkShapes(picture, inkThreshold(picture));
    if (faintStems) {
        // A stem too light to count as ink over each dot: only its foot is a shape.
        for (const InkShape& shape : drawn.shapes)
            if (shape.box.height() < 6)
                for (int y = 18; y < shape.box.top(); ++y)
                    for (int x = shape.box.left(); x <= shape.box.right(); ++x)
                        picture.scanLine(y)[x] = 160;
        drawn.shapes = inkShapes(picture, inkThreshold(picture));
    }
    drawn.picture = picture;
    std::vector<InkShape> sorted = drawn.shapes;
    std::sort(sorted.begin(), sorted.end(),
              [](const InkShape& a, const InkShape& b) { return a.box.left() < b.box.left(); });
    WordBox word{read, {}, 0.9f};
    qsizetype at = 0;
    for (const InkShape& shape : sorted) {
        // An "i"'s dot goes with its stem; the read text tells which dots it saw.
        if (shape.box.height() < 6 && (at >= read.size() || read[at] != u'.'))
            continue;
        if (at >= read.size())
            break;
        word.glyphs.push_back({QString(read[at++]), QRectF(shape.box)});
        word.box = word.box.united(QRectF(shape.box));
    }
    drawn.line = LineWords{word.box.adjusted(0, -4, 0, 8), {word}};
    return drawn;
}

QString restored(const QString& text, const QString& read, bool faintStems = false) {
    Drawn drawn = drawnAndRead(text, read, faintStems);
    std::vector<LineWords> lines{drawn.line};
    restoreLostPeriods(lines, drawn.picture, inkThreshold(drawn.picture), drawn.shapes);
    return lines.front().words.front().text;
}

}  // namespace

TEST(LostPeriods, ADotOnTheBaselineBetweenLettersComesBack) {
    EXPECT_EQ(restored(QStringLiteral("order.org"), QStringLiteral("orderorg")), QStringLiteral("order.org"));
    EXPECT_EQ(restored(QStringLiteral("server.example"), QStringLiteral("serverexample")),
              QStringLiteral("server.example"));
}

TEST(LostPeriods, NoDotOrOneReadAlreadyLeavesTheWord) {
    EXPECT_EQ(restored(QStringLiteral("orderorg"), QStringLiteral("orderorg")), QStringLiteral("orderorg"));
    EXPECT_EQ(restored(QStringLiteral("order.org"), QStringLiteral("order.org")), QStringLiteral("order.org"));
    // A dot high up is no period.
    EXPECT_EQ(restored(QStringLiteral("mum\u00b7dad"), QStringLiteral("mumdad")), QStringLiteral("mumdad"));
}

TEST(LostPeriodsUnderStems, AFootWhoseStemIsTooFaintForInkIsNoPeriod) {
    EXPECT_EQ(restored(QStringLiteral("order.org"), QStringLiteral("orderorg"), true), QStringLiteral("orderorg"));
}

TEST(LostPeriodsOfFaintText, APieceOfAStrokeJoinedSidewaysByFainterInkIsNoPeriod) {
    // The bottom of a faint "e" whose curve lies under the ink level: only its darker
    // foot is a shape, on the baseline between "e" and "t", the curve running left into
    // the "e" beside it. Nothing stands above it.
    QImage gray(60, 30, QImage::Format_Grayscale8);
    const auto fill = [&](int left, int top, int width, int height, int level) {
        for (int y = top; y < top + height; ++y)
            std::fill_n(gray.scanLine(y) + left, width, static_cast<uchar>(level));
    };
    const auto read = [&](int curve) {
        gray.fill(255);
        fill(10, 12, 8, 10, 100);  // "e"
        fill(30, 5, 3, 17, 100);   // "t"
        fill(18, 20, 3, 2, curve);
        fill(21, 20, 2, 2, 100);
        const std::vector<InkShape> shapes{{QRect(10, 12, 8, 10), 80}, {QRect(30, 5, 3, 17), 51}, {QRect(21, 20, 2, 2), 4}};
        WordBox word{"et", QRectF(10, 5, 23, 17), 0.9f, {{"e", QRectF(10, 12, 8, 10)}, {"t", QRectF(30, 5, 3, 17)}}};
        std::vector<LineWords> lines{{QRectF(10, 5, 23, 17), {word}}};
        restoreLostPeriods(lines, gray, 128, shapes);
        return lines.front().words.front().text;
    };
    EXPECT_EQ(read(255), QStringLiteral("e.t"));
    EXPECT_EQ(read(150), QStringLiteral("et"));
}
