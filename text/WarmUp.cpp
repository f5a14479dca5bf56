#include "text/WarmUp.h"

#include "platform/async/Clock.h"
#include "text/DocumentPass.h"
#include "text/TextReader.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

namespace ZantrelText {

WarmUpRequests WarmUpRequests::live() {
    ReadPasses reading = ReadPasses::live();
    return {std::move(reading.text), DocumentPassRequests::live().documents, std::move(reading.barcodes)};
}

namespace TextReader {

namespace {

// Secondary work: whatever a request answers, the warm-up goes on.
template <class Start>
QCoro::Task<void> discarding(Start start) {
    try {
        co_await start();
    } catch (...) {
    }
}

}  // namespace

QCoro::Task<void> warmUp(ReadOptions options, std::chrono::nanoseconds after, std::stop_token stop) {
    co_await warmUp(std::move(options), after, WarmUpRequests::live(), stop);
}

QCoro::Task<void> warmUp(ReadOptions options, std::chrono::nanoseconds after, WarmUpRequests requests,
                         std::stop_token stop) {
    if (after > std::chrono::nanoseconds::zero())
        co_await Platform::Clock::shared().sleep(after, stop);
    // Warming up for an app that is going away would only hold it up.
    if (stop.stop_requested())
        co_return;
    const std::optional<QImage> picture = warmUpPicture();
    if (!picture)
        co_return;
    co_await discarding([&] { return requests.text(*picture, options, stop); });
    if (options.tables)
        co_await discarding([&] { return requests.documents(*picture, stop); });
    co_await discarding([&] { return requests.barcodes(*picture, stop); });
}

std::optional<QImage> warmUpPicture() {
    // Text needs the font database, which only a GUI application object has: a plain
    // QCoreApplication is an instance too, and drawing text there aborts.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return std::nullopt;
    QImage picture(740, 300, QImage::Format_RGB32);
    if (picture.isNull())
        return std::nullopt;
    picture.fill(Qt::white);
    QPainter painter(&picture);
    if (!painter.isActive())
        return std::nullopt;
    painter.scale(2, 2);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Qt::black);
    static const char* const cells[4][3] = {
        {"Item", "Qty", "Price"}, {"Apples", "12", "3.40"}, {"Pears", "40", "1.25"}, {"Plums", "200", "9.99"}};
    constexpr double canvasHeight = 150;
    for (int r = 1; r <= 4; ++r) {
        // Baselines 114, 84, 54 and 24 points above the bottom edge.
        const double baseline = canvasHeight - (144 - 30 * r);
        for (int c = 0; c < 3; ++c)
            painter.drawText(QPointF(20 + 110 * c, baseline), QString::fromLatin1(cells[r - 1][c]));
    }
    painter.end();
    return picture;
}

}  // namespace TextReader
}  // namespace ZantrelText
