// Picture bytes as a file or the clipboard hands them over: decoded within the budget, or
// refused with a reason.

#include "platform/pasteboard/Pasteboard.h"
#include "text/ImageInput.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

namespace ImageInput = ZantrelText::ImageInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz-picture";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)application;

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ImageInput::PictureRead read = ImageInput::decodePicture(bytes);
    if (read.picture) {
        if (std::int64_t{read.picture->width()} * read.picture->height() > ImageInput::pixelBudget)
            std::abort();  // past the budget: the reader would be handed too much
    } else if (read.problem == ImageInput::Problem::none) {
        std::abort();  // nothing, and no reason given
    }

    // The same bytes as PNG data on a board.
    Platform::MemoryPasteboard board;
    board.setData(Platform::PasteboardType::png, bytes);
    if (ImageInput::hasInput(board) != true)
        std::abort();
    for (const ZantrelText::Input& input : ImageInput::read(board))
        if (input.image() && std::int64_t{input.image()->width()} * input.image()->height() > ImageInput::pixelBudget)
            std::abort();
    return 0;
}
