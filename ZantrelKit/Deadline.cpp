#include "ZantrelKit/Deadline.h"

#include <QCoreApplication>

#include <cmath>
#include <deque>

namespace ZantrelKit::Deadline {

struct Pool::Line {
    int width = 1;
    std::mutex lock;
    std::condition_variable idle;
    std::deque<std::function<void()>> jobs;
    int running = 0;  // workers alive, at most `width`
};

namespace {

// One worker: takes jobs until the line is empty, then ends.
void work(const std::shared_ptr<Pool::Line>& line) {
    std::unique_lock guard(line->lock);
    while (!line->jobs.empty()) {
        std::function<void()> job = std::move(line->jobs.front());
        line->jobs.pop_front();
        guard.unlock();
        job();
        job = nullptr;  // the job's captures end before the next one starts
        guard.lock();
    }
    --line->running;
    line->idle.notify_all();
}

}  // namespace

Pool::Pool(int width) : line_(std::make_shared<Line>()) { line_->width = width < 1 ? 1 : width; }

int Pool::width() const { return line_->width; }

void Pool::enqueue(std::function<void()> job) {
    bool startWorker = false;
    {
        const std::lock_guard guard(line_->lock);
        line_->jobs.push_back(std::move(job));
        if (line_->running < line_->width) {
            ++line_->running;
            startWorker = true;
        }
    }
    if (!startWorker)
        return;
    try {
        std::thread([line = line_] { work(line); }).detach();
    } catch (...) {
        // No thread to be had: the job waits for the next worker.
        const std::lock_guard guard(line_->lock);
        --line_->running;
        throw;
    }
}

bool Pool::waitForIdle(std::chrono::milliseconds timeout) {
    std::unique_lock guard(line_->lock);
    return line_->idle.wait_for(guard, timeout, [this] { return line_->running == 0 && line_->jobs.empty(); });
}

namespace detail {

std::chrono::nanoseconds limit(double seconds) {
    constexpr double longest = 1e9;  // about thirty years
    if (!(seconds > 0))
        return std::chrono::nanoseconds::zero();
    return std::chrono::nanoseconds(static_cast<std::int64_t>(std::min(seconds, longest) * 1e9));
}

void resumeOnMain(std::coroutine_handle<> handle) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [handle] { handle.resume(); }, Qt::QueuedConnection);
}

void startThread(std::function<void()> job) { std::thread(std::move(job)).detach(); }

}  // namespace detail

}  // namespace ZantrelKit::Deadline
