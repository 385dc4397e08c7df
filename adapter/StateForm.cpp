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

void packState(const unsigned char* chunk, unsigned char* state) {
    putLittle(state, kStateVersion);
    for (std::size_t i = 0; i < kValueCount; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, chunk + 4 * i, 4);
        putLittle(state + 4 + 4 * i, bits);
    }
    std::memcpy(state + 4 + kNameOffset, chunk + kNameOffset, kChunkBytes - kNameOffset);
}

bool unpackState(const void* state, std::size_t size, unsigned char* chunk) {
    const auto* in = static_cast<const unsigned char*>(state);
    if (!in || size != kStateBytes || getLittle(in) != kStateVersion) return false;
    for (std::size_t i = 0; i < kValueCount; ++i) {
        const std::uint32_t bits = getLittle(in + 4 + 4 * i);
        std::memcpy(chunk + 4 * i, &bits, 4);
    }
    std::memcpy(chunk + kNameOffset, in + 4 + kNameOffset, kChunkBytes - kNameOffset);
    return true;
}

} // namespace orvane::adapter
