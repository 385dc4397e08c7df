// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CBitmap.h"

#include "resources/PackedBitmap.h"
#include "resources/Resources.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/ImageMemory.h"

#include <algorithm>
#include <cairo.h>
#include <zstd.h>

namespace orvgui {

CBitmap::CBitmap(int32_t resourceNumber) : resourceNumber(resourceNumber) {
    const orvane::Resource resource = orvane::findResource(resourceNumber);
    orvane::PackedHeader header;
    if (!orvane::readPackedLayout(resource.data, resource.size, header, offsets)) return;
    // Memory is only taken by the rows that get unpacked.
    cairo_surface_t* image =
        createPagedImage(static_cast<int>(header.width), static_cast<int>(header.height));
    if (!image) return;
    // A fresh surface counts as clear, and cairo skips drawing from a clear one. Marked once
    // here, before any sharing; the rows unpacked later go straight into its memory, which
    // only image surfaces ever read.
    cairo_surface_mark_dirty(image);
    surface = image;
    width = header.width;
    height = header.height;
    packed = resource.data;
    stripRows = header.stripRows;
    strips = header.strips;
    unpacked = std::make_unique<std::atomic<bool>[]>(strips);
}

CBitmap::CBitmap(cairo_surface_t* image) {
    if (!image || cairo_surface_status(image) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_format(image) != CAIRO_FORMAT_ARGB32) {
        if (image) cairo_surface_destroy(image);
        return;
    }
    surface = image;
    width = cairo_image_surface_get_width(image);
    height = cairo_image_surface_get_height(image);
}

CBitmap::~CBitmap() {
    if (surface) cairo_surface_destroy(surface);
}

cairo_surface_t* CBitmap::surfaceWithRows(int top, int bottom) {
    if (!surface || strips == 0) return surface;
    top = std::max(top, 0);
    bottom = std::min(bottom, static_cast<int>(height));
    for (int strip = top / static_cast<int>(stripRows);
         strip * static_cast<int>(stripRows) < bottom; ++strip)
        if (!unpacked[strip].load(std::memory_order_acquire)) unpack(static_cast<uint32_t>(strip));
    return surface;
}

cairo_surface_t* CBitmap::getSurface() {
    if (surface && strips > 0 && !isUnpacked()) prepareWhole(surface);
    return surfaceWithRows(0, static_cast<int>(height));
}

// A strip that does not unpack stays transparent; it is not tried again.
void CBitmap::unpack(uint32_t strip) {
    std::lock_guard<std::mutex> lock(unpacking);
    if (unpacked[strip].load(std::memory_order_relaxed)) return;
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    const uint32_t top = strip * stripRows;
    const std::size_t bytes = std::min<std::size_t>(stripRows, height - top) * stride;
    prepareRows(surface, static_cast<int>(top), static_cast<int>(top + stripRows));
    unsigned char* rows = cairo_image_surface_get_data(surface) + top * stride;
    const std::size_t got =
        ZSTD_decompress(rows, bytes, packed + offsets[strip], offsets[strip + 1] - offsets[strip]);
    if (ZSTD_isError(got) || got != bytes) std::fill(rows, rows + bytes, 0);
    unpacked[strip].store(true, std::memory_order_release);
    unpackedStrips.fetch_add(1, std::memory_order_release);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha) {
    if (context) context->drawBitmap(this, dest, offset, alpha);
}

} // namespace orvgui
