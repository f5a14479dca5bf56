#pragma once

// Small helpers the test programs share.

#include <QString>

#include <chrono>
#include <functional>

namespace TestSupport {

// Runs the event loop until the condition holds or the time is up; the condition's last answer.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(30));

// A folder in the source tree's test data.
QString sourcePath(const QString& relative);

}  // namespace TestSupport
