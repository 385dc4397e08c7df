// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/PackedBitmap.h"

#include <algorithm>
#include <cairo.h>
#include <zstd.h>

namespace orvane {

namespace {
// About 64 KiB of pixels per strip: fine enough that a knob frame unpacks only a few strips,
// coarse enough that compression still finds the repeats between rows.
constexpr std::size_t kStripBytes = 64 * 1024;
// Packing runs at build time; unpacking speed hardly depends on the level.
constexpr int kLevel = 12;
} // namespace

std::vector<unsigned char> packBitmap(cairo_surface_t* image) {
    cairo_surface_flush(image);
    PackedHeader header{};
    std::memcpy(header.magic, kPackedMagic, sizeof kPackedMagic);
    header.width = static_cast<uint32_t>(cairo_image_surface_get_width(image));
    header.height = static_cast<uint32_t>(cairo_image_surface_get_height(image));
    const std::size_t stride = static_cast<std::size_t>(cairo_image_surface_get_stride(image));
    header.stripRows = static_cast<uint32_t>(std::max<std::size_t>(1, kStripBytes / stride));
    header.strips = (header.height + header.stripRows - 1) / header.stripRows;

    std::vector<unsigned char> bytes(sizeof header + (std::size_t{header.strips} + 1) * 4);
    std::memcpy(bytes.data(), &header, sizeof header);
    std::vector<uint32_t> offsets{static_cast<uint32_t>(bytes.size())};
    const unsigned char* pixels = cairo_image_surface_get_data(image);
    ZSTD_CCtx* context = ZSTD_createCCtx();
    for (uint32_t top = 0; top < header.height; top += header.stripRows) {
        const std::size_t rows = std::min(header.stripRows, header.height - top);
        const std::size_t end = bytes.size();
        bytes.resize(end + ZSTD_compressBound(rows * stride));
        const std::size_t packed =
            ZSTD_compressCCtx(context, bytes.data() + end, bytes.size() - end,
                              pixels + top * stride, rows * stride, kLevel);
        if (ZSTD_isError(packed)) {
            ZSTD_freeCCtx(context);
            return {};
        }
        bytes.resize(end + packed);
        offsets.push_back(static_cast<uint32_t>(bytes.size()));
    }
    ZSTD_freeCCtx(context);
    std::memcpy(bytes.data() + sizeof header, offsets.data(), offsets.size() * 4);
    return bytes;
}

} // namespace orvane
