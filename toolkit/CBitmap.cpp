#include "toolkit/CBitmap.h"

#include "resources/Resources.h"
#include "toolkit/CDrawContext.h"

#include <cairo.h>
#include <cstring>

namespace orvgui {

namespace {
struct PngReader {
    const unsigned char* data;
    std::size_t size;
    std::size_t position;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->size - reader->position < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
    return CAIRO_STATUS_SUCCESS;
}
} // namespace

CBitmap::CBitmap(int32_t resourceNumber) : resourceNumber(resourceNumber) {
    const orvane::Resource resource = orvane::findResource(resourceNumber);
    decode(resource.data, resource.size);
}

CBitmap::CBitmap(const unsigned char* png, std::size_t size) {
    decode(png, size);
}

CBitmap::~CBitmap() {
    if (surface) cairo_surface_destroy(surface);
}

void CBitmap::decode(const unsigned char* png, std::size_t size) {
    if (!png || size == 0) return;
    PngReader reader{png, size, 0};
    cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(decoded);
        return;
    }
    // cairo would keep a copy of the PNG bytes with the image; nothing here needs it.
    cairo_surface_set_mime_data(decoded, CAIRO_MIME_TYPE_PNG, nullptr, 0, nullptr, nullptr);
    surface = decoded;
    width = cairo_image_surface_get_width(decoded);
    height = cairo_image_surface_get_height(decoded);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha) {
    if (context) context->drawBitmap(this, dest, offset, alpha);
}

} // namespace orvgui
