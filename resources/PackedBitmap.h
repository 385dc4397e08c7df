// SPDX-License-Identifier: GPL-3.0-or-later
// The form in which the module carries its bitmaps: cairo's premultiplied ARGB32 rows, cut into
// strips that are zstd-compressed one by one, so that drawing can unpack just the rows it needs
// (a knob film's visible frames, not all 137) and nothing needs PNG decoding.
//
// Layout, native byte order: PackedHeader, then strips + 1 uint32 offsets (from the start of
// the bytes; the last one is the end of the data), then the compressed strips. Strip i holds
// rows [i * stripRows, min(height, (i + 1) * stripRows)).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace orvane {

struct PackedHeader {
    char magic[4];
    uint32_t width;
    uint32_t height;
    uint32_t stripRows;
    uint32_t strips;
};

inline constexpr char kPackedMagic[4] = {'O', 'R', 'V', 'B'};
// cairo's limit on either side of an image.
inline constexpr uint32_t kPackedMaxSide = 32767;

// The header and offset table of bytes, checked against their size; false when they cannot be
// a packed bitmap. A strip that then fails to unpack is the only fault left to handle.
inline bool readPackedLayout(const unsigned char* bytes, std::size_t size, PackedHeader& header,
                             const uint32_t*& offsets) {
    if (!bytes || size < sizeof header) return false;
    std::memcpy(&header, bytes, sizeof header);
    if (std::memcmp(header.magic, kPackedMagic, sizeof kPackedMagic) != 0) return false;
    if (header.width == 0 || header.height == 0 || header.width > kPackedMaxSide ||
        header.height > kPackedMaxSide || header.stripRows == 0 ||
        header.strips != (header.height + header.stripRows - 1) / header.stripRows)
        return false;
    const std::size_t tableEnd = sizeof header + (std::size_t{header.strips} + 1) * 4;
    if (size < tableEnd || reinterpret_cast<uintptr_t>(bytes + sizeof header) % 4 != 0)
        return false;
    offsets = reinterpret_cast<const uint32_t*>(bytes + sizeof header);
    if (offsets[0] != tableEnd || offsets[header.strips] != size) return false;
    for (uint32_t i = 0; i < header.strips; ++i)
        if (offsets[i + 1] < offsets[i]) return false;
    return true;
}

// Packs an ARGB32 image (at build time, and for tests); empty when compression failed.
std::vector<unsigned char> packBitmap(cairo_surface_t* image);

} // namespace orvane
