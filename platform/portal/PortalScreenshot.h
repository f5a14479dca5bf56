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
#include <stop_token>

namespace Platform::Portal {

inline constexpr auto screenshotInterface = "org.freedesktop.portal.Screenshot";

struct ScreenshotFailure {
    enum class Kind {
        refused,     // the desktop said no (its prompt, or a failure of its own)
        unanswered,  // no answer within the limit
        unsaved,     // an answer without a picture that can be read
        cancelled,   // the caller stopped waiting
    };
    Kind kind;
    QString message;  // a sentence for the log and the command line
};

// `parentWindow` is the handle of the window the request comes from, in the portal's
// form ("x11:<hex id>", "wayland:<handle>"), or empty when no window of the app shows.
// The user's pictures folder is made first: some desktops fail without it. A stop closes
// the request; a picture that comes after the limit is deleted unread.
QCoro::Task<std::expected<QImage, ScreenshotFailure>> screenshot(QDBusConnection bus, QString parentWindow,
                                                                 std::chrono::nanoseconds limit,
                                                                 std::stop_token stop = {});

// The picture a successful answer points at, read and then deleted. Only local files are
// read; the file is removed whether it decodes or not.
std::expected<QImage, ScreenshotFailure> takePicture(const QUrl& uri);

}  // namespace Platform::Portal
