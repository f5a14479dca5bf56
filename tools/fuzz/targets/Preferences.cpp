// Any stored preferences document: it loads, saves and loads again to the same value,
// and one that loads only in part is kept before a save replaces it.

#include "GlyphnabCore/Preferences.h"
#include "ZantrelKit/DefaultsStore.h"

#include <QDateTime>

#include <cstdint>
#include <cstdlib>

using GlyphnabCore::Preferences;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Preferences decoded = Preferences::decode(bytes);

    ZantrelKit::MemoryDefaultsStore store;
    store.setBytes(Preferences::defaultsKey, bytes);
    if (Preferences::load(store) != decoded)
        std::abort();
    if (!decoded.save(store))
        std::abort();
    if (Preferences::load(store) != decoded)
        std::abort();  // what was saved does not read back
    // Saved whole: nothing more to keep.
    if (Preferences::keepUnreadable(store, QDateTime::currentDateTime()))
        std::abort();
    (void)decoded.recognitionLanguages({QStringLiteral("en-US"), QStringLiteral("de")},
                                       {QStringLiteral("en-US"), QStringLiteral("fr-FR")});
    return 0;
}
