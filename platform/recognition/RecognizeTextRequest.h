#pragma once

// The text request: Tesseract's LSTM recognizer on a picture, one observation per
// visually separate run of text.

#include "platform/recognition/Observations.h"

#include <QImage>
#include <QThreadPool>
#include <QStringList>

#include <stop_token>
#include <vector>

namespace Platform::Recognition {

enum class RecognitionLevel { fast, accurate };

struct RecognizeTextRequest {
    using Result = std::vector<RecognizedTextObservation>;

    // `fast` reads the picture at its own size; `accurate` scales small text up first.
    RecognitionLevel recognitionLevel = RecognitionLevel::accurate;
    // Tesseract's word lists: they steer uncertain readings towards dictionary words.
    bool usesLanguageCorrection = true;
    // Tesseract has no language detection of its own; with no languages named the
    // installed default is read, and with several it picks per word among them anyway.
    bool automaticallyDetectsLanguage = false;
    // Runs shorter than this share of the picture's height are dropped; 0 keeps all.
    double minimumTextHeightFraction = 0.0;
    // BCP 47 identifiers in priority order; empty reads the default language.
    QStringList recognitionLanguages;
    // When not empty, the picture is one line of text made of these characters only
    // (a second reading of a table cell).
    QString characterWhitelist;

    ComputeStageDevices supportedComputeStageDevices() const;
    void setComputeDevice(ComputeDevice device, ComputeStage stage);
    ComputeDevice computeDevice() const { return device_; }

    // Blocking; call it off the GUI thread. Throws RecognitionError when the engine
    // cannot be loaded and CancellationError when the stop was requested.
    Result perform(const QImage& picture, std::stop_token stop = {}) const;

    friend bool operator==(const RecognizeTextRequest&, const RecognizeTextRequest&) = default;

private:
    ComputeDevice device_ = ComputeDevice::sharedEngine;
};

// The pool the bands of one picture are read on, one engine per thread.
QThreadPool& recognitionPool();

}  // namespace Platform::Recognition
