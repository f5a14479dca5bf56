#include "platform/recognition/FigureShapes.h"

#include "platform/recognition/LookAlikes.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

// Figures with the signs of amounts, dates and times, and a stray bracket a figure can be
// read with.
bool isFigureLike(const QString& text) {
    static const QRegularExpression figure(QStringLiteral("^\\d[\\d.,:/%\\-()]*$"));
    return figure.match(text).hasMatch();
}

}  // namespace

QString figureShapeCharacters() { return QStringLiteral("0123456789.,:/-%"); }

bool misfitsInk(const WordBox& word, const std::vector<InkShape>& shapes) {
    if (word.text.size() < 2 || !isFigureLike(word.text))
        return false;
    // How many pieces the characters make: a "%" one to three, a zero with a dot in it
    // one or two, a colon two.
    qsizetype fewest = 0;
    qsizetype most = 0;
    for (const QChar c : word.text) {
        fewest += c == u':' ? 2 : 1;
        most += c == u'%' ? 3 : c == u'0' || c == u':' ? 2 : 1;
    }
    const QRectF area = word.box.adjusted(-1, -1, 1, 1);
    qsizetype pieces = 0;
    qsizetype wide = 0;
    for (const InkShape& shape : shapes) {
        if (!area.contains(QRectF(shape.box).center()))
            continue;
        ++pieces;
        // Glyphs that touch make one piece wider than tall.
        wide += shape.box.width() > shape.box.height() && shape.box.height() > 0.5 * word.box.height() ? 1 : 0;
    }
    return pieces > most || pieces + wide < fewest;
}

bool fitsInk(const QString& reading, const WordBox& word, const std::vector<InkShape>& shapes) {
    static const QRegularExpression figure(QStringLiteral("^\\d+(?:[.,:/\\-]\\d+)*%?$"));
    if (!figure.match(reading).hasMatch())
        return false;
    WordBox read = word;
    read.text = reading;
    const std::optional<std::vector<QRect>> pieces = characterShapes(read, shapes);
    if (!pieces)
        return false;
    // Two digits that touch make one piece, wider than tall: not one digit.
    for (qsizetype i = 0; i < reading.size(); ++i) {
        const QRect& piece = (*pieces)[static_cast<std::size_t>(i)];
        if (reading[i].isDigit() && piece.width() > 0.9 * piece.height())
            return false;
    }
    return true;
}

}  // namespace Platform::Recognition
