// SPDX-License-Identifier: GPL-3.0-or-later
// An image embedded in the module, addressed by resource number. Its rows are unpacked strip by
// strip the first time something draws them, so that showing one frame of a knob film costs
// that frame, and a bitmap nobody draws costs no memory for its pixels.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/Geometry.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

typedef struct _cairo_surface cairo_surface_t;

namespace orvgui {

class CDrawContext;

class CBitmap : public CBaseObject {
public:
    // Looks up resource n; a missing or malformed image leaves the bitmap empty.
    explicit CBitmap(int32_t resourceNumber);
    // Takes over an ARGB32 image already in memory.
    explicit CBitmap(cairo_surface_t* image);
    ~CBitmap() override;

    bool isLoaded() const { return surface != nullptr; }
    CCoord getWidth() const { return width; }
    CCoord getHeight() const { return height; }
    int32_t getResourceNumber() const { return resourceNumber; }

    // Draws the part of the image at offset into dest.
    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0),
              float alpha = 1.0f);

    // The image with rows [top, bottom) unpacked; editors on several threads may share it.
    cairo_surface_t* surfaceWithRows(int top, int bottom);
    // The image with every row unpacked.
    cairo_surface_t* getSurface();
    bool isUnpacked() const { return unpackedStrips.load(std::memory_order_acquire) == strips; }

private:
    void unpack(uint32_t strip);

    int32_t resourceNumber = -1;
    cairo_surface_t* surface = nullptr;
    CCoord width = 0;
    CCoord height = 0;
    // The packed strips; none for an image taken over whole.
    const unsigned char* packed = nullptr;
    const uint32_t* offsets = nullptr;
    uint32_t stripRows = 0;
    uint32_t strips = 0;
    std::unique_ptr<std::atomic<bool>[]> unpacked;
    std::atomic<uint32_t> unpackedStrips{0};
    std::mutex unpacking;
};

} // namespace orvgui
