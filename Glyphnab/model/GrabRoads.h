#pragma once

// Pieces of the grab roads that stand on their own.

#include "GlyphnabCore/Outcome.h"

#include <QCoroTask>
#include <QImage>
#include <QString>

#include <chrono>
#include <stdexcept>

namespace Platform {
class Clock;
}

namespace Glyphnab::GrabRoads {

// A capture that did not answer in time.
class CaptureTimedOut : public std::runtime_error {
public:
    CaptureTimedOut();
};

// The capture's picture, or its error; CaptureTimedOut once `limit` has passed on the
// clock first (the capture is then left to finish on its own and its picture dropped).
QCoro::Task<QImage> captureWithin(QCoro::Task<QImage> capture, Platform::Clock& clock,
                                  std::chrono::nanoseconds limit);

// The kind as the grab log line names it: "table(rows: 3, columns: 2)",
// "code(\"QR Code\")", "codes(2)", "text", "nothing".
QString logName(const GlyphnabCore::Outcome::Kind& kind);

}  // namespace Glyphnab::GrabRoads
