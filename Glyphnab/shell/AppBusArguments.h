#pragma once

// What the D-Bus methods take from their callers, decoded without trusting them: URIs
// that must name local files, and the bytes of a picture or PDF with their MIME type.

#include "platform/pasteboard/Pasteboard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

namespace Glyphnab::AppBusArguments {

// A file URL, or an absolute path, as a local file; nothing for anything else.
std::optional<QUrl> localFile(const QString& uri);

// Every URI as a local file, or nothing when one is not.
std::optional<QList<QUrl>> localFiles(const QStringList& uris);

// The board a copy-text call describes: its files, and its data under the MIME type (a
// picture also decoded, within the reader's pixel budget); nothing when a URI is not a
// local file.
std::unique_ptr<Platform::MemoryPasteboard> copyTextBoard(const QStringList& uris, const QByteArray& bytes,
                                                          const QString& mimeType);

}  // namespace Glyphnab::AppBusArguments
