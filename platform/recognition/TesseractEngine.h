#pragma once

// Loaded Tesseract engines. Loading the models takes longer than reading a screenful, so
// engines are made once per setting and lent out, one per concurrent recognition.

#include <QString>

#include <memory>
#include <mutex>
#include <stdexcept>
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

    explicit EnginePool(std::size_t maxIdle);
    static EnginePool& shared();

    // An idle engine with these settings, or a newly loaded one.
    Lease acquire(const EngineSettings& settings);
    // A newly loaded engine that never joins the pool.
    static Lease fresh(const EngineSettings& settings);

    std::size_t idleCount() const;
    void clear();

private:
    void giveBack(std::unique_ptr<TesseractEngine> engine);

    mutable std::mutex mutex_;
    std::size_t maxIdle_;
    std::vector<std::unique_ptr<TesseractEngine>> idle_;
};

}  // namespace Platform::Recognition
