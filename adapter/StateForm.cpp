// SPDX-License-Identifier: GPL-3.0-or-later
#include "adapter/StateForm.h"

#include <cstring>

namespace orvane::adapter {

namespace {

constexpr std::size_t kValueCount = 128;
constexpr std::size_t kNameOffset = kValueCount * 4;

void putLittle(unsigned char* out, std::uint32_t word) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(word >> (8 * i));
}

std::uint32_t getLittle(const unsigned char* in) {
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word |= std::uint32_t(in[i]) << (8 * i);
    return word;
}

} // namespace

void putLittleFloats(const float* values, std::size_t count, unsigned char* out) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, values + i, 4);
        putLittle(out + 4 * i, bits);
    }
}

void getLittleFloats(const unsigned char* in, std::size_t count, float* values) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t bits = getLittle(in + 4 * i);
        std::memcpy(values + i, &bits, 4);
    }
}

void packState(const unsigned char* chunk, unsigned char* state) {
    putLittle(state, kStateVersion);
    float values[kValueCount];
    std::memcpy(values, chunk, sizeof values);
    putLittleFloats(values, kValueCount, state + 4);
    std::memcpy(state + 4 + kNameOffset, chunk + kNameOffset, kChunkBytes - kNameOffset);
}

bool unpackState(const void* state, std::size_t size, unsigned char* chunk) {
    const auto* in = static_cast<const unsigned char*>(state);
    if (!in || size != kStateBytes || getLittle(in) != kStateVersion) return false;
    float values[kValueCount];
    getLittleFloats(in + 4, kValueCount, values);
    std::memcpy(chunk, values, sizeof values);
    std::memcpy(chunk + kNameOffset, in + 4 + kNameOffset, kChunkBytes - kNameOffset);
    return true;
}

} // namespace orvane::adapter
