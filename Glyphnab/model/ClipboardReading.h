#pragma once

// Reading pasteboards and files into inputs for a grab, in pieces that may run on a
// worker thread: a pasteboard is copied on the GUI thread first, then read anywhere.

#include "GlyphnabCore/PageCut.h"
#include "platform/pasteboard/Pasteboard.h"
#include "text/ImageInput.h"
#include "text/Input.h"

#include <QList>
#include <QUrl>

#include <memory>
#include <optional>

namespace Glyphnab::ClipboardReading {

inline constexpr int pageLimit = 30;

// What a read of files or a pasteboard gave.
struct BoardRead {
    QList<ZantrelText::Input> inputs;
    // The file URLs it carried; a board with some reads as files.
    QList<QUrl> files;
    std::optional<GlyphnabCore::PageCut> pageCut;
    // The first file that gave less than it holds, and why.
    ZantrelText::ImageInput::Problem problem = ZantrelText::ImageInput::Problem::none;
    QUrl problemFile;
};

// What the reading looks at on the board: its file URLs, its PDF and picture data, and
// its decoded picture when it holds no picture data of a known type. GUI thread.
std::shared_ptr<Platform::MemoryPasteboard> snapshot(const Platform::Pasteboard& board);

// Any thread.
BoardRead readBoard(const Platform::Pasteboard& board);
BoardRead readFiles(const QList<QUrl>& urls);
// The PDFs among the files that open, counted against the page limit.
std::optional<GlyphnabCore::PageCut> pageCutForFiles(const QList<QUrl>& urls);

}  // namespace Glyphnab::ClipboardReading
