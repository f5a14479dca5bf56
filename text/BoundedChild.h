#pragma once

// Work on untrusted bytes runs in a forked child: a decoder cannot be interrupted, and
// input built to loop or to inflate would otherwise hang the caller or take its memory.
// The child gets an address-space cap and a CPU limit, and is killed when the wall-time
// budget runs out; the caller learns which way it ended.

#include <QImage>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace ZantrelText::BoundedChild {

struct Limits {
    std::chrono::milliseconds time{15'000};
    // What the child may map beyond what it shares with the caller.
    std::int64_t memoryBytes = std::int64_t{640} << 20;
};

enum class Ending {
    answered,  // the child said all it had to say
    tooLong,   // the time ran out
    failed,    // the child died on the way: out of memory, or a fault in the decoder
};

// The child's end of the pipe: plain writes, nothing that could wait on a lock another
// thread of the parent held when it forked. A parent that is gone ends the child.
class Sender {
public:
    explicit Sender(int fd) : fd_(fd) {}
    void bytes(const void* data, std::size_t size) const;
    void number(std::int32_t value) const { bytes(&value, sizeof value); }
    // Any format, sent as 32-bit rows, a row at a time so that no conversion of the
    // whole picture waits on a thread pool that has no threads in the child.
    void picture(const QImage& picture) const;

private:
    int fd_;
};

// The parent's end: every read gives up at the deadline, or when the child is gone.
class Receiver {
public:
    Receiver(int fd, int child, std::chrono::steady_clock::time_point deadline)
        : fd_(fd), child_(child), deadline_(deadline) {}

    bool bytes(void* data, std::size_t size);
    bool number(std::int32_t& value) { return bytes(&value, sizeof value); }
    // A picture sent by Sender::picture, refused when it claims more than `maxPixels`.
    std::optional<QImage> picture(std::int64_t maxPixels);
    bool timedOut() const { return timedOut_; }
    // Whether the child has sent anything yet.
    bool heard() const { return heard_; }

private:
    bool childGone() const;

    int fd_;
    int child_;
    std::chrono::steady_clock::time_point deadline_;
    bool timedOut_ = false;
    bool heard_ = false;
};

// While closing, every child is killed at once, and a new one as soon as it is made: a
// process that quits waits on no decoder's budget. Any thread.
void setClosing(bool closing);

// Runs `work` in a child under the limits while `receive` reads what it sends;
// `receive` returns true once the answer is whole. Blocks the calling thread up to the
// time limit; any thread. A forked child can wait forever on a lock another thread held
// at the fork: one that sleeps through its time without a word is started once more.
Ending run(const Limits& limits, const std::function<void(const Sender&)>& work,
           const std::function<bool(Receiver&)>& receive);

}  // namespace ZantrelText::BoundedChild
