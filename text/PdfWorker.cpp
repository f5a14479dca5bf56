#include "text/PdfWorker.h"

#include "text/ImageInput.h"

#include <QBuffer>
#include <QFile>
#include <QPdfDocument>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace ZantrelText::PdfWorker {

namespace {

using Clock = std::chrono::steady_clock;

// What the child sends: a header, then one record per page, then the end.
enum Header : std::int32_t { opened = 0, notOpened = 1, needsPassword = 2 };
enum Record : std::int32_t { textPage = 0, picturePage = 1, skippedPage = 2, finished = 3 };

// The child's side: plain writes, nothing that could wait on a lock the parent's other
// threads held when it was forked.
struct Writer {
    int fd;

    void bytes(const void* data, std::size_t size) const {
        const char* at = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t written = ::write(fd, at, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                ::_exit(3);  // the parent is gone
            at += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    void number(std::int32_t value) const { bytes(&value, sizeof value); }
};

// What the process has mapped for its data: the child's cap counts from there, since
// the pages it shares with the parent count against it too.
std::int64_t dataInUse() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmData:"))
            return line.mid(7).trimmed().split(' ').front().toLongLong() * 1024;
    return 0;
}

void capMemory([[maybe_unused]] std::int64_t limit) {
    // The sanitizers reserve their own address space and fail under a data cap.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    const rlimit cap{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    ::setrlimit(RLIMIT_DATA, &cap);
#endif
}

[[noreturn]] void child(int fd, const Source& source, const Limits& limits, bool countOnly, std::int64_t dataCap) {
    capMemory(dataCap);
    const Writer out{fd};
    QBuffer buffer;
    QPdfDocument document;
    QPdfDocument::Error error = QPdfDocument::Error::None;
    if (source.path.isEmpty()) {
        buffer.setData(source.bytes);
        buffer.open(QIODevice::ReadOnly);
        document.load(&buffer);
        error = document.error();
        if (error == QPdfDocument::Error::None && document.status() != QPdfDocument::Status::Ready)
            error = QPdfDocument::Error::InvalidFileFormat;
    } else {
        error = document.load(source.path);
    }
    if (error == QPdfDocument::Error::IncorrectPassword) {
        out.number(needsPassword);
        ::_exit(0);
    }
    if (error != QPdfDocument::Error::None) {
        out.number(notOpened);
        ::_exit(0);
    }
    const int count = document.pageCount();
    out.number(opened);
    out.number(count);
    if (countOnly)
        ::_exit(0);

    const int pages = std::clamp(count, 0, limits.pageLimit);
    const std::int64_t cap = pages > 0 ? std::min(limits.pagePixels, limits.documentPixels / pages) : 0;
    for (int page = 0; page < pages; ++page) {
        const std::optional<Input> input = ImageInput::pageInput(document, page, limits.renderScale, cap);
        if (!input) {
            out.number(skippedPage);
        } else if (const QString* text = input->string()) {
            const QByteArray utf8 = text->toUtf8();
            out.number(textPage);
            out.number(static_cast<std::int32_t>(utf8.size()));
            out.bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        } else {
            const QImage& picture = *input->image();
            out.number(picturePage);
            out.number(picture.width());
            out.number(picture.height());
            for (int y = 0; y < picture.height(); ++y)
                out.bytes(picture.constScanLine(y), static_cast<std::size_t>(picture.width()) * 4);
        }
    }
    out.number(finished);
    ::_exit(0);
}

// The parent's side: reads against the deadline, and notices a child that is gone.
class Reader {
public:
    Reader(int fd, pid_t child, Clock::time_point deadline) : fd_(fd), child_(child), deadline_(deadline) {}

    bool timedOut() const { return timedOut_; }

    bool bytes(void* data, std::size_t size) {
        char* at = static_cast<char*>(data);
        while (size > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
            if (left.count() <= 0) {
                timedOut_ = true;
                return false;
            }
            pollfd wanted{fd_, POLLIN, 0};
            const int ready = ::poll(&wanted, 1, static_cast<int>(std::min<long long>(left.count(), 200)));
            if (ready < 0 && errno != EINTR)
                return false;
            if (ready == 0 && childGone())
                return false;
            if (ready <= 0)
                continue;
            const ssize_t got = ::read(fd_, at, size);
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            // The end of the pipe, or a child that died: another child forked meanwhile
            // may hold the pipe open, so the child's state decides, not the pipe alone.
            if (got <= 0)
                return false;
            at += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }
    bool number(std::int32_t& value) { return bytes(&value, sizeof value); }

private:
    // Looked at without reaping it: the caller waits for it afterwards.
    bool childGone() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(child_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child_;
    }

    int fd_;
    pid_t child_;
    Clock::time_point deadline_;
    bool timedOut_ = false;
};

// `complete` tells whether the child said all it had to say.
Result receive(Reader& in, const Limits& limits, bool countOnly, bool& complete) {
    Result result;
    std::int32_t header = 0;
    if (!in.number(header))
        return result;
    if (header == needsPassword) {
        complete = true;
        result.ending = Ending::password;
        return result;
    }
    if (header == notOpened) {
        complete = true;
        return result;
    }
    std::int32_t count = 0;
    if (header != opened || !in.number(count) || count < 0)
        return result;
    result.pageCount = count;
    if (countOnly) {
        complete = true;
        result.ending = Ending::read;
        return result;
    }
    const int pages = std::min<int>(count, limits.pageLimit);
    for (int page = 0; page <= pages; ++page) {
        std::int32_t record = 0;
        if (!in.number(record))
            return result;
        if (record == finished) {
            complete = true;
            result.ending = Ending::read;
            return result;
        }
        if (record == textPage) {
            std::int32_t size = 0;
            if (!in.number(size) || size < 0 || size > (64 << 20))
                return result;
            QByteArray utf8(size, Qt::Uninitialized);
            if (!in.bytes(utf8.data(), static_cast<std::size_t>(size)))
                return result;
            result.inputs.append(Input::text(QString::fromUtf8(utf8)));
        } else if (record == picturePage) {
            std::int32_t width = 0;
            std::int32_t height = 0;
            if (!in.number(width) || !in.number(height) || width <= 0 || height <= 0 ||
                std::int64_t{width} * height > limits.pagePixels)
                return result;
            QImage picture(width, height, QImage::Format_RGB32);
            if (picture.isNull())
                return result;
            for (int y = 0; y < height; ++y)
                if (!in.bytes(picture.scanLine(y), static_cast<std::size_t>(width) * 4))
                    return result;
            result.inputs.append(Input::picture(std::move(picture)));
        } else if (record != skippedPage) {
            return result;
        }
    }
    return result;
}

}  // namespace

double scaleFor(double width, double height, double renderScale, std::int64_t pixelCap) {
    const double pixels = renderScale * width * renderScale * height;
    if (!(pixels > static_cast<double>(pixelCap)))
        return renderScale;
    return renderScale * std::sqrt(static_cast<double>(pixelCap) / pixels);
}

Result read(const Source& source, const Limits& limits, bool countOnly) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    const std::int64_t dataCap = dataInUse() + limits.memoryBytes;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return {};
    }
    if (pid == 0) {
        ::close(ends[0]);
        child(ends[1], source, limits, countOnly, dataCap);
    }
    ::close(ends[1]);
    Reader in(ends[0], pid, Clock::now() + limits.time);
    bool complete = false;
    Result result = receive(in, limits, countOnly, complete);
    ::close(ends[0]);
    // A child that said everything exits at once; one that did not is stopped.
    if (!complete) {
        ::kill(pid, SIGKILL);
        result.ending = in.timedOut() ? Ending::tooLong : Ending::failed;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return result;
}

}  // namespace ZantrelText::PdfWorker
