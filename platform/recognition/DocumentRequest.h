#pragma once

// The document request: the tables of a picture. The rules drawn in it and its words are
// found, the table finder puts the two together, and the words of each table row are read
// once more from that row alone before the cells are filled.

#include "platform/recognition/DocumentObservation.h"
#include "platform/recognition/Observations.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "platform/recognition/TableFinder.h"

#include <QImage>
#include <QStringList>

#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

namespace Platform::Recognition {

struct RecognizeDocumentsRequest {
    using Result = std::vector<DocumentObservation>;
    // Reads the words of a picture (boxes in its pixels); blocking.
    using WordReader = std::function<std::vector<TableWord>(const QImage&, ComputeDevice, std::stop_token)>;

    // The words come from the text request in `recognitionLanguages`; a test hands in
    // its own reader.
    WordReader readWords;
    // BCP 47 identifiers in priority order, as the reading names them; empty reads the
    // installed default.
    QStringList recognitionLanguages;
    // The words of the whole picture when its text reading is at hand already (the text
    // request `wordRequest` makes reads the same): the picture is not read twice.
    std::optional<std::vector<TableWord>> pictureWords;

    ComputeStageDevices supportedComputeStageDevices() const;
    void setComputeDevice(ComputeDevice device, ComputeStage stage);
    ComputeDevice computeDevice() const { return device_; }

    // Blocking; call it off the GUI thread. One observation for a picture with text, none
    // for an empty one. Throws what the word reading throws (RecognitionError,
    // CancellationError).
    Result perform(const QImage& picture, std::stop_token stop = {}) const;

    // The words of the text request in these languages (empty: the installed default).
    static std::vector<TableWord> textRequestWords(const QImage& picture, ComputeDevice device, std::stop_token stop,
                                                   const QStringList& languages = {});
    // The text request those words come from.
    static RecognizeTextRequest wordRequest(const QStringList& languages);
    // The words of a text reading of a picture of this size, boxes in its pixels.
    static std::vector<TableWord> wordsOf(const RecognizeTextRequest::Result& reading, const QSizeF& pictureSize);

    // Where each row of a table is read again: the height of its one-row cells' text,
    // the width of the whole table, a small margin around; in picture pixels.
    static std::vector<QRectF> rowBands(const DocumentTable& table, const QSizeF& pictureSize);

private:
    ComputeDevice device_ = ComputeDevice::sharedEngine;
};

}  // namespace Platform::Recognition
