#include "text/WarmUp.h"

#include "platform/async/Clock.h"

#include <QCoroTask>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ZantrelText;
using namespace std::chrono_literals;

namespace {

// Records the requests in order; `failing` ones throw.
struct Recorder {
    QStringList calls;
    QStringList failing;
    std::vector<QSize> sizes;

    void note(const QString& name, const QImage& image) {
        calls.append(name);
        sizes.push_back(image.size());
        if (failing.contains(name))
            throw std::runtime_error("request failed");
    }

    WarmUpRequests requests() {
        WarmUpRequests result;
        result.text = [this](QImage image, ReadOptions,
                             std::stop_token) -> QCoro::Task<Platform::Recognition::RecognizeTextRequest::Result> {
            note("text", image);
            co_return {};
        };
        result.documents = [this](QImage image,
                                  std::stop_token) -> QCoro::Task<Platform::Recognition::RecognizeDocumentsRequest::Result> {
            note("documents", image);
            co_return {};
        };
        result.barcodes = [this](QImage image,
                                 std::stop_token) -> QCoro::Task<Platform::Recognition::DetectBarcodesRequest::Result> {
            note("barcodes", image);
            co_return {};
        };
        return result;
    }
};

ReadOptions options(bool tables) {
    ReadOptions result;
    result.tables = tables;
    return result;
}

}  // namespace

TEST(WarmUp, MakesTheRequestsOfAReadingInOrderAfterTheDelay) {
    Platform::ManualClock clock;
    Platform::ScopedClock installed(clock);
    Recorder recorder;
    QCoro::waitFor(TextReader::warmUp(options(true), TextReader::warmUpDelay, recorder.requests()));
    EXPECT_EQ(clock.now(), 45s);
    EXPECT_EQ(recorder.calls, (QStringList{"text", "documents", "barcodes"}));
    for (const QSize& size : recorder.sizes)
        EXPECT_EQ(size, QSize(740, 300));
}

TEST(WarmUp, TablesOffMakesNoDocumentRequestAndZeroDelayStartsAtOnce) {
    Platform::ManualClock clock(false);  // a sleep would never end
    Platform::ScopedClock installed(clock);
    Recorder recorder;
    QCoro::waitFor(TextReader::warmUp(options(false), 0s, recorder.requests()));
    EXPECT_EQ(recorder.calls, (QStringList{"text", "barcodes"}));
    EXPECT_EQ(clock.sleeperCount(), 0u);
}

TEST(WarmUp, RequestErrorsAreSwallowed) {
    Recorder recorder;
    recorder.failing = {"text", "documents"};
    EXPECT_NO_THROW(QCoro::waitFor(TextReader::warmUp(options(true), 0s, recorder.requests())));
    EXPECT_EQ(recorder.calls, (QStringList{"text", "documents", "barcodes"}));
}

TEST(WarmUp, StoppedWarmUpMakesNoRequests) {
    Platform::ManualClock clock(false);
    Platform::ScopedClock installed(clock);
    Recorder recorder;
    std::stop_source stop;
    auto warming = TextReader::warmUp(options(true), TextReader::warmUpDelay, recorder.requests(), stop.get_token());
    stop.request_stop();  // during the sleep
    QCoro::waitFor(warming);
    EXPECT_TRUE(recorder.calls.isEmpty());
}

TEST(WarmUp, PictureIsASmallBlackOnWhiteTable) {
    const std::optional<QImage> picture = TextReader::warmUpPicture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->size(), QSize(740, 300));
    EXPECT_FALSE(picture->hasAlphaChannel());
    // Ink only where the three columns' text runs: x from 40 px, the first baseline 72 px
    // from the top.
    auto darkIn = [&](QRect area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(picture->pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(darkIn(QRect(40, 45, 80, 27)), 50);   // "Item"
    EXPECT_GT(darkIn(QRect(260, 45, 60, 27)), 30);  // "Qty"
    EXPECT_EQ(darkIn(QRect(0, 0, 740, 40)), 0);
    EXPECT_EQ(darkIn(QRect(0, 0, 38, 300)), 0);
}
