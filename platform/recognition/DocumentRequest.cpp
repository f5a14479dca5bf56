#include "platform/recognition/DocumentRequest.h"

#include "platform/async/Cancellation.h"
#include "platform/recognition/FigurePoints.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "platform/recognition/TableBandEdges.h"
#include "platform/recognition/TableBlankRows.h"
#include "platform/recognition/TableCellRepair.h"

#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <exception>

namespace Platform::Recognition {

namespace {

QRectF pixelBox(const QRectF& normalized, const QSizeF& size) {
    return {normalized.x() * size.width(), (1.0 - normalized.bottom()) * size.height(),
            normalized.width() * size.width(), normalized.height() * size.height()};
}

// The most common colour of a picture: its ground.
QColor commonColour(const QImage& picture) {
    QHash<QRgb, int> counts;
    QRgb common = qRgb(255, 255, 255);
    int most = 0;
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int count = ++counts[line[x]];
            if (count > most) {
                most = count;
                common = line[x];
            }
        }
    }
    return QColor::fromRgb(common);
}

// Cells that slipped on look-alike characters, read again from the cell alone with only
// the characters their column or row uses.
void rereadCells(DocumentTable& table, const QImage& picture, const QStringList& languages, ComputeDevice device,
                 const std::stop_token& stop) {
    const QSizeF size = picture.size();
    for (const CellReread& reread : cellsToReread(table)) {
        DocumentCell& cell = table.rows[reread.row][reread.cell];
        const QRectF box = pixelBox(cell.content.boundingBox, size);
        const double margin = 0.5 * box.height() + 4;
        const QRect area = box.adjusted(-margin, -4, margin, 4).toAlignedRect() & picture.rect();
        if (area.isEmpty())
            continue;
        RecognizeTextRequest request;
        request.setComputeDevice(device, ComputeStage::main);
        request.recognitionLanguages = languages;
        request.characterWhitelist = reread.characters;
        const QImage crop = picture.copy(area);
        // A thin figure beside a letter can go missing at one size and not at another.
        for (const double scale : {1.0, 1.5, 2.0, 3.0}) {
            const QImage scaled = scale == 1.0 ? crop
                                               : crop.scaled(crop.size() * scale, Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation);
            QStringList parts;
            for (const RecognizedTextObservation& observation : request.perform(scaled, stop))
                if (!observation.candidates.empty())
                    parts.append(observation.candidates.front().string);
            const QString text = parts.join(u' ');
            if (acceptsReread(reread, text) && keepsPoints(cell.content.transcript, text)) {
                cell.content.transcript = text;
                break;
            }
        }
    }
}

qsizetype letterCount(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

qsizetype digitCount(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The figures with separators ("7.8", "1,204", "10:02") of some words, sorted.
QStringList figuresOf(const std::vector<const TableWord*>& words) {
    static const QRegularExpression figure(QStringLiteral(R"(\d+(?:[.,:]\d+)+)"));
    QStringList figures;
    for (const TableWord* word : words)
        for (auto match = figure.globalMatch(word->text); match.hasNext();)
            figures.append(match.next().captured());
    figures.sort();
    return figures;
}

// Every figure of the first reading is still there, separators and all: a point lost
// in a second reading turns 7.8 into 78, the worst thing a table can paste.
bool keepsFigures(const std::vector<const TableWord*>& first, const std::vector<const TableWord*>& second) {
    QStringList remaining = figuresOf(second);
    for (const QString& figure : figuresOf(first))
        if (!remaining.removeOne(figure))
            return false;
    return true;
}

// A figure read again with a point after it that the first reading did not see ("2026-07-27."
// for "2026-07-27") keeps its first reading: a table cell holds no point after a figure,
// and pasted, the point turns the figure into text.
void dropGainedFinalPoints(std::vector<TableWord>& second, const std::vector<const TableWord*>& first) {
    for (TableWord& word : second) {
        if (!word.text.endsWith(u'.'))
            continue;
        const QString figure = word.text.chopped(1);
        const bool seenBare = std::any_of(first.begin(), first.end(), [&](const TableWord* seen) {
            return seen->text == figure && seen->box.intersects(word.box);
        });
        if (seenBare && isNumericText(figure))
            word.text = figure;
    }
}

// Each strip read in turn; a null one reads nothing.
template <class Reader>
std::vector<std::vector<TableWord>> readEach(const std::vector<QImage>& strips, const Reader& read,
                                             const std::stop_token& stop) {
    std::vector<std::vector<TableWord>> words(strips.size());
    for (std::size_t i = 0; i < strips.size(); ++i)
        if (!strips[i].isNull())
            words[i] = read(strips[i], stop);
    return words;
}

// The strips read by the text request all at once on the global workers, each strip's
// bands on the recognition pool; the first failure in strip order is thrown once every
// strip is done.
std::vector<std::vector<TableWord>> readAtOnce(const std::vector<QImage>& strips, ComputeDevice device,
                                               const QStringList& languages, const std::stop_token& stop) {
    struct StripWords {
        std::vector<TableWord> words;
        std::exception_ptr error;
    };
    std::vector<QFuture<StripWords>> running;
    for (const QImage& strip : strips) {
        if (strip.isNull()) {
            running.emplace_back();
            continue;
        }
        running.push_back(QtConcurrent::run(QThreadPool::globalInstance(), [&strip, device, &languages, &stop] {
            StripWords read;
            try {
                read.words = RecognizeDocumentsRequest::textRequestWords(strip, device, stop, languages);
            } catch (...) {
                read.error = std::current_exception();
            }
            return read;
        }));
    }
    std::vector<StripWords> read;
    for (QFuture<StripWords>& future : running)
        read.push_back(future.isValid() ? future.result() : StripWords{});  // waits: the strips outlive every read
    std::vector<std::vector<TableWord>> words;
    for (StripWords& strip : read) {
        if (strip.error)
            std::rethrow_exception(strip.error);
        words.push_back(std::move(strip.words));
    }
    return words;
}

}  // namespace

ComputeStageDevices RecognizeDocumentsRequest::supportedComputeStageDevices() const {
    return {{ComputeStage::main, {ComputeDevice::sharedEngine, ComputeDevice::cpu}}};
}

void RecognizeDocumentsRequest::setComputeDevice(ComputeDevice device, ComputeStage /*stage*/) { device_ = device; }

RecognizeTextRequest RecognizeDocumentsRequest::wordRequest(const QStringList& languages) {
    RecognizeTextRequest request;
    request.recognitionLanguages = languages;
    return request;
}

std::vector<TableWord> RecognizeDocumentsRequest::wordsOf(const RecognizeTextRequest::Result& reading,
                                                          const QSizeF& pictureSize) {
    std::vector<TableWord> words;
    for (const RecognizedTextObservation& observation : reading) {
        if (observation.candidates.empty())
            continue;
        const RecognizedText& text = observation.candidates.front();
        for (const RecognizedText::Word& word : text.words)
            words.push_back(
                TableWord{text.string.mid(word.range.start, word.range.length), pixelBox(word.box, pictureSize)});
    }
    return words;
}

std::vector<TableWord> RecognizeDocumentsRequest::textRequestWords(const QImage& picture, ComputeDevice device,
                                                                   std::stop_token stop, const QStringList& languages) {
    RecognizeTextRequest request = wordRequest(languages);
    request.setComputeDevice(device, ComputeStage::main);
    return wordsOf(request.perform(picture, stop), picture.size());
}

RecognizeDocumentsRequest::Result RecognizeDocumentsRequest::perform(const QImage& picture, std::stop_token stop) const {
    checkCancellation(stop);
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return {};
    const QSizeF size = picture.size();
    auto readWords = [this](const QImage& image, std::stop_token token) {
        return this->readWords ? this->readWords(image, device_, std::move(token))
                               : textRequestWords(image, device_, std::move(token), recognitionLanguages);
    };
    const Rulings rulings = TableFinder::findRulings(picture);
    checkCancellation(stop);
    // The words are read with the rules in place: the recognizer keeps the text of
    // framed cells apart better with them than without.
    std::vector<TableWord> words = pictureWords ? *pictureWords : readWords(picture, stop);
    checkCancellation(stop);
    if (words.empty())
        return {};
    std::vector<DocumentTable> tables = TableFinder::findTables(words, rulings, size);
    if (tables.empty())
        return {DocumentObservation{}};

    // Short cells on their own (a lone "7.25" in a column) are where the recognizer slips
    // most; read again one table row at a time, they have the row's line around them.
    std::vector<QRectF> bands;
    std::vector<QRectF> tallCells;
    for (const DocumentTable& table : tables) {
        for (const QRectF& band : rowBands(table, size))
            bands.push_back(band);
        for (const auto& row : table.rows)
            for (const DocumentCell& cell : row)
                if (cell.rowRange.lowerBound != cell.rowRange.upperBound && !cell.content.transcript.isEmpty())
                    tallCells.push_back(pixelBox(cell.content.boundingBox, size));
    }
    // A header cell standing between two header rows (a merged cell over both) lies in
    // the bands of both: either band cuts it, so it keeps its first reading too.
    std::vector<QRectF> betweenRows;
    for (const TableWord& word : words)
        if (std::count_if(bands.begin(), bands.end(),
                          [&](const QRectF& band) { return band.contains(word.box.center()); }) > 1) {
            betweenRows.push_back(word.box);
            tallCells.push_back(word.box);
        }
    const auto isBetweenRows = [&](const TableWord& word) {
        return std::find(betweenRows.begin(), betweenRows.end(), word.box) != betweenRows.end();
    };
    // A row's strip holds the picture's pixels only: the strips are read side by side,
    // and each reading is weighed in row order against the words the rows above left.
    std::vector<QRect> areas;
    std::vector<QImage> strips;
    for (const QRectF& band : bands) {
        const QRect area = clearOfGlyphs(picture, band.toAlignedRect() & picture.rect(), band.height());
        areas.push_back(area);
        if (area.isEmpty()) {
            strips.emplace_back();
            continue;
        }
        QImage strip = picture.copy(area).convertToFormat(QImage::Format_RGB32);
        // Text of a cell over several rows would be cut by the band; it keeps its
        // first reading.
        {
            QPainter painter(&strip);
            const QColor ground = commonColour(strip);
            for (const QRectF& cell : tallCells)
                painter.fillRect(cell.translated(-area.topLeft()).adjusted(-2, -2, 2, 2), ground);
        }
        strips.push_back(std::move(strip));
    }
    std::vector<std::vector<TableWord>> rereads = this->readWords ? readEach(strips, readWords, stop)
                                                                  : readAtOnce(strips, device_, recognitionLanguages, stop);
    checkCancellation(stop);
    for (std::size_t row = 0; row < bands.size(); ++row) {
        const QRectF& band = bands[row];
        const QRect& area = areas[row];
        if (area.isEmpty())
            continue;
        std::vector<TableWord>& reread = rereads[row];
        for (TableWord& word : reread)
            word.box.translate(area.topLeft());
        // The band's margin takes in the edges of the rows above and below; what it
        // reads there, beside the row's own words rather than level with them, is
        // glyphs cut in half ("Q1 x----- 2025").
        double ownTop = band.bottom();
        double ownBottom = band.top();
        for (const TableWord& word : words)
            if (band.contains(word.box.center()) && !isBetweenRows(word)) {
                ownTop = std::min(ownTop, word.box.top());
                ownBottom = std::max(ownBottom, word.box.bottom());
            }
        std::erase_if(reread, [&](const TableWord& word) {
            return word.box.center().y() < ownTop || word.box.center().y() > ownBottom;
        });
        auto inBand = [&](const TableWord& word) { return band.contains(word.box.center()) && !isBetweenRows(word); };
        // A second reading that lost text is worse than the first.
        std::vector<const TableWord*> first, second;
        qsizetype before = 0;
        qsizetype digitsBefore = 0;
        for (const TableWord& word : words)
            if (inBand(word)) {
                before += letterCount(word.text);
                digitsBefore += digitCount(word.text);
                first.push_back(&word);
            }
        qsizetype after = 0;
        qsizetype digitsAfter = 0;
        for (const TableWord& word : reread) {
            after += letterCount(word.text);
            digitsAfter += digitCount(word.text);
            second.push_back(&word);
        }
        // Fewer digits is a figure's digit read as its look-alike letter ("Q1" as "Ql").
        if (after < before || digitsAfter < digitsBefore || !keepsFigures(first, second))
            continue;
        dropGainedFinalPoints(reread, first);
        std::erase_if(words, inBand);
        words.insert(words.end(), reread.begin(), reread.end());
    }
    for (const DocumentTable& table : tables)
        for (const QRect& strip : blankRowStrips(table, picture)) {
            std::vector<TableWord> read = readWords(picture.copy(strip).convertToFormat(QImage::Format_RGB32), stop);
            checkCancellation(stop);
            for (TableWord& word : read)
                words.push_back({word.text, word.box.translated(strip.topLeft())});
        }
    std::vector<DocumentTable> found = TableFinder::findTables(words, rulings, size);
    for (DocumentTable& table : found)
        rereadCells(table, picture, recognitionLanguages, device_, stop);
    checkCancellation(stop);
    return {DocumentObservation{DocumentContainer{std::move(found)}}};
}

std::vector<QRectF> RecognizeDocumentsRequest::rowBands(const DocumentTable& table, const QSizeF& pictureSize) {
    QRectF whole;
    std::vector<QRectF> rows;
    for (const auto& row : table.rows) {
        QRectF band;
        for (const DocumentCell& cell : row) {
            const QRectF box = pixelBox(cell.content.boundingBox, pictureSize);
            whole = whole.isNull() ? box : whole.united(box);
            if (cell.rowRange.lowerBound == cell.rowRange.upperBound && !cell.content.transcript.isEmpty())
                band = band.isNull() ? box : band.united(box);
        }
        if (!band.isNull())
            rows.push_back(band);
    }
    std::vector<QRectF> bands;
    for (const QRectF& row : rows) {
        // A margin of a third of the text's height keeps accents and descenders whole.
        const double margin = row.height() / 3;
        bands.push_back(QRectF(whole.left() - margin, row.top() - margin, whole.width() + 2 * margin,
                               row.height() + 2 * margin));
    }
    return bands;
}

}  // namespace Platform::Recognition
