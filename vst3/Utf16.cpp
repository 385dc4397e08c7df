// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/Utf16.h"

namespace orvane::vst3 {

void toUtf16(const char* utf8, std::int16_t* out, std::size_t capacity) {
    if (!out || capacity == 0) return;
    std::size_t n = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8 ? utf8 : "");
    while (*s && n + 1 < capacity) {
        unsigned code = *s++;
        int more = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
        if (more) code &= 0x3F >> more;
        for (; more > 0 && (*s & 0xC0) == 0x80; --more)
            code = (code << 6) | (*s++ & 0x3F);
        out[n++] = static_cast<std::int16_t>(more == 0 && code <= 0xFFFF ? code : '?');
    }
    out[n] = 0;
}

void toUtf8(const std::int16_t* utf16, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return;
    std::size_t n = 0;
    for (const std::int16_t* u = utf16; u && *u; ++u) {
        const unsigned code = static_cast<std::uint16_t>(*u);
        const std::size_t length = code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
        if (n + length >= capacity) break;
        if (length == 1) {
            out[n++] = static_cast<char>(code);
        } else if (length == 2) {
            out[n++] = static_cast<char>(0xC0 | (code >> 6));
            out[n++] = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out[n++] = static_cast<char>(0xE0 | (code >> 12));
            out[n++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out[n++] = static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    out[n] = 0;
}

} // namespace orvane::vst3
