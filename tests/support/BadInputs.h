#pragma once

// Hostile and broken inputs, built at test time: tiny files that claim huge pictures or
// pages, PDFs that loop or inflate, locked and cut-short files.

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QString>

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace BadInputs {

inline QByteArray encoded(const QImage& picture, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, quality);
    return bytes;
}

inline QImage textPicture(const QString& text, QSize size = {640, 80}) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QPointF(24, 50), text);
    return picture;
}

inline QByteArray svgWithText(const QString& text) {
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"80\">"
                          "<rect width=\"640\" height=\"80\" fill=\"white\"/>"
                          "<text x=\"24\" y=\"50\" font-family=\"DejaVu Sans\" font-size=\"24\">%1</text></svg>")
        .arg(text)
        .toUtf8();
}

// A small JPEG whose frame header claims `width` × `height`: the data ends long before.
inline QByteArray jpegClaiming(int width, int height) {
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes = encoded(small, "JPEG", 50);
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame < 0)
        return {};
    bytes[frame + 5] = static_cast<char>(height >> 8);
    bytes[frame + 6] = static_cast<char>(height & 0xff);
    bytes[frame + 7] = static_cast<char>(width >> 8);
    bytes[frame + 8] = static_cast<char>(width & 0xff);
    return bytes;
}

// A 1-bit picture of side × side, all white: a few kilobytes as a PNG.
inline QByteArray blankMonoPng(int side) {
    QImage picture(side, side, QImage::Format_Mono);
    picture.fill(0);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    return encoded(picture, "PNG");
}

// Black and white squares of `square` pixels (a multiple of 8) over side × side.
inline QByteArray checkerboardPng(int side, int square = 8) {
    QImage picture(side, side, QImage::Format_Mono);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const int bytesPerSquare = square / 8;
    for (int y = 0; y < side; ++y) {
        uchar* line = picture.scanLine(y);
        const bool odd = (y / square) % 2 == 1;
        for (int x = 0; x < side / 8; ++x)
            line[x] = ((x / bytesPerSquare) % 2 == 1) != odd ? 0xff : 0x00;
    }
    return encoded(picture, "PNG");
}

// A JPEG of text cut after `share` of its bytes.
inline QByteArray cutJpeg(const QImage& picture, double share = 0.6) {
    const QByteArray whole = encoded(picture, "JPEG", 95);
    return whole.left(static_cast<qsizetype>(static_cast<double>(whole.size()) * share));
}

// A PDF from its numbered objects (object 1 is the catalog), with a cross-reference
// table that points where the objects are.
inline QByteArray pdfOf(const QList<QByteArray>& objects, const QByteArray& trailer = {}) {
    QByteArray out("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype table = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " + trailer +
           ">>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return out;
}

inline QByteArray pdfWithPage(double width, double height) {
    return pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(width) + " " +
                      QByteArray::number(height) + "] >>"});
}

// A page tree whose inner node lists itself and its parent among its kids.
inline QByteArray pdfWithLoopingPages() {
    return pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 3 >>",
                  "<< /Type /Pages /Parent 2 0 R /Kids [3 0 R 2 0 R 4 0 R] /Count 3 >>",
                  "<< /Type /Page /Parent 3 0 R /MediaBox [0 0 300 400] >>"});
}

// A page whose content stream inflates to `bytes` of white space.
inline QByteArray pdfInflatingTo(qint64 bytes) {
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    const QByteArray chunk(1 << 20, ' ');
    QByteArray packed;
    QByteArray out(1 << 16, Qt::Uninitialized);
    for (qint64 done = 0; done < bytes;) {
        const qint64 take = std::min<qint64>(chunk.size(), bytes - done);
        done += take;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.constData()));
        stream.avail_in = static_cast<uInt>(take);
        const int flush = done >= bytes ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            packed.append(out.constData(), out.size() - static_cast<qsizetype>(stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] /Contents 4 0 R >>",
                  "<< /Length " + QByteArray::number(packed.size()) + " /Filter /FlateDecode >>\nstream\n" +
                      packed + "\nendstream"});
}

// Locked with a user password: the check values match no empty password.
inline QByteArray pdfWithPassword() {
    const QByteArray check = QByteArray(32, '\x5a').toHex();
    return pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] >>",
                  "<< /Filter /Standard /V 1 /R 2 /O <" + check + "> /U <" + check + "> /P -4 >>"},
                 "/Encrypt 4 0 R /ID [<00112233445566778899aabbccddeeff> <00112233445566778899aabbccddeeff>] ");
}

// One PNG chunk: its length (as claimed), type, data and checksum.
inline QByteArray pngChunk(const QByteArray& type, const QByteArray& data, std::int64_t claimed = -1) {
    const auto length = static_cast<std::uint32_t>(claimed < 0 ? data.size() : claimed);
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>(length >> shift & 0xff));
    const QByteArray body = type + data;
    out += body;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), static_cast<uInt>(body.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>(crc >> shift & 0xff));
    return out;
}

inline QByteArray pngHeader(int width, int height, char depth = 8, char colour = 2) {
    QByteArray header;
    for (const int side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.append(static_cast<char>(side >> shift & 0xff));
    header += QByteArray(1, depth) + QByteArray(1, colour) + QByteArray(3, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header);
}

// A zlib stream of `bytes` zeros.
inline QByteArray deflatedZeros(std::int64_t bytes) {
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    QByteArray zeros(1 << 20, '\0');
    QByteArray out(1 << 16, Qt::Uninitialized);
    QByteArray packed;
    for (std::int64_t done = 0; done < bytes;) {
        const auto size = static_cast<uInt>(std::min<std::int64_t>(zeros.size(), bytes - done));
        done += size;
        stream.next_in = reinterpret_cast<Bytef*>(zeros.data());
        stream.avail_in = size;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, done == bytes ? Z_FINISH : Z_NO_FLUSH);
            packed.append(out.constData(), out.size() - static_cast<qsizetype>(stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return packed;
}

// A PNG whose second chunk claims 2 GB and holds a few bytes: 56 bytes in all.
inline QByteArray pngClaimingChunk() {
    // 16 × 16, 8-bit RGB.
    return pngHeader(16, 16) + pngChunk("tEXt", QByteArray("Comment\0abc", 11), 0x7fffffff);
}

// A progressive JPEG whose frame claims `side` × `side`, its last scan repeated `scans`
// times: every scan is a pass over the whole claimed picture.
inline QByteArray jpegWithScans(int side, int scans) {
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(small);
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc2", 2));
    const qsizetype lastScan = bytes.lastIndexOf(QByteArray("\xff\xda", 2));
    const qsizetype end = bytes.lastIndexOf(QByteArray("\xff\xd9", 2));
    if (frame < 0 || lastScan < 0 || end < lastScan)
        return {};
    bytes[frame + 5] = static_cast<char>(side >> 8);
    bytes[frame + 6] = static_cast<char>(side & 0xff);
    bytes[frame + 7] = static_cast<char>(side >> 8);
    bytes[frame + 8] = static_cast<char>(side & 0xff);
    const QByteArray scan = bytes.mid(lastScan, end - lastScan);
    return bytes.left(end) + scan.repeated(scans) + QByteArray("\xff\xd9", 2);
}

// A 16 × 16 grey PNG that carries a compressed comment of `bytes` once inflated.
inline QByteArray pngWithCommentOf(std::int64_t bytes) {
    return pngHeader(16, 16, 8, 0) + pngChunk("zTXt", QByteArray("Comment\0\0", 9) + deflatedZeros(bytes)) +
           pngChunk("IDAT", deflatedZeros(16 * 17)) + pngChunk("IEND", {});
}

// An icon whose directory says 16 × 16 about a PNG that claims `side` × `side`.
inline QByteArray iconAroundPng(int side) {
    const QByteArray png = pngHeader(side, side, 8, 6) + pngChunk("IDAT", deflatedZeros(1 << 16)) + pngChunk("IEND", {});
    const auto little = [](std::uint32_t value) {
        QByteArray out;
        for (int shift = 0; shift < 32; shift += 8)
            out.append(static_cast<char>(value >> shift & 0xff));
        return out;
    };
    return QByteArray("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14) + little(static_cast<std::uint32_t>(png.size())) +
           little(22) + png;
}

// A 16 × 16 GIF whose one frame claims `side` × `side`.
inline QByteArray gifFrameClaiming(int side) {
    const auto little = [](int value) { return QByteArray(1, static_cast<char>(value & 0xff)) + static_cast<char>(value >> 8 & 0xff); };
    return "GIF89a" + little(16) + little(16) + QByteArray("\x80\0\0\0\0\0\xff\xff\xff", 9) + "," + little(0) +
           little(0) + little(side) + little(side) + QByteArray("\0\x02\x02\x44\x01\0;", 7);
}

// `levels` of groups that each use the one below ten times: 10^levels squares to draw.
inline QByteArray svgWithNestedUses(int levels) {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                     "width=\"640\" height=\"80\"><defs><rect id=\"l0\" width=\"1\" height=\"1\"/>";
    for (int level = 1; level <= levels; ++level) {
        svg += "<g id=\"l" + QByteArray::number(level) + "\">";
        for (int i = 0; i < 10; ++i)
            svg += "<use xlink:href=\"#l" + QByteArray::number(level - 1) + "\" x=\"" + QByteArray::number(i) + "\"/>";
        svg += "</g>";
    }
    return svg + "</defs><use xlink:href=\"#l" + QByteArray::number(levels) + "\"/></svg>";
}

// One line zigzagging `points` times, stroked in fine dashes.
inline QByteArray svgWithDashedZigzag(int points) {
    QByteArray list;
    for (int i = 0; i < points; ++i)
        list += QByteArray::number(i * 37 % 64000 / 100.0) + "," + QByteArray::number(i * 7 % 80) + " ";
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"80\"><polyline points=\"" + list +
           "\" fill=\"none\" stroke=\"black\" stroke-width=\"2\" stroke-dasharray=\"0.05\"/></svg>";
}

// `paths` lines across the picture, each stroked with as many dashes as the painter draws
// before it gives up and draws the line whole: the drawing takes minutes.
inline QByteArray svgWithDashedPaths(int paths) {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"80\">";
    for (int i = 0; i < paths; ++i)
        svg += "<path d=\"M0 " + QByteArray::number(i % 80) + " L640 " + QByteArray::number(i % 80) +
               "\" stroke=\"black\" stroke-width=\"2\" stroke-dasharray=\"0.033\"/>";
    return svg + "</svg>";
}

// Gzip of `bytes` bytes: an SVG of one line of text, then a comment of white space.
inline QByteArray svgzInflatingTo(qint64 bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    const QByteArray head = svgWithText(QStringLiteral("Hello")).replace("</svg>", "<!--");
    const QByteArray tail("--></svg>");
    const QByteArray spaces(1 << 20, ' ');
    QByteArray packed;
    QByteArray out(1 << 16, Qt::Uninitialized);
    const auto feed = [&](const QByteArray& chunk, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.constData()));
        stream.avail_in = static_cast<uInt>(chunk.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            packed.append(out.constData(), out.size() - static_cast<qsizetype>(stream.avail_out));
        } while (stream.avail_out == 0);
    };
    feed(head, Z_NO_FLUSH);
    for (qint64 done = head.size() + tail.size(); done < bytes; done += spaces.size())
        feed(spaces.left(static_cast<qsizetype>(std::min<qint64>(spaces.size(), bytes - done))), Z_NO_FLUSH);
    feed(tail, Z_FINISH);
    deflateEnd(&stream);
    return packed;
}

// `count` pages, each with a text layer that reads "Page N" in a standard font.
inline QByteArray pdfWithTextPages(int count) {
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>", {},
                              "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray kids;
    for (int page = 1; page <= count; ++page) {
        const qsizetype pageObject = objects.size() + 1;
        kids += QByteArray::number(pageObject) + " 0 R ";
        const QByteArray content = "BT /F1 24 Tf 40 300 Td (Page " + QByteArray::number(page) + ") Tj ET";
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] /Resources << /Font << /F1 3 0 R >> >> "
                       "/Contents " + QByteArray::number(pageObject + 1) + " 0 R >>");
        objects.append("<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(count) + " >>";
    return pdfOf(objects);
}

}  // namespace BadInputs
