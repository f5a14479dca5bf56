// Footnotes in small grey print under larger body text, on a dark page: each is read
// whole and exact, not at the body text's scale.

#include "text/TextReader.h"

#include "tests/text/AwaitResult.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

using namespace ZantrelText;

namespace {

const QStringList body{
    QStringLiteral("The morning train left the station a little after"),
    QStringLiteral("seven, and by noon the valley had opened into wide"),
    QStringLiteral("fields of barley under a pale and windy sky."),
};

const QStringList notes{
    QStringLiteral("1. Built-in timetables were printed once a year, in spring."),
    QStringLiteral("2. Drop-down seats folded against the wall of each carriage."),
};

QImage drawArticle(const QString& family) {
    QImage picture(640, 200, QImage::Format_RGB32);
    picture.fill(QColor(0x1e, 0x1f, 0x24));
    QPainter painter(&picture);
    QFont font(family);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(QColor(0xe6, 0xe6, 0xe6));
    for (qsizetype i = 0; i < body.size(); ++i)
        painter.drawText(QPointF(20, 36 + i * 30), body[i]);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(0x9a, 0x9c, 0xa3));
    for (qsizetype i = 0; i < notes.size(); ++i)
        painter.drawText(QPointF(20, 148 + i * 17), notes[i]);
    painter.end();
    return picture;
}

}  // namespace

TEST(SmallPrintLines, FootnotesUnderLargerTextAreReadAtTheirOwnSize) {
    for (const QString& family : {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}) {
        const QString text = TestAwait::result(TextReader::read(drawArticle(family), ReadOptions{})).text(LineMode::keep);
        QStringList lines = text.split(u'\n');
        lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
        for (const QString& line : body + notes)
            EXPECT_TRUE(lines.contains(line)) << family.toStdString() << ": " << line.toStdString() << "\n"
                                              << text.toStdString();
    }
}
