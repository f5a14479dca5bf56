#pragma once

// A model over recording platform calls for the window tests: the Screen Recording answer
// is a field, the clock moves only when told, asks, relaunches, opened links and beeps are
// counted, and the hot keys are a registrar of the test's own.

#include "Glyphnab/model/GlyphnabModel.h"

#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "platform/async/Clock.h"
#include "platform/pasteboard/Pasteboard.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

namespace WindowTest {

inline void settle() {
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

inline void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
    QCoreApplication::sendEvent(target, &override);
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

class CountingService final : public Platform::HotKeyService {
public:
    void installHandler(Pressed) override {}
    Platform::HotKeyStatus registerKey(std::uint16_t, std::uint32_t, std::uint32_t id) override {
        live.insert(id);
        return Platform::HotKeyStatus::registered;
    }
    void unregisterKey(std::uint32_t id) override { live.erase(id); }
    std::set<std::uint32_t> live;
};

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture()
        : clock(false),
          context(QStringLiteral("org.glyphnab.windowtest"), ZantrelKit::AccentPair::glyphnab,
                  ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}),
                  {}) {
        forgetState();
        auto service = std::make_unique<CountingService>();
        hotKeyService = service.get();
        hotKeys = std::make_unique<ZantrelUI::HotKeys>(std::move(service));
        ZantrelUI::ShortcutField::setBeep([this] { ++beeps; });
    }
    ~WindowFixture() override {
        ZantrelUI::ShortcutField::setBeep({});
        model.reset();
        forgetState();
    }

    // The test process shares one defaults store: every test starts and ends without the
    // keys the windows write.
    void forgetState() {
        for (const char* key : {"preferences", "screenRecording.asked", "onboarding.step", "grant.screenRecording.seen"})
            context.defaults().remove(QString::fromLatin1(key));
    }

    Glyphnab::GlyphnabModel& makeModel() {
        using namespace Glyphnab;
        ZantrelUI::MacCalls mac(
            false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [this] { ++quits; },
            [this](const QUrl& url) { opened.append(url); }, [](const QList<QUrl>&) {},
            [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
            [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
            std::make_shared<Platform::MemoryPasteboard>());
        PictureSource pictures{[this] { return allowed; },
                               [](QColor, QString) -> QCoro::Task<std::optional<QRectF>> { co_return std::nullopt; },
                               [](QRectF) -> QCoro::Task<QImage> { co_return QImage(); }, [] {}};
        SystemCalls system{std::move(mac), [this] {
                               ++asks;
                               if (onAsk)
                                   onAsk();
                           }, [this] { ++relaunches; }, [this] { ++modelBeeps; }};
        auto reader = [this](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
            ++reads;
            co_return ZantrelText::Reading();
        };
        auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
        model = std::make_unique<GlyphnabModel>(
            context, board, std::move(pictures), std::move(system), reader, warmer,
            ModelAmbient{&clock, [] { return QStringList{"en-Latn-US"}; }, [] { return QStringList{"en-US"}; }});
        return *model;
    }

    // Lets the model's once-a-second check see the current answer.
    void tick() {
        clock.advance(std::chrono::seconds(1));
        settle();
    }

    Platform::ManualClock clock;
    ZantrelUI::AppContext context;
    std::shared_ptr<Platform::MemoryPasteboard> board = std::make_shared<Platform::MemoryPasteboard>();
    CountingService* hotKeyService = nullptr;
    std::unique_ptr<ZantrelUI::HotKeys> hotKeys;
    std::unique_ptr<Glyphnab::GlyphnabModel> model;
    bool allowed = false;
    // Runs inside the system's permission request.
    std::function<void()> onAsk;
    QList<QUrl> opened;
    int asks = 0, relaunches = 0, quits = 0, modelBeeps = 0, reads = 0, beeps = 0;
};

}  // namespace WindowTest
