// SPDX-License-Identifier: GPL-3.0-or-later
// The UTF-16 strings of the VST3 ABI, to and from the effect's UTF-8 texts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::vst3 {

// Always terminates out (capacity units); characters beyond the basic plane become '?'.
void toUtf16(const char* utf8, std::int16_t* out, std::size_t capacity);
// Always terminates out (capacity bytes), cutting at a whole character.
void toUtf8(const std::int16_t* utf16, char* out, std::size_t capacity);

} // namespace orvane::vst3
