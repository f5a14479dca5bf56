// The pool of loaded recognizer engines: loaded as readers need them, one at a time, and
// given back after a rest.

#include "platform/async/Cancellation.h"
#include "platform/recognition/TesseractEngine.h"

#include <QElapsedTimer>
#include <QImage>

#include <tesseract/baseapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

using namespace Platform::Recognition;
using namespace std::chrono_literals;

namespace {

const EngineSettings english{QStringLiteral("eng"), false};

EnginePool::Limits limits(std::size_t perSettings, std::chrono::milliseconds rest = 1h) {
    return {.perSettings = perSettings, .maxIdle = perSettings + 1, .rest = rest, .kept = 1};
}

// Polls a condition that another thread makes true; generous for a busy machine.
bool eventually(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 30'000)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

TEST(EnginePool, LoadsAnEngineOnlyWhenNoIdleOneFits) {
    EnginePool pool(limits(3));
    EXPECT_EQ(pool.loadedCount(), 0u);
    { const EnginePool::Lease first = pool.acquire(english); }
    { const EnginePool::Lease again = pool.acquire(english); }
    EXPECT_EQ(pool.loadedCount(), 1u);
    {
        const EnginePool::Lease one = pool.acquire(english);
        const EnginePool::Lease two = pool.acquire(english);
        EXPECT_EQ(pool.loadedCount(), 2u);
    }
    EXPECT_EQ(pool.idleCount(), 2u);
    // A model that cannot load leaves the pool able to load the next one.
    EXPECT_THROW(pool.acquire({QStringLiteral("tlh"), false}), RecognitionError);
    const EnginePool::Lease one = pool.acquire(english);
    const EnginePool::Lease two = pool.acquire(english);
    const EnginePool::Lease three = pool.acquire(english);
    EXPECT_EQ(pool.loadedCount(), 3u);
}

TEST(EnginePool, ReadersWaitForAnEngineWhileAnotherLoads) {
    EnginePool pool(limits(8));
    std::optional<EnginePool::Lease> held(pool.acquire(english));
    // Readers at once: one loads, the others take whichever engine is free first rather
    // than each loading a model of its own.
    constexpr std::size_t count = 6;
    std::vector<std::future<void>> readers;
    for (std::size_t i = 0; i < count; ++i)
        readers.push_back(std::async(std::launch::async, [&pool] { const EnginePool::Lease lease = pool.acquire(english); }));
    held.reset();
    for (auto& reader : readers)
        reader.get();
    EXPECT_LT(pool.loadedCount(), 1 + count);
}

TEST(EnginePool, AReaderWaitingForAFullSettingEndsOnAStop) {
    EnginePool pool(limits(1));
    const EnginePool::Lease held = pool.acquire(english);
    std::stop_source stop;
    auto waiting = std::async(std::launch::async, [&] { return pool.acquire(english, stop.get_token()); });
    stop.request_stop();
    EXPECT_THROW(waiting.get(), Platform::CancellationError);
    EXPECT_EQ(pool.loadedCount(), 1u);
}

TEST(EnginePool, GivesBackEnginesAtRestButTheLastUsed) {
    EnginePool pool(limits(3, 200ms));
    {
        const EnginePool::Lease one = pool.acquire(english);
        const EnginePool::Lease two = pool.acquire(english);
        const EnginePool::Lease three = pool.acquire(english);
        ASSERT_EQ(pool.loadedCount(), 3u);
    }
    ASSERT_TRUE(eventually([&] { return pool.loadedCount() == 1u; }));
    // The kept one serves the next reading without a load.
    { const EnginePool::Lease next = pool.acquire(english); }
    EXPECT_EQ(pool.loadedCount(), 1u);
}

TEST(EnginePool, ReadingWhileEnginesAreGivenBackIsSafe) {
    EnginePool pool(limits(3, 1ms));
    QImage line(200, 40, QImage::Format_Grayscale8);
    line.fill(255);
    std::atomic<int> readings = 0;
    std::vector<std::future<void>> readers;
    for (int i = 0; i < 4; ++i) {
        readers.push_back(std::async(std::launch::async, [&] {
            for (int round = 0; round < 6; ++round) {
                const EnginePool::Lease lease = pool.acquire(english);
                tesseract::TessBaseAPI& api = lease->api();
                api.SetImage(line.constBits(), line.width(), line.height(), 1, static_cast<int>(line.bytesPerLine()));
                if (api.Recognize(nullptr) == 0)
                    ++readings;
                EXPECT_LE(pool.loadedCount(), 3u);
            }
        }));
    }
    for (auto& reader : readers)
        reader.get();
    EXPECT_EQ(readings, 24);
    EXPECT_TRUE(eventually([&] { return pool.loadedCount() == 1u; }));
}

}  // namespace
