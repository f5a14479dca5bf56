#pragma once

// Warming the recognizer up: a while after launch, the requests of one reading are made
// once on a small built-in table picture and their results dropped, so that the first
// real grab does not wait for the models to load.

#include "platform/recognition/DetectBarcodesRequest.h"
#include "platform/recognition/DocumentRequest.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "text/ReadOptions.h"

#include <QCoroTask>
#include <QImage>

#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>

namespace ZantrelText {

// The requests the warm-up makes. The app uses the live ones; tests hand in their own.
struct WarmUpRequests {
    std::function<QCoro::Task<Platform::Recognition::RecognizeTextRequest::Result>(QImage, ReadOptions,
                                                                                    std::stop_token)>
        text;
    std::function<QCoro::Task<Platform::Recognition::RecognizeDocumentsRequest::Result>(QImage, std::stop_token)>
        documents;
    std::function<QCoro::Task<Platform::Recognition::DetectBarcodesRequest::Result>(QImage, std::stop_token)>
        barcodes;
    // Each request performed through the shared runner.
    static WarmUpRequests live();
};

namespace TextReader {

// What the app waits after launch before warming up.
inline constexpr std::chrono::seconds warmUpDelay{45};

// Sleeps `after` on the shared clock, then makes the text request, the document request
// when `options.tables` is on, and the barcode request on the warm-up picture, one after
// the other, dropping results and errors. A stop ends the sleep and makes no further
// request. Await it on the GUI thread.
QCoro::Task<void> warmUp(ReadOptions options, std::chrono::nanoseconds after, std::stop_token stop = {});
QCoro::Task<void> warmUp(ReadOptions options, std::chrono::nanoseconds after, WarmUpRequests requests,
                         std::stop_token stop = {});

// A small table of four rows and three columns, black on white, 740 × 300 pixels;
// nothing when it cannot be drawn.
std::optional<QImage> warmUpPicture();

}  // namespace TextReader
}  // namespace ZantrelText
