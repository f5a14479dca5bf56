#include "platform/recognition/ModelFile.h"

#include <QFile>

#include <cstdint>
#include <cstring>

namespace Platform::Recognition {
namespace {

// Tesseract refuses tables longer than this; a longer count is another byte order.
constexpr std::uint32_t mostEntries = 1000;

}  // namespace

std::optional<std::vector<char>> readModelWithout(const QString& path, unsigned dropped) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::int64_t size = file.size();
    std::uint32_t count = 0;
    if (file.read(reinterpret_cast<char*>(&count), sizeof count) != sizeof count || count == 0 || count > mostEntries)
        return std::nullopt;
    std::vector<std::int64_t> offsets(count);
    const auto tableBytes = static_cast<qint64>(count * sizeof(std::int64_t));
    if (file.read(reinterpret_cast<char*>(offsets.data()), tableBytes) != tableBytes)
        return std::nullopt;
    const std::int64_t header = static_cast<std::int64_t>(sizeof count) + tableBytes;

    std::vector<std::int64_t> kept(count, -1);
    std::vector<char> model(static_cast<std::size_t>(header));
    for (unsigned i = 0; i < count; ++i) {
        if (offsets[i] < 0)
            continue;
        // An entry ends where the next present one begins, the last at the end of the file.
        std::int64_t end = size;
        for (unsigned j = i + 1; j < count; ++j) {
            if (offsets[j] >= 0) {
                end = offsets[j];
                break;
            }
        }
        if (offsets[i] < header || end < offsets[i] || end > size)
            return std::nullopt;
        if (i == dropped)
            continue;
        kept[i] = static_cast<std::int64_t>(model.size());
        const std::size_t at = model.size();
        model.resize(at + static_cast<std::size_t>(end - offsets[i]));
        if (!file.seek(offsets[i]) || file.read(model.data() + at, end - offsets[i]) != end - offsets[i])
            return std::nullopt;
    }
    std::memcpy(model.data(), &count, sizeof count);
    std::memcpy(model.data() + sizeof count, kept.data(), static_cast<std::size_t>(tableBytes));
    return model;
}

}  // namespace Platform::Recognition
