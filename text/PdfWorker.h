#pragma once

// PDFs are opened, counted and drawn in a child process: the PDF engine cannot be
// interrupted, and a page tree that loops or a stream that inflates to gigabytes would
// otherwise hang the caller or take its memory. The child gets a time limit and a memory
// cap; when it overruns either it is killed and the caller learns why.

#include "text/Input.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

namespace ZantrelText::PdfWorker {

// A document on disk, or its bytes (a PDF on the clipboard).
struct Source {
    QString path;
    QByteArray bytes;
};

struct Limits {
    std::chrono::milliseconds time{15'000};
    // What the child may allocate beyond what it shares with the caller.
    std::int64_t memoryBytes = std::int64_t{640} << 20;
    int pageLimit = 30;
    double renderScale = 2.0;
    // A drawn page gets at most this many pixels, and all drawn pages together at most
    // `documentPixels`: large pages are drawn at a lower scale rather than skipped.
    std::int64_t pagePixels = std::int64_t{4096} * 4096;
    std::int64_t documentPixels = std::int64_t{96} << 20;
};

enum class Ending {
    read,        // every page asked for was handled
    damaged,     // the engine could not open it
    password,    // it asks for a password
    tooLong,     // the time limit ran out
    failed,      // the child died on the way: out of memory, or a fault in the engine
};

struct Result {
    Ending ending = Ending::damaged;
    // The pages read before the end, in page order.
    QList<Input> inputs;
    std::optional<int> pageCount;
};

// Opens the document and, unless `countOnly`, takes the text or drawn picture of each of
// the first pages. Blocks the calling thread up to the time limit; any thread.
Result read(const Source& source, const Limits& limits = {}, bool countOnly = false);

// The scale a page of `points` is drawn at under the pixel cap: the render scale, or
// less for a page that would be larger.
double scaleFor(double width, double height, double renderScale, std::int64_t pixelCap);

}  // namespace ZantrelText::PdfWorker
