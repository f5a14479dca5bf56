// PDF bytes as the clipboard hands them over, through the worker process: every ending
// is one of the known ones, the pages read stay within their limits, and nothing hangs.

#include "text/ImageInput.h"
#include "text/PdfWorker.h"

#include <cstdint>
#include <cstdlib>

namespace PdfWorker = ZantrelText::PdfWorker;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PdfWorker::Limits limits;
    limits.time = std::chrono::milliseconds(3000);
    limits.memoryBytes = std::int64_t{256} << 20;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PdfWorker::Result result = PdfWorker::read({{}, bytes}, limits);
    if (result.inputs.size() > limits.pageLimit)
        std::abort();
    if (result.ending == PdfWorker::Ending::read && !result.pageCount)
        std::abort();
    std::int64_t pixels = 0;
    for (const ZantrelText::Input& input : result.inputs)
        if (const QImage* picture = input.image())
            pixels += std::int64_t{picture->width()} * picture->height();
    if (pixels > limits.documentPixels + limits.pagePixels)
        std::abort();
    return 0;
}
