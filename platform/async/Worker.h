#pragma once

// Blocking work (recognition, PDF rendering, decoding big files) runs on worker threads
// and is awaited from the GUI thread; its result, or the exception it threw, comes back
// there.

#include <QCoroFuture>
#include <QCoroTask>
#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace Platform {

namespace detail {
template <class T>
struct WorkResult {
    std::optional<T> value;
    std::exception_ptr error;
};
template <>
struct WorkResult<void> {
    std::exception_ptr error;
};
}  // namespace detail

// The pool that work runs on unless a caller names another.
QThreadPool& workerPool();

template <class F>
auto runOnWorker(F work, QThreadPool* pool = nullptr) -> QCoro::Task<std::invoke_result_t<F&>> {
    using T = std::invoke_result_t<F&>;
    QFuture<detail::WorkResult<T>> future =
        QtConcurrent::run(pool != nullptr ? pool : &workerPool(), [work = std::move(work)]() mutable {
            detail::WorkResult<T> result;
            try {
                if constexpr (std::is_void_v<T>)
                    work();
                else
                    result.value.emplace(work());
            } catch (...) {
                result.error = std::current_exception();
            }
            return result;
        });
    detail::WorkResult<T> result = co_await future;
    if (result.error)
        std::rethrow_exception(result.error);
    if constexpr (!std::is_void_v<T>)
        co_return std::move(*result.value);
}

}  // namespace Platform
