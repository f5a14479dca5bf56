#pragma once

// A picture of the whole desktop through the desktop portal's Screenshot interface, taken
// without the portal's own picker. The portal leaves the picture in a file; it is read and
// deleted at once, so no screenshot stays behind on disk.

#include <QDBusConnection>
#include <QImage>
#include <QString>
#include <QUrl>

#include <QCoroTask>

#include <chrono>
#include <expected>

namespace Platform::Portal {

inline constexpr auto screenshotInterface = "org.freedesktop.portal.Screenshot";

// `parentWindow` is the handle of the window the request comes from, in the portal's
// form ("x11:<hex id>", "wayland:<handle>"), or empty when no window of the app shows.
QCoro::Task<std::expected<QImage, QString>> screenshot(QDBusConnection bus, QString parentWindow,
                                                       std::chrono::nanoseconds limit);

// The picture a successful answer points at, read and then deleted. Only local files are
// read; the file is removed whether it decodes or not.
std::expected<QImage, QString> takePicture(const QUrl& uri);

// What an answer other than success means, as a sentence.
QString refusalText(uint code);

}  // namespace Platform::Portal
