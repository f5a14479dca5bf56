#pragma once

// What an app tells the shared General tab about updates.

#include <functional>

namespace ZantrelUI {

struct UpdatesState {
    bool configured = false;            // the build has an update feed set up
    bool canCheck = false;              // a check can start now
    std::function<void()> check;        // starts a user-initiated check
};

}  // namespace ZantrelUI
