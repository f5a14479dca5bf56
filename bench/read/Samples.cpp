#include "Samples.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRandomGenerator>
#include <QStringList>

namespace Bench {
namespace {

const QStringList& vocabulary() {
    static const QStringList words = QStringLiteral(
        "the of and to in is that for it as was with be by on not he this are or his from at which but have an "
        "they you were her she there been one all we their has would when if so no will more can said about "
        "system picture screen window recognition layout column table value number result reading text line "
        "between during against without within because however therefore although morning evening river "
        "mountain library kitchen history science language question answer example important different "
        "general public national problem market service program company government information development "
        "Monday October London Berlin Paris Europe America December January Tuesday Friday Glyphnab Linux")
                                          .split(u' ', Qt::SkipEmptyParts);
    return words;
}

// Words in a fixed order with punctuation, numbers and capitals, as real prose has them.
QStringList prose(int count, quint32 seed) {
    QRandomGenerator random(seed);
    QStringList out;
    bool sentenceStart = true;
    for (int i = 0; i < count; ++i) {
        QString word;
        const int roll = static_cast<int>(random.bounded(100));
        if (roll < 6)
            word = QString::number(random.bounded(1, 2000));
        else if (roll < 8)
            word = QStringLiteral("%1.%2").arg(random.bounded(1, 100)).arg(random.bounded(10, 99));
        else
            word = vocabulary()[static_cast<qsizetype>(random.bounded(static_cast<quint32>(vocabulary().size())))];
        if (sentenceStart && word[0].isLetter())
            word[0] = word[0].toUpper();
        sentenceStart = false;
        const int end = static_cast<int>(random.bounded(100));
        if (end < 7) {
            word += u'.';
            sentenceStart = true;
        } else if (end < 12) {
            word += u',';
        }
        out.append(word);
    }
    return out;
}

// Words wrapped into lines no wider than `width` pixels.
QStringList wrap(const QStringList& words, const QFont& font, double width) {
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

QFont sansFont(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

Sample paragraphSample(const QString& name, QSize size, int pixels, QColor ground, QColor ink, quint32 seed) {
    const QFont font = sansFont(pixels);
    const double lineStep = pixels * 1.45;
    const int margin = 20;
    const int lineCount = static_cast<int>((size.height() - 2 * margin) / lineStep);
    QStringList lines = wrap(prose(400, seed), font, size.width() - 2 * margin);
    lines = lines.mid(0, lineCount);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(ground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(ink);
    const QFontMetricsF metrics(font);
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(margin, margin + metrics.ascent() + i * lineStep), lines[i]);
    painter.end();
    return {name, picture, lines.join(u'\n')};
}

Sample screenSample() {
    const QSize size(1920, 1080);
    const QFont font = sansFont(14);
    const QFontMetricsF metrics(font);
    const double lineStep = 19;
    const int margin = 24;
    const int gutter = 48;
    const double columnWidth = (size.width() - 2 * margin - 2 * gutter) / 3.0;
    const int lineCount = static_cast<int>((size.height() - 2 * margin) / lineStep);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    QStringList truth;
    for (int column = 0; column < 3; ++column) {
        const QStringList lines =
            wrap(prose(1400, 7 + static_cast<quint32>(column)), font, columnWidth).mid(0, lineCount);
        const double x = margin + column * (columnWidth + gutter);
        for (qsizetype i = 0; i < lines.size(); ++i)
            painter.drawText(QPointF(x, margin + metrics.ascent() + i * lineStep), lines[i]);
        truth.append(lines.join(u'\n'));
    }
    painter.end();
    return {QStringLiteral("screen"), picture, truth.join(u'\n')};
}

}  // namespace

std::vector<Sample> makeSamples() {
    return {
        paragraphSample(QStringLiteral("light"), {1000, 300}, 14, Qt::white, QColor(0x1a, 0x1a, 0x1a), 1),
        paragraphSample(QStringLiteral("dark"), {1000, 300}, 14, QColor(0x1e, 0x1e, 0x1e), QColor(0xd4, 0xd4, 0xd4), 1),
        paragraphSample(QStringLiteral("small"), {1000, 300}, 11, Qt::white, QColor(0x1a, 0x1a, 0x1a), 2),
        screenSample(),
        paragraphSample(QStringLiteral("region"), {960, 320}, 14, Qt::white, QColor(0x1a, 0x1a, 0x1a), 3),
    };
}

bool writeSamples(const QString& folder) {
    if (!QDir().mkpath(folder))
        return false;
    for (const Sample& sample : makeSamples()) {
        const QString base = QDir(folder).filePath(sample.name);
        if (!sample.picture.save(base + QStringLiteral(".png")))
            return false;
        QFile truth(base + QStringLiteral(".txt"));
        if (!truth.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        truth.write(sample.truth.toUtf8() + '\n');
    }
    return true;
}

}  // namespace Bench
