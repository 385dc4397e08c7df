// SPDX-License-Identifier: GPL-3.0-or-later
// A single word shared between the dispatcher and processing threads. Each access is one
// relaxed atomic load or store: no ordering is needed, only freedom from torn values.
#pragma once

#include <atomic>

template <typename T> class Relaxed {
public:
    Relaxed(T initial = T()) : value(initial) {}
    Relaxed(const Relaxed& other) : value(other.load()) {}
    Relaxed& operator=(const Relaxed& other) {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T v) {
        store(v);
        return *this;
    }
    operator T() const { return load(); }
    T load() const { return value.load(std::memory_order_relaxed); }
    void store(T v) { value.store(v, std::memory_order_relaxed); }
    T exchange(T v) { return value.exchange(v, std::memory_order_relaxed); }

private:
    std::atomic<T> value;
    static_assert(std::atomic<T>::is_always_lock_free, "shared words must be lock-free");
};
