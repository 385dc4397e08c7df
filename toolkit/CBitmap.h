// An image decoded from a PNG embedded in the module, addressed by resource number.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/Geometry.h"

#include <cstddef>

typedef struct _cairo_surface cairo_surface_t;

namespace orvgui {

class CDrawContext;

class CBitmap : public CBaseObject {
public:
    // Looks up resource n; a missing or undecodable image leaves the bitmap empty.
    explicit CBitmap(int32_t resourceNumber);
    // Decodes PNG bytes held by the caller.
    CBitmap(const unsigned char* png, std::size_t size);
    ~CBitmap() override;

    bool isLoaded() const { return surface != nullptr; }
    CCoord getWidth() const { return width; }
    CCoord getHeight() const { return height; }
    int32_t getResourceNumber() const { return resourceNumber; }

    // Draws the part of the image at offset into dest.
    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0),
              float alpha = 1.0f);

    cairo_surface_t* getSurface() const { return surface; }

private:
    void decode(const unsigned char* png, std::size_t size);

    int32_t resourceNumber = -1;
    cairo_surface_t* surface = nullptr;
    CCoord width = 0;
    CCoord height = 0;
};

} // namespace orvgui
