#pragma once

#include <functional>

namespace Glyphnab {

// Tesseract's OpenMP threads fight each other when several engines run at once, and the
// limit only takes effect from the process's start: when it is not set, set it and start
// the program again in place. Returns only when nothing needed doing (or the restart failed).
void ensureSingleThreadedOpenMP(char** argv);

// SIGTERM and SIGINT end the event loop cleanly instead of killing the process.
// Call before any thread starts.
void blockTerminationSignals();
void quitOnTerminationSignals();
// The same signals call `act` on the GUI thread instead, also inside a nested event loop.
void onTerminationSignals(std::function<void()> act);

}  // namespace Glyphnab
