// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's gestures on their way from the editor's thread to the thread that reports them
// to the host: one writer, one reader, no locks, each entry a single atomic word.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvane::clap {

struct Gesture {
    enum Kind : std::uint8_t { Begin, Value, End };
    Kind kind;
    std::uint8_t exposed;
    float normalised;
};

class GestureQueue {
public:
    // Editor's thread. False when full (the reader has not run for a long while).
    bool push(const Gesture& gesture) {
        const std::uint32_t tail = written.load(std::memory_order_relaxed);
        if (tail - read.load(std::memory_order_acquire) == kCapacity) return false;
        slots[tail % kCapacity].store(pack(gesture), std::memory_order_relaxed);
        written.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Reporting thread.
    bool pop(Gesture& gesture) {
        const std::uint32_t head = read.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) return false;
        gesture = unpack(slots[head % kCapacity].load(std::memory_order_relaxed));
        read.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    static constexpr std::uint32_t kCapacity = 256;

    static std::uint64_t pack(const Gesture& g) {
        std::uint32_t bits;
        std::memcpy(&bits, &g.normalised, sizeof bits);
        return std::uint64_t{g.kind} << 40 | std::uint64_t{g.exposed} << 32 | bits;
    }
    static Gesture unpack(std::uint64_t word) {
        Gesture g;
        g.kind = static_cast<Gesture::Kind>(word >> 40 & 0xff);
        g.exposed = static_cast<std::uint8_t>(word >> 32 & 0xff);
        const auto bits = static_cast<std::uint32_t>(word);
        std::memcpy(&g.normalised, &bits, sizeof bits);
        return g;
    }

    std::atomic<std::uint64_t> slots[kCapacity] = {};
    std::atomic<std::uint32_t> written{0};
    std::atomic<std::uint32_t> read{0};
};

} // namespace orvane::clap
