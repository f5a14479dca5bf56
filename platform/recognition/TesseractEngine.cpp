#include "platform/recognition/TesseractEngine.h"

#include "platform/recognition/ModelFile.h"
#include "platform/recognition/TesseractLanguages.h"

#include <QFile>
#include <QThread>

#include <tesseract/baseapi.h>

#include "platform/async/Cancellation.h"

#include <malloc.h>

#include <algorithm>
#include <iterator>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace Platform::Recognition {
namespace {

// A model's memory goes back to the system only when the allocator lets it go; freed
// pages otherwise stay in the process, in the arenas of the threads that loaded it.
void returnFreedMemory() { malloc_trim(0); }

// Tesseract keeps a model's word list in a cache of its own, shared by the model's engines
// and kept for the life of the process. Once an engine has loaded it, the next ones are
// given the model without it: a Latin-script model's file is 90 MB, nearly all word list,
// and Tesseract holds a file twice over while it loads.
struct WordLists {
    std::mutex mutex;
    std::set<std::string> cached;  // model files whose word list Tesseract holds
};

WordLists& wordLists() {
    static WordLists lists;
    return lists;
}

// The model files given whole to the engine loading on this thread.
thread_local std::vector<std::string> givenWhole;

bool readModel(const char* path, std::vector<char>* data) {
    const std::string name(path);
    bool cached = false;
    {
        const std::lock_guard lock(wordLists().mutex);
        cached = wordLists().cached.count(name) > 0;
    }
    const QString file = QString::fromLocal8Bit(path);
    if (cached) {
        if (auto model = readModelWithout(file, lstmWordListEntry)) {
            *data = std::move(*model);
            return true;
        }
    }
    QFile whole(file);
    if (!whole.open(QIODevice::ReadOnly))
        return false;
    data->resize(static_cast<std::size_t>(whole.size()));
    if (whole.read(data->data(), whole.size()) != whole.size())
        return false;
    givenWhole.push_back(name);
    return true;
}

}  // namespace

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
    givenWhole.clear();
    bool loaded = api_->Init(folder.constData(), 0, languages.constData(), tesseract::OEM_LSTM_ONLY, nullptr, 0,
                             &names, &values, false, &readModel) == 0;
    // Only an engine that asked for word lists surely put them in Tesseract's cache; a
    // model without one there would read without it from then on.
    if (loaded && settings.dictionaries) {
        const std::lock_guard lock(wordLists().mutex);
        wordLists().cached.insert(givenWhole.begin(), givenWhole.end());
    }
    if (!loaded) {
        // Tesseract reads models packed in other ways too (a zip archive) from the file itself.
        api_ = std::make_unique<tesseract::TessBaseAPI>();
        loaded = api_->Init(folder.constData(), languages.constData(), tesseract::OEM_LSTM_ONLY, nullptr, 0, &names,
                            &values, false) == 0;
    }
    if (!loaded) {
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

EnginePool::EnginePool(Limits limits) : limits_(limits) {
    resting_ = std::jthread([this](std::stop_token stop) { rest(stop); });
}

EnginePool::~EnginePool() = default;

EnginePool& EnginePool::shared() {
    // Lives for the process: freeing loaded models at exit costs a command tens of
    // milliseconds that the system's own clean-up does not.
    static EnginePool* pool = [] {
        const auto threads = static_cast<std::size_t>(std::max(2, QThread::idealThreadCount()));
        // A few engines stay through a rest, as many as a grab of a screen region keeps
        // busy before the others load one by one.
        return new EnginePool({.perSettings = threads, .maxIdle = threads + 2, .rest = std::chrono::seconds(30),
                               .kept = std::min<std::size_t>(threads, 4)});
    }();
    return *pool;
}

std::size_t EnginePool::countOf(const EngineSettings& settings) const {
    const auto idle = std::count_if(idle_.begin(), idle_.end(),
                                    [&](const Idle& entry) { return entry.engine->settings() == settings; });
    return static_cast<std::size_t>(idle + std::count(lent_.begin(), lent_.end(), settings));
}

EnginePool::Lease EnginePool::acquire(const EngineSettings& settings, std::stop_token stop) {
    std::unique_lock lock(mutex_);
    for (;;) {
        checkCancellation(stop);
        // The most recently used one, so that the others age towards their rest.
        const auto found = std::find_if(idle_.rbegin(), idle_.rend(),
                                        [&](const Idle& entry) { return entry.engine->settings() == settings; });
        if (found != idle_.rend()) {
            std::unique_ptr<TesseractEngine> engine = std::move(found->engine);
            idle_.erase(std::next(found).base());
            lent_.push_back(settings);
            return Lease(this, std::move(engine));
        }
        if (!loading_ && countOf(settings) < limits_.perSettings)
            break;
        const std::uint64_t seen = generation_;
        changed_.wait(lock, stop, [&] { return generation_ != seen; });
    }
    loading_ = true;
    lock.unlock();
    std::unique_ptr<TesseractEngine> engine;
    try {
        engine = std::make_unique<TesseractEngine>(settings);
    } catch (...) {
        lock.lock();
        loading_ = false;
        notifyLocked();
        throw;
    }
    lock.lock();
    loading_ = false;
    lent_.push_back(settings);
    notifyLocked();
    return Lease(this, std::move(engine));
}

EnginePool::Lease EnginePool::fresh(const EngineSettings& settings) {
    return Lease(nullptr, std::make_unique<TesseractEngine>(settings));
}

std::size_t EnginePool::idleCount() const {
    const std::lock_guard lock(mutex_);
    return idle_.size();
}

std::size_t EnginePool::loadedCount() const {
    const std::lock_guard lock(mutex_);
    return idle_.size() + lent_.size();
}

void EnginePool::clear() {
    std::vector<Idle> dropped;
    {
        const std::lock_guard lock(mutex_);
        dropped.swap(idle_);
        notifyLocked();
    }
    dropped.clear();
    returnFreedMemory();
}

void EnginePool::notifyLocked() {
    ++generation_;
    changed_.notify_all();
}

void EnginePool::giveBack(std::unique_ptr<TesseractEngine> engine) {
    engine->api().Clear();
    std::optional<Idle> dropped;
    {
        const std::lock_guard lock(mutex_);
        if (const auto at = std::find(lent_.begin(), lent_.end(), engine->settings()); at != lent_.end())
            lent_.erase(at);
        idle_.push_back({std::move(engine), Clock::now()});
        lastReturn_ = idle_.back().since;
        if (idle_.size() > limits_.maxIdle) {
            dropped = std::move(idle_.front());
            idle_.erase(idle_.begin());
        }
        notifyLocked();
    }
}

void EnginePool::rest(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        if (!lastReturn_) {
            // Nothing came back since the last rest: sleep until an engine does, without a timer.
            const std::uint64_t seen = generation_;
            changed_.wait(lock, stop, [&] { return generation_ != seen; });
            continue;
        }
        // Engines past the kept ones go after their rest; the memory readings freed goes
        // back to the system once the last engine returned has rested too.
        const bool surplus = idle_.size() > limits_.kept;
        const Clock::time_point due = (surplus ? idle_.front().since : *lastReturn_) + limits_.rest;
        if (Clock::now() < due) {
            changed_.wait_until(lock, stop, due, [] { return false; });
            continue;
        }
        std::vector<Idle> dropped;
        while (idle_.size() > limits_.kept && idle_.front().since + limits_.rest <= Clock::now()) {
            dropped.push_back(std::move(idle_.front()));
            idle_.erase(idle_.begin());
        }
        if (idle_.size() <= limits_.kept && *lastReturn_ + limits_.rest <= Clock::now())
            lastReturn_.reset();
        notifyLocked();
        lock.unlock();
        dropped.clear();
        returnFreedMemory();
        lock.lock();
    }
}

}  // namespace Platform::Recognition
