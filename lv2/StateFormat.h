// The saved form of the effect's state chunk: a version word, the 128 values and the 32-byte
// program name, all little-endian whatever the machine, so sessions move between machines.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::lv2 {

constexpr std::uint32_t kStateVersion = 1;
constexpr std::size_t kChunkBytes = 544; // the effect's chunk: 128 floats, then the name
constexpr std::size_t kStateBytes = 4 + kChunkBytes;

// chunk is the effect's chunk in the machine's own order.
void packState(const unsigned char* chunk, unsigned char* state);
// False, leaving chunk alone, for a size or version this build does not know.
bool unpackState(const void* state, std::size_t size, unsigned char* chunk);

} // namespace orvane::lv2
