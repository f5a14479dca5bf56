// Two pieces of one row with a word the layout left unread between them become one line;
// pieces a column's blank parts stay apart.

#include "platform/recognition/RowPieces.h"
#include "platform/recognition/TesseractEngine.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

struct Row {
    QImage band;
    std::vector<LineWords> pieces;
};

// `words` drawn in one row; the pieces hold the words at `first` and from `second` on,
// the second piece's first word cut to its tail of `kept` letters, as the layout boxed it.
Row drawnRow(const QStringList& words, int gap, qsizetype first, qsizetype second, qsizetype kept) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(16);
    const QFontMetricsF metrics(font);
    Row row{QImage(720, 40, QImage::Format_Grayscale8), {}};
    row.band.fill(250);
    QPainter painter(&row.band);
    painter.setFont(font);
    painter.setPen(QColor(90, 90, 90));
    const double top = 28 - metrics.ascent();
    const double height = metrics.ascent() + metrics.descent();
    std::vector<WordBox> boxes;
    double x = 10;
    for (qsizetype i = 0; i < words.size(); ++i) {
        painter.drawText(QPointF(x, 28), words[i]);
        const double width = metrics.horizontalAdvance(words[i]);
        boxes.push_back(WordBox{words[i], QRectF(x, top, width, height), 0.9f});
        x += width + (i == first ? gap : metrics.horizontalAdvance(u' '));
    }
    painter.end();
    LineWords left{QRectF(), {boxes.begin(), boxes.begin() + first + 1}};
    WordBox tail = boxes[static_cast<std::size_t>(second)];
    const double cut = metrics.horizontalAdvance(tail.text.left(tail.text.size() - kept));
    tail.text = tail.text.right(kept);
    tail.box.setLeft(tail.box.left() + cut);
    LineWords right{QRectF(), {tail}};
    right.words.insert(right.words.end(), boxes.begin() + second + 1, boxes.end());
    for (LineWords* piece : {&left, &right})
        for (const WordBox& word : piece->words)
            piece->box = piece->box.united(word.box);
    row.pieces = {left, right};
    return row;
}

QStringList joined(Row row) {
    EnginePool::Lease engine = EnginePool::fresh(EngineSettings{QStringLiteral("eng"), false});
    tesseract::TessBaseAPI& api = engine->api();
    api.SetImage(row.band.constBits(), row.band.width(), row.band.height(), 1,
                 static_cast<int>(row.band.bytesPerLine()));
    api.SetSourceResolution(96);
    tesseract::ETEXT_DESC monitor;
    joinRowPieces(api, row.band, 160, row.pieces, monitor);
    QStringList lines;
    for (const LineWords& line : row.pieces) {
        QStringList words;
        for (const WordBox& word : line.words)
            words.append(word.text.trimmed());
        lines.append(words.join(u' '));
    }
    return lines;
}

}  // namespace

TEST(RowPieces, AWordLeftUnreadBetweenTwoPiecesOfARowIsReadIntoTheOneLine) {
    const QStringList words{QStringLiteral("backup"), QStringLiteral("source"), QStringLiteral("customer"),
                            QStringLiteral("detail"), QStringLiteral("each")};
    // "source" ends the first piece, "tomer" begins the second: "cus" was left unread.
    EXPECT_EQ(joined(drawnRow(words, 4, 1, 2, 5)), QStringList{QStringLiteral("backup source customer detail each")});
    // Two cells of a table: the blank between them is a column's, whatever its ink beyond.
    const QStringList cells{QStringLiteral("Region"), QStringLiteral("North"), QStringLiteral("sales")};
    EXPECT_EQ(joined(drawnRow(cells, 120, 0, 1, 5)),
              (QStringList{QStringLiteral("Region"), QStringLiteral("North sales")}));
}
