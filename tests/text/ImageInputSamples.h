#pragma once

// Pictures and PDFs made at test time for the input tests.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

namespace ImageInputSamples {

// A picture whose left half is red and right half blue, so a turn shows.
inline QImage halves(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter painter(&picture);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    return picture;
}

inline QByteArray encoded(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, 100);
    return bytes;
}

// A JPEG with an Exif block that holds only the orientation tag (big-endian TIFF).
inline QByteArray jpegWithOrientation(const QImage& picture, quint16 orientation) {
    const QByteArray jpeg = encoded(picture, "JPEG");
    QByteArray tiff("MM\x00\x2a\x00\x00\x00\x08", 8);
    tiff.append(QByteArray("\x00\x01", 2));                              // one entry
    tiff.append(QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01", 8));      // orientation, SHORT, 1
    tiff.append(static_cast<char>(orientation >> 8));
    tiff.append(static_cast<char>(orientation & 0xff));
    tiff.append(QByteArray("\x00\x00", 2));                              // value padding
    tiff.append(QByteArray("\x00\x00\x00\x00", 4));                      // no next directory
    const QByteArray exif = QByteArray("Exif\x00\x00", 6) + tiff;
    const int length = static_cast<int>(exif.size()) + 2;
    QByteArray segment("\xff\xe1", 2);
    segment.append(static_cast<char>(length >> 8));
    segment.append(static_cast<char>(length & 0xff));
    segment.append(exif);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// One page of a PDF: its size in points and what is drawn on it (in points).
struct Page {
    QSizeF points{300, 400};
    std::function<void(QPainter&)> draw;
};

inline Page textPage(const QString& text, QSizeF points = {300, 400}) {
    return Page{points, [text](QPainter& painter) {
                    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
                    painter.drawText(QPointF(40, 80), text);
                }};
}

inline Page blankPage(QSizeF points = {300, 400}) { return Page{points, {}}; }

inline QByteArray pdf(const std::vector<Page>& pages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);  // one unit is one point
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!pages.empty())
            writer.setPageSize(QPageSize(pages.front().points, QPageSize::Point));
        QPainter painter(&writer);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                writer.setPageSize(QPageSize(pages[i].points, QPageSize::Point));
                writer.newPage();
            }
            if (pages[i].draw)
                pages[i].draw(painter);
        }
    }
    return bytes;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool near(QColor actual, QColor expected, int tolerance = 40) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

}  // namespace ImageInputSamples
