// Any feed the network could hand over: parsed or refused, and the version order stays
// an order.

#include "Glyphnab/shell/UpdateFeed.h"

#include <cstdint>
#include <cstdlib>

namespace UpdateFeed = Glyphnab::UpdateFeed;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto items = UpdateFeed::parse(bytes);
    const auto newest = UpdateFeed::newest(bytes);
    // An empty list of items is a feed without a usable version: no newest then.
    if ((items && !items->empty()) != newest.has_value())
        std::abort();
    if (items)
        for (const UpdateFeed::Item& item : *items) {
            if (!UpdateFeed::isUsableVersion(item.releaseVersion()))
                std::abort();
            if (UpdateFeed::compareVersions(item.releaseVersion(), newest->releaseVersion()) ==
                std::strong_ordering::greater)
                std::abort();  // the newest is not the newest
            (void)UpdateFeed::pageAddressAllowed(item.page);
        }

    // Two version texts from the bytes: the order is antisymmetric and reflexive.
    const QString text = QString::fromUtf8(bytes.left(64));
    const qsizetype half = text.size() / 2;
    const QStringView a = QStringView(text).left(half), b = QStringView(text).mid(half);
    const auto forward = UpdateFeed::compareVersions(a, b);
    const auto backward = UpdateFeed::compareVersions(b, a);
    if ((forward == std::strong_ordering::less) != (backward == std::strong_ordering::greater))
        std::abort();
    if (UpdateFeed::compareVersions(a, a) != std::strong_ordering::equal)
        std::abort();
    (void)UpdateFeed::feedAddressAllowed(QUrl(text));
    return 0;
}
