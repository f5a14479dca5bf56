#include "Glyphnab/model/GrabRoads.h"

#include "platform/async/Clock.h"

#include <QCoreApplication>

#include <coroutine>
#include <exception>
#include <memory>
#include <optional>
#include <stop_token>

namespace Glyphnab::GrabRoads {
namespace {

// The race between a capture and the clock; whichever ends first resumes the waiter.
struct Race {
    std::optional<QImage> picture;
    std::exception_ptr error;
    bool decided = false;
    std::coroutine_handle<> waiter;
    std::stop_source timer;

    void decide() {
        if (decided)
            return;
        decided = true;
        timer.request_stop();
        if (waiter) {
            const std::coroutine_handle<> handle = waiter;
            QMetaObject::invokeMethod(QCoreApplication::instance(), [handle] { handle.resume(); },
                                      Qt::QueuedConnection);
        }
    }
};

struct RaceAwaiter {
    std::shared_ptr<Race> race;
    bool await_ready() const noexcept { return race->decided; }
    void await_suspend(std::coroutine_handle<> handle) { race->waiter = handle; }
    void await_resume() const noexcept {}
};

QCoro::Task<void> runCapture(QCoro::Task<QImage> capture, std::shared_ptr<Race> race) {
    try {
        QImage picture = co_await capture;
        if (!race->decided)
            race->picture = std::move(picture);
    } catch (...) {
        if (!race->decided)
            race->error = std::current_exception();
    }
    race->decide();
}

QCoro::Task<void> runTimer(Platform::Clock& clock, std::chrono::nanoseconds limit, std::shared_ptr<Race> race) {
    const bool slept = co_await clock.sleep(limit, race->timer.get_token());
    if (slept && !race->decided) {
        race->error = std::make_exception_ptr(CaptureTimedOut());
        race->decide();
    }
}

}  // namespace

CaptureTimedOut::CaptureTimedOut() : std::runtime_error("the screen did not answer in time") {}

QCoro::Task<QImage> captureWithin(QCoro::Task<QImage> capture, Platform::Clock& clock,
                                  std::chrono::nanoseconds limit) {
    auto race = std::make_shared<Race>();
    runTimer(clock, limit, race);
    runCapture(std::move(capture), race);
    RaceAwaiter awaiter{race};
    co_await awaiter;
    if (race->error)
        std::rethrow_exception(race->error);
    co_return std::move(*race->picture);
}

QString logName(const GlyphnabCore::Outcome::Kind& kind) {
    using Kind = GlyphnabCore::Outcome::Kind;
    if (const auto* table = kind.as<Kind::Table>())
        return QStringLiteral("table(rows: %1, columns: %2)").arg(table->rows).arg(table->columns);
    if (const auto* code = kind.as<Kind::Code>())
        return QStringLiteral("code(\"%1\")").arg(code->name);
    if (const auto* codes = kind.as<Kind::Codes>())
        return QStringLiteral("codes(%1)").arg(codes->count);
    if (kind.is<Kind::Text>())
        return QStringLiteral("text");
    return QStringLiteral("nothing");
}

}  // namespace Glyphnab::GrabRoads
