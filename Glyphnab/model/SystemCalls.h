#pragma once

// The model's platform operations: the user-interface calls of MacCalls, asking for
// Screen Recording, starting the app again, and the alert beep. The app passes the live
// value; tests build their own with a MacCalls whose isLive is false.

#include "ZantrelUI/context/MacCalls.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace Glyphnab {

// What a relaunch needs of the process. The shell fills `release` and `reclaim`: the
// running instance gives up its bus name and hot-key grabs before the new one starts, and
// takes them back when it could not be started.
struct Relaunch {
    QString program;
    // Without the program itself.
    QStringList arguments;
    std::function<void()> release;
    std::function<bool(const QString& program, const QStringList& arguments)> start;
    std::function<void()> reclaim;
    std::function<void()> quit;

    // This process's program and its options (not the files it was opened with),
    // QProcess::startDetached and a queued quit; the two hooks do nothing unless given.
    static Relaunch live(std::function<void()> release = {}, std::function<void()> reclaim = {});
    // The launch arguments (without the program) less the files: a relaunch for a
    // permission must not read them again and overwrite the clipboard.
    static QStringList options(const QStringList& arguments);

    // Starts the new instance and quits only when it started; true then.
    bool run() const;
};

struct SystemCalls {
    ZantrelUI::MacCalls mac;
    std::function<void()> askScreenRecording;
    std::function<void()> relaunch;
    std::function<void()> beep;

    // Refuses each of its own operations under the test host, as MacCalls::live does.
    static SystemCalls live(Relaunch relaunch);
};

}  // namespace Glyphnab
