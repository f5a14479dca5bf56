#include "ZantrelUI/desktop/FindBroadcast.h"

#include "platform/async/MainThread.h"

namespace ZantrelUI {

const QString& FindBroadcast::name() {
    static const QString value = QStringLiteral("zantrel.find");
    return value;
}

FindBroadcast& FindBroadcast::shared() {
    static FindBroadcast* broadcast = new FindBroadcast();  // lives as long as the process
    return *broadcast;
}

void FindBroadcast::post(QObject* window) {
    Platform::assertMain();
    Q_EMIT posted(window);
}

}  // namespace ZantrelUI
