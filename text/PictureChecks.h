#pragma once

// Checks made on a picture's bytes before a decoder sees them: the decoders trust what a
// header claims, and allocate or loop by it before they find out it lies.

#include <QByteArray>

#include <cstdint>
#include <expected>

namespace ZantrelText::PictureChecks {

// Progressive JPEGs of cameras and editors have a dozen scans; every scan is a pass over
// the whole picture, so thousands of empty ones cost minutes.
inline constexpr int maxJpegScans = 100;
// An SVG larger than this once inflated is no drawing of text.
inline constexpr qsizetype maxInflatedSvgBytes = qsizetype{32} << 20;

// True when a PNG chunk other than the picture data claims to run past the end of the
// bytes: libpng allocates a chunk whole before it reads it.
bool pngChunkOverruns(const QByteArray& bytes);
// The JPEG's scan markers.
int jpegScans(const QByteArray& bytes);
// True for gzip data, the form of an SVGZ.
bool isGzip(const QByteArray& bytes);
enum class InflateError { damaged, tooLarge };
// The bytes inflated, stopped as soon as they pass `cap`.
std::expected<QByteArray, InflateError> inflated(const QByteArray& gzip, qsizetype cap);

}  // namespace ZantrelText::PictureChecks
