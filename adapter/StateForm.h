// SPDX-License-Identifier: GPL-3.0-or-later
// The saved form of the effect's state, the same bytes in every plug-in format: a version word,
// the 128 values and the 32-byte program name, all little-endian whatever the machine, so
// sessions move between machines and between formats.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::adapter {

constexpr std::uint32_t kStateVersion = 1;
constexpr std::size_t kChunkBytes = 544; // the effect's chunk: 128 floats, then the name
constexpr std::size_t kStateBytes = 4 + kChunkBytes;

// chunk is the effect's chunk in the machine's own order.
void packState(const unsigned char* chunk, unsigned char* state);
// False, leaving chunk alone, for a size or version this build does not know.
bool unpackState(const void* state, std::size_t size, unsigned char* chunk);

// Floats as little-endian words, 4 bytes each, the order every saved form uses.
void putLittleFloats(const float* values, std::size_t count, unsigned char* out);
void getLittleFloats(const unsigned char* in, std::size_t count, float* values);

// Hosts' streams may move fewer bytes per call than asked. step moves at most size bytes and
// answers how many it moved (0 or less: the stream ended or failed). True when all moved.
template <typename Step> bool moveFully(unsigned char* data, std::size_t size, Step&& step) {
    std::size_t done = 0;
    while (done < size) {
        const long long moved = step(data + done, size - done);
        if (moved <= 0 || static_cast<unsigned long long>(moved) > size - done) return false;
        done += static_cast<std::size_t>(moved);
    }
    return true;
}

} // namespace orvane::adapter
