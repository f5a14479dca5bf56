#include "platform/recognition/TesseractEngine.h"

#include "platform/recognition/TesseractLanguages.h"

#include <QThread>

#include <tesseract/baseapi.h>

#include <algorithm>
#include <mutex>

namespace Platform::Recognition {

TesseractEngine::TesseractEngine(const EngineSettings& settings)
    : settings_(settings), api_(std::make_unique<tesseract::TessBaseAPI>()) {
    // Tesseract's chatter goes to a process-wide file; the setting is shared by all
    // engines, so it is made once, before any engine loads.
    static std::once_flag quiet;
    std::call_once(quiet, [this] { api_->SetVariable("debug_file", "/dev/null"); });
    // Word lists can only be chosen while the models load.
    std::vector<std::string> names{"load_system_dawg", "load_freq_dawg"};
    const std::string value = settings.dictionaries ? "1" : "0";
    std::vector<std::string> values{value, value};
    const QByteArray folder = tessdataFolder().toLocal8Bit();
    const QByteArray languages = settings.languages.toUtf8();
    if (api_->Init(folder.constData(), languages.constData(), tesseract::OEM_LSTM_ONLY, nullptr, 0, &names,
                   &values, false) != 0) {
        api_.reset();
        throw RecognitionError("cannot load the recognition languages \"" + languages.toStdString() + "\"");
    }
    api_->SetPageSegMode(tesseract::PSM_AUTO);
    // Pictures come in with dark text on a light ground already (the reader inverts dark
    // ones first), so Tesseract's inverted second try of doubtful lines costs nothing
    // measurable on them; it still rescues a light-on-dark panel beside light content.
    api_->SetVariable("tessedit_do_invert", "1");
    // Screens hold no vertical text, but a column of list markers or numbers looks like
    // some to the page layout, which then reads it as one garbled line across the items.
    api_->SetVariable("textord_tabfind_vertical_text", "0");
}

TesseractEngine::~TesseractEngine() {
    if (api_)
        api_->End();
}

EnginePool::Lease::~Lease() {
    if (pool_ != nullptr && engine_)
        pool_->giveBack(std::move(engine_));
}

EnginePool::EnginePool(std::size_t maxIdle) : maxIdle_(maxIdle) {}

EnginePool& EnginePool::shared() {
    // Lives for the process: freeing loaded models at exit costs a command tens of
    // milliseconds that the system's own clean-up does not.
    static EnginePool* pool = new EnginePool(static_cast<std::size_t>(std::max(2, QThread::idealThreadCount())) + 2);
    return *pool;
}

EnginePool::Lease EnginePool::acquire(const EngineSettings& settings) {
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(idle_.begin(), idle_.end(),
                                        [&](const auto& engine) { return engine->settings() == settings; });
        if (found != idle_.end()) {
            auto engine = std::move(*found);
            idle_.erase(found);
            return Lease(this, std::move(engine));
        }
    }
    // Loading happens outside the lock: other readers keep borrowing meanwhile.
    return Lease(this, std::make_unique<TesseractEngine>(settings));
}

EnginePool::Lease EnginePool::fresh(const EngineSettings& settings) {
    return Lease(nullptr, std::make_unique<TesseractEngine>(settings));
}

std::size_t EnginePool::idleCount() const {
    const std::lock_guard lock(mutex_);
    return idle_.size();
}

void EnginePool::clear() {
    std::vector<std::unique_ptr<TesseractEngine>> dropped;
    const std::lock_guard lock(mutex_);
    dropped.swap(idle_);
}

void EnginePool::giveBack(std::unique_ptr<TesseractEngine> engine) {
    engine->api().Clear();
    const std::lock_guard lock(mutex_);
    if (idle_.size() >= maxIdle_)
        idle_.erase(idle_.begin());  // the oldest setting goes first
    idle_.push_back(std::move(engine));
}

}  // namespace Platform::Recognition
