#include "platform/async/MainThread.h"

#include "platform/log/Log.h"

#include <QCoreApplication>
#include <QThread>

namespace Platform {

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void assertMain(std::source_location where) {
    if (!isMainThread())
        fatal(QStringLiteral("%1 must run on the main thread").arg(QString::fromUtf8(where.function_name())));
}

}  // namespace Platform
