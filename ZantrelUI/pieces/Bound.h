#pragma once

// A value an owner shares with the pieces that show and edit it: the owner keeps it (by
// shared pointer), a piece reads it, writes it and is told when anyone changes it. It is
// the Qt stand-in for a binding to the owner's state.

#include <QObject>
#include <QPointer>

#include <concepts>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace ZantrelUI {

template <class T>
class Bound {
public:
    explicit Bound(T value = T{}) : value_(std::move(value)) {}

    static std::shared_ptr<Bound> make(T value = T{}) { return std::make_shared<Bound>(std::move(value)); }

    const T& get() const { return value_; }

    // Watchers hear only of real changes when the value can be compared.
    void set(T value) {
        if constexpr (std::equality_comparable<T>) {
            if (value == value_)
                return;
        }
        value_ = std::move(value);
        notify();
    }

    // Changes a copy and writes it back.
    template <class Change>
    void edit(Change&& change) {
        T copy = value_;
        std::forward<Change>(change)(copy);
        set(std::move(copy));
    }

    // `action` runs after each change for as long as `guard` lives.
    void watch(QObject* guard, std::function<void()> action) {
        watchers_.push_back({QPointer<QObject>(guard), std::move(action)});
    }

private:
    struct Watcher {
        QPointer<QObject> guard;
        std::function<void()> action;
    };

    void notify() {
        std::erase_if(watchers_, [](const Watcher& w) { return w.guard.isNull(); });
        // A watcher may add others or change the value again: run over a copy.
        const std::vector<Watcher> now = watchers_;
        for (const Watcher& w : now)
            if (!w.guard.isNull())
                w.action();
    }

    T value_;
    std::vector<Watcher> watchers_;
};

template <class T>
using BoundPtr = std::shared_ptr<Bound<T>>;

}  // namespace ZantrelUI
