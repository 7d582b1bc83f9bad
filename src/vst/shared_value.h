// A value that more than one thread reads or writes: the host's threads, the
// audio thread and the editor's user-interface thread. Loads and stores are
// relaxed atomics, plain moves on x86, so the code is free of data races while
// a reader may see an older value for a moment.
#pragma once

#include <atomic>

template <typename T>
class SharedValue {
public:
    constexpr SharedValue(T value = T()) noexcept : value_(value) {}
    SharedValue(const SharedValue&) = delete;
    SharedValue& operator=(const SharedValue&) = delete;

    T get() const noexcept { return value_.load(std::memory_order_relaxed); }
    void set(T value) noexcept { value_.store(value, std::memory_order_relaxed); }

private:
    static_assert(std::atomic<T>::is_always_lock_free, "shared values must be lock-free");
    std::atomic<T> value_;
};
