#pragma once

// The GUI thread is the app's one main thread: model, windows, menus and hot keys live
// there, and the code that must run there says so.

#include <source_location>

namespace Platform {

bool isMainThread();

// Stops the process when called off the GUI thread (or before the application exists).
void assertMain(std::source_location where = std::source_location::current());

}  // namespace Platform
