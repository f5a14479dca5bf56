// A label of a capital and a figure ("Q1") read with an "l" for its one is settled by the
// page's ones and ells, like a figure; a capital and a real "l" stay as they are.

#include "platform/recognition/LookAlikes.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

struct Drawn {
    QString ink;   // what is drawn
    QString read;  // what the recognizer gave for it
};

// The words drawn in a row, dark on white, and their readings after settling.
QStringList settled(const QList<Drawn>& words) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    const QFontMetrics metrics(font);
    QImage gray(900, 60, QImage::Format_Grayscale8);
    gray.fill(255);
    QPainter painter(&gray);
    painter.setFont(font);
    painter.setPen(Qt::black);
    LineWords line{QRectF(0, 10, 900, 40), {}};
    int x = 10;
    for (const Drawn& word : words) {
        painter.drawText(QPoint(x, 40), word.ink);
        const QRect box = metrics.tightBoundingRect(word.ink).translated(x, 40);
        line.words.push_back({word.read, QRectF(box), 0.9f});
        x += metrics.horizontalAdvance(word.ink) + 24;
    }
    painter.end();
    std::vector<LineWords> lines{line};
    settleLookAlikes(lines, gray, inkShapes(gray, 128));
    QStringList read;
    for (const WordBox& word : lines.front().words)
        read.append(word.text);
    return read;
}

}  // namespace

TEST(LookAlikeLabels, ALabelsOneReadAsAnLIsSettledByItsLook) {
    const QList<Drawn> page{{"2021", "2021"}, {"1911", "1911"}, {"allow", "allow"}, {"hello", "hello"},
                            {"Q1", "Ql"},     {"Al", "Al"}};
    const QStringList read = settled(page);
    ASSERT_EQ(read.size(), page.size());
    EXPECT_EQ(read[4].toStdString(), "Q1");
    EXPECT_EQ(read[5].toStdString(), "Al");
}
