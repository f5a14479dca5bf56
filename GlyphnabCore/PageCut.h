#pragma once

// PDF files that were read only in part: how many pages were read of how many.

#include <QList>

#include <optional>

namespace GlyphnabCore {

struct PageCut {
    // Summed over the PDFs of one read.
    int read = 0;
    int total = 0;
    // Every PDF of the read, also those under the limit.
    int files = 0;
    // The most pages read from any one file.
    int limit = 0;

    // One count per PDF, in file order; nothing when no file went past the limit (a PDF
    // of exactly `limit` pages is read whole).
    static std::optional<PageCut> make(const QList<int>& pageCounts, int limit);

    friend bool operator==(const PageCut&, const PageCut&) = default;
};

}  // namespace GlyphnabCore
