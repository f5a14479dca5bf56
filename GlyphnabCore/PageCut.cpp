#include "GlyphnabCore/PageCut.h"

#include <algorithm>

namespace GlyphnabCore {

std::optional<PageCut> PageCut::make(const QList<int>& pageCounts, int limit) {
    if (std::ranges::none_of(pageCounts, [limit](int count) { return count > limit; }))
        return std::nullopt;
    PageCut cut;
    cut.limit = limit;
    cut.files = int(pageCounts.size());
    for (const int count : pageCounts) {
        cut.read += std::min(count, limit);
        cut.total += count;
    }
    return cut;
}

}  // namespace GlyphnabCore
