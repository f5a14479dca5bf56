#pragma once

// QCoro 0.8's waitFor never returns when the awaited task throws: its helper coroutine
// skips the quit of the nested loop. This one carries the error out of the task first.

#include <QCoroTask>

#include <exception>
#include <optional>
#include <utility>

namespace TestAwait {

template <class T>
struct Outcome {
    std::optional<T> value;
    std::exception_ptr error;
};

template <class T>
QCoro::Task<Outcome<T>> caught(QCoro::Task<T> task) {
    Outcome<T> outcome;
    try {
        outcome.value.emplace(co_await task);
    } catch (...) {
        outcome.error = std::current_exception();
    }
    co_return outcome;
}

// Runs the event loop until the task ends; its value, or its exception rethrown.
template <class T>
T result(QCoro::Task<T> task) {
    Outcome<T> outcome = QCoro::waitFor(caught(std::move(task)));
    if (outcome.error)
        std::rethrow_exception(outcome.error);
    return std::move(*outcome.value);
}

}  // namespace TestAwait
