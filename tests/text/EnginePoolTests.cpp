// The pool of loaded recognizer engines: loaded as readers need them, one at a time, and
// given back after a rest.

#include "platform/async/Cancellation.h"
#include "platform/recognition/ModelFile.h"
#include "platform/recognition/TesseractEngine.h"
#include "platform/recognition/TesseractLanguages.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
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

// The entries of a traineddata container by number, each as its bytes.
std::map<unsigned, QByteArray> entries(const QByteArray& model) {
    std::uint32_t count = 0;
    std::memcpy(&count, model.constData(), sizeof count);
    std::vector<std::int64_t> offsets(count);
    std::memcpy(offsets.data(), model.constData() + sizeof count, count * sizeof(std::int64_t));
    std::map<unsigned, QByteArray> found;
    for (unsigned i = 0; i < count; ++i) {
        if (offsets[i] < 0)
            continue;
        std::int64_t end = model.size();
        for (unsigned j = i + 1; j < count; ++j)
            if (offsets[j] >= 0) {
                end = offsets[j];
                break;
            }
        found[i] = model.mid(offsets[i], end - offsets[i]);
    }
    return found;
}

TEST(ModelFile, LeavesOutOneEntryAndKeepsTheOthersWhole) {
    QFile file(tessdataFolder() + QStringLiteral("/eng.traineddata"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto pruned = readModelWithout(file.fileName(), lstmWordListEntry);
    ASSERT_TRUE(pruned.has_value());
    std::map<unsigned, QByteArray> expected = entries(whole);
    ASSERT_TRUE(expected.count(lstmWordListEntry));
    expected.erase(lstmWordListEntry);
    EXPECT_EQ(entries(QByteArray(pruned->data(), static_cast<qsizetype>(pruned->size()))), expected);

    // A cut file or another kind of file is no container.
    QTemporaryDir folder;
    for (const QByteArray& bad : {whole.left(4000), QByteArray("PK\x03\x04 not a model at all")}) {
        QFile out(folder.filePath(QStringLiteral("bad.traineddata")));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bad);
        out.close();
        EXPECT_FALSE(readModelWithout(out.fileName(), lstmWordListEntry).has_value());
    }
}

// Whether the engine finds the words of a plain sentence in its word list.
bool readsWithWordList(TesseractEngine& engine) {
    QImage line(520, 60, QImage::Format_Grayscale8);
    line.fill(255);
    QPainter painter(&line);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    painter.setFont(font);
    painter.drawText(QPointF(10, 40), QStringLiteral("information about the system"));
    painter.end();
    tesseract::TessBaseAPI& api = engine.api();
    api.SetImage(line.constBits(), line.width(), line.height(), 1, static_cast<int>(line.bytesPerLine()));
    if (api.Recognize(nullptr) != 0)
        return false;
    bool found = false;
    std::unique_ptr<tesseract::ResultIterator> word(api.GetIterator());
    if (word) {
        do
            found = found || word->WordIsFromDictionary();
        while (word->Next(tesseract::RIL_WORD));
    }
    api.Clear();
    return found;
}

// The word list, loaded with the first engine that asks for it, is shared: engines of
// the same model after it read with it too, whatever they asked for.
TEST(ModelFile, EnginesAfterTheFirstReadWithItsWordList) {
    // A model file of its own, so that no other test has loaded its word list already.
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(tessdataFolder() + QStringLiteral("/eng.traineddata"),
                            folder.filePath(QStringLiteral("eng.traineddata"))));
    const QByteArray previous = qgetenv("TESSDATA_PREFIX");
    qputenv("TESSDATA_PREFIX", folder.path().toLocal8Bit());
    std::vector<std::unique_ptr<TesseractEngine>> engines;
    for (const bool dictionaries : {false, true, true, false})
        engines.push_back(std::make_unique<TesseractEngine>(EngineSettings{QStringLiteral("eng"), dictionaries}));
    if (previous.isNull())
        qunsetenv("TESSDATA_PREFIX");
    else
        qputenv("TESSDATA_PREFIX", previous);
    for (std::size_t i = 1; i < engines.size(); ++i)
        EXPECT_TRUE(readsWithWordList(*engines[i])) << "engine " << i;
}

}  // namespace
