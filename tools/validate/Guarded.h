// SPDX-License-Identifier: GPL-3.0-or-later
// Memory flush against inaccessible pages, so that a plug-in reading or writing one byte outside
// what the host gave it faults at once instead of corrupting something unseen.
#pragma once

#include <cstddef>

namespace orvane::validate {

class Guarded {
public:
    enum Edge { kGuardAfter, kGuardBefore };
    // bytes usable bytes, zeroed, touching the guard page on the given side.
    Guarded(std::size_t bytes, Edge edge = kGuardAfter);
    ~Guarded();
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    void* data() const { return usable; }
    float* floats() const { return static_cast<float*>(usable); }
    std::size_t size() const { return bytes; }
    // After this, writing faults too (for buffers the plug-in may only read).
    void makeReadOnly();

private:
    char* mapping = nullptr;
    std::size_t mapped = 0;
    std::size_t inner = 0;
    void* usable = nullptr;
    std::size_t bytes = 0;
};

// Null when text (a buffer of size bytes that was filled with kFill) holds a terminated string
// within its first limit bytes and nothing was written after the limit; else what went wrong.
constexpr unsigned char kFill = 0xA5;
const char* textProblem(const char* text, std::size_t size, std::size_t limit);

} // namespace orvane::validate
