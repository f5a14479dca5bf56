#pragma once

// Cooperative cancellation: work checks its stop token where stopping is safe.

#include <exception>
#include <stop_token>

namespace Platform {

struct CancellationError : std::exception {
    const char* what() const noexcept override { return "cancelled"; }
};

// Throws CancellationError when a stop was requested.
inline void checkCancellation(const std::stop_token& token) {
    if (token.stop_requested())
        throw CancellationError{};
}

}  // namespace Platform
