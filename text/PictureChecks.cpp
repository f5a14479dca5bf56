#include "text/PictureChecks.h"

#include <zlib.h>

namespace ZantrelText::PictureChecks {

namespace {

std::uint32_t bigEndian(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<std::uint32_t>(static_cast<uchar>(bytes[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

}  // namespace

bool pngChunkOverruns(const QByteArray& bytes) {
    if (!bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return false;
    qsizetype at = 8;
    // Length, type, data, checksum.
    while (at + 8 <= bytes.size()) {
        const std::int64_t length = bigEndian(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        const std::int64_t end = at + 12 + length;
        if (end > bytes.size())
            // Picture data cut short is read as far as it goes; anything else would be
            // allocated at the size it claims.
            return type != "IDAT";
        if (type == "IEND")
            return false;
        at = static_cast<qsizetype>(end);
    }
    return false;
}

int jpegScans(const QByteArray& bytes) {
    if (!bytes.startsWith("\xff\xd8"))
        return 0;
    // Inside the coded data a 0xff byte is always followed by 0x00 or a restart marker,
    // so every start-of-scan pair is a marker.
    return static_cast<int>(bytes.count(QByteArrayView("\xff\xda", 2)));
}

bool isGzip(const QByteArray& bytes) { return bytes.startsWith("\x1f\x8b"); }

std::expected<QByteArray, InflateError> inflated(const QByteArray& gzip, qsizetype cap) {
    z_stream stream{};
    // 16 + the largest window: gzip framing.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return std::unexpected(InflateError::damaged);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.constData()));
    stream.avail_in = static_cast<uInt>(gzip.size());
    QByteArray out;
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        const qsizetype produced = chunk.size() - static_cast<qsizetype>(stream.avail_out);
        if (out.size() + produced > cap) {
            inflateEnd(&stream);
            return std::unexpected(InflateError::tooLarge);
        }
        out.append(chunk.constData(), produced);
        if (status == Z_BUF_ERROR && stream.avail_in == 0)
            break;  // cut short: what came out is what there is
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END && status != Z_BUF_ERROR)
        return std::unexpected(InflateError::damaged);
    return out;
}

}  // namespace ZantrelText::PictureChecks
