#pragma once

// Loaded Tesseract engines. Loading the models takes longer than reading a screenful, so
// engines are kept once loaded and lent out, one per concurrent recognition.

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <thread>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace Platform::Recognition {

// A recognizer that cannot start or cannot read (missing language data, a broken picture).
struct RecognitionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct EngineSettings {
    // Tesseract's language string, for instance "eng" or "eng+deu".
    QString languages;
    // The word lists that steer the recognizer towards dictionary words.
    bool dictionaries = true;

    friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

class TesseractEngine {
public:
    // Throws RecognitionError when the models cannot be loaded.
    explicit TesseractEngine(const EngineSettings& settings);
    ~TesseractEngine();
    TesseractEngine(const TesseractEngine&) = delete;
    TesseractEngine& operator=(const TesseractEngine&) = delete;

    const EngineSettings& settings() const { return settings_; }
    tesseract::TessBaseAPI& api() { return *api_; }

private:
    EngineSettings settings_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
};

// Engines are loaded as readings need them, one at a time (models loaded side by side
// each hold their file and parse buffers at once), and go back after a rest, so a tray
// app that is not reading holds little more than the engines its next grab starts on.
class EnginePool {
public:
    // An engine on loan; it goes back to the pool when the lease ends.
    class Lease {
    public:
        Lease(EnginePool* pool, std::unique_ptr<TesseractEngine> engine)
            : pool_(pool), engine_(std::move(engine)) {}
        Lease(Lease&&) noexcept = default;
        Lease& operator=(Lease&&) noexcept = default;
        ~Lease();

        TesseractEngine& operator*() const { return *engine_; }
        TesseractEngine* operator->() const { return engine_.get(); }

    private:
        EnginePool* pool_;
        std::unique_ptr<TesseractEngine> engine_;
    };

    struct Limits {
        // Engines of one setting, lent and idle together.
        std::size_t perSettings = 4;
        // Idle engines of all settings; the least recently used goes first past it.
        std::size_t maxIdle = 6;
        // How long an idle engine waits unused before it is given back...
        std::chrono::milliseconds rest{60'000};
        // ...except for the most recently used ones, which a rest leaves loaded.
        std::size_t kept = 1;
    };

    explicit EnginePool(Limits limits);
    ~EnginePool();
    EnginePool(const EnginePool&) = delete;
    EnginePool& operator=(const EnginePool&) = delete;

    static EnginePool& shared();

    // An idle engine with these settings; else a newly loaded one while the setting has
    // room and no other engine is loading; else the next one given back. Throws
    // RecognitionError when the models cannot be loaded and CancellationError on a stop.
    Lease acquire(const EngineSettings& settings, std::stop_token stop = {});
    // A newly loaded engine that never joins the pool.
    static Lease fresh(const EngineSettings& settings);

    std::size_t idleCount() const;
    // Engines of the pool, idle and lent.
    std::size_t loadedCount() const;
    void clear();

private:
    using Clock = std::chrono::steady_clock;
    struct Idle {
        std::unique_ptr<TesseractEngine> engine;
        Clock::time_point since;
    };

    void giveBack(std::unique_ptr<TesseractEngine> engine);
    void notifyLocked();
    std::size_t countOf(const EngineSettings& settings) const;  // under the lock
    // Gives back engines at rest until the pool is stopped.
    void rest(std::stop_token stop);

    Limits limits_;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    bool loading_ = false;
    std::uint64_t generation_ = 0;  // counts changes that a waiting reader looks at again
    std::vector<Idle> idle_;  // least recently used first
    std::vector<EngineSettings> lent_;
    // When an engine last came back, until the rest after it is over.
    std::optional<Clock::time_point> lastReturn_;
    std::jthread resting_;
};

}  // namespace Platform::Recognition
