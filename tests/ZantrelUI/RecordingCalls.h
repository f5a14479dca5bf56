#pragma once

// Platform operations for view tests: every closure records what it was asked and touches
// nothing, so a view can be driven through its buttons under the test host.

#include "ZantrelUI/context/MacCalls.h"
#include "platform/pasteboard/Pasteboard.h"

#include <memory>
#include <vector>

namespace DesignTest {

struct CallLog {
    int quits = 0;
    QList<QUrl> opened;
};

inline std::shared_ptr<const ZantrelUI::MacCalls> recordingCalls(const std::shared_ptr<CallLog>& log) {
    return std::make_shared<const ZantrelUI::MacCalls>(
        false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [log] { ++log->quits; },
        [log](const QUrl& url) { log->opened << url; }, [](const QList<QUrl>&) {},
        [](const ZantrelUI::OpenAsk&) { return QList<QUrl>{}; },
        [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>{}; },
        std::make_shared<Platform::MemoryPasteboard>());
}

}  // namespace DesignTest
