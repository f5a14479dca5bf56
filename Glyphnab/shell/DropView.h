#pragma once

// Which dropped files the app takes: local files that are pictures or PDFs, by type, in
// drop order. Linux trays carry no drops, so only this decision is kept; the file manager's
// "Open With" and "Text from File…" reach the same reading.

#include <QList>
#include <QUrl>

class QMimeData;

namespace Glyphnab::DropView {

// The accepted files among the URLs, in order; other files and anything that is not a
// local file are left out.
QList<QUrl> acceptedFiles(const QList<QUrl>& urls);
// The same for the file URLs a drag carries.
QList<QUrl> acceptedFiles(const QMimeData& data);

}  // namespace Glyphnab::DropView
