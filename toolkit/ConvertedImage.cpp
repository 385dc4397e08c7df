// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ConvertedImage.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <atomic>
#include <cairo.h>
#include <cstdio>
#include <cstdlib>

namespace orvgui {

namespace {
void sayOnce(const char* what, const Visual* visual, int depth) {
    static std::atomic<bool> said{false};
    if (said.exchange(true)) return;
    std::fprintf(stderr, "Orvane: %s (depth %d, red/green/blue masks %#lx/%#lx/%#lx)\n", what,
                 depth, visual->red_mask, visual->green_mask, visual->blue_mask);
}

// The 256 values of an 8-bit channel, rounded to the mask's width and moved to its place.
void fillChannel(uint32_t (&table)[256], unsigned long mask) {
    int shift = 0;
    while (mask && !((mask >> shift) & 1))
        ++shift;
    const unsigned long top = mask >> shift;
    for (uint32_t v = 0; v < 256; ++v)
        table[v] =
            static_cast<uint32_t>(((v * top + 127) / 255) << shift) & static_cast<uint32_t>(mask);
}
} // namespace

std::unique_ptr<ConvertedImage> ConvertedImage::create(Display* display, Visual* visual, int depth,
                                                       int width, int height) {
    if (!visual || visual->c_class != TrueColor || !visual->red_mask || !visual->green_mask ||
        !visual->blue_mask || depth > 32) {
        if (visual) sayOnce("cannot draw the editor on this screen's visual", visual, depth);
        return nullptr;
    }
    XImage* image =
        XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!image) return nullptr;
    image->data = static_cast<char*>(
        std::calloc(static_cast<size_t>(image->bytes_per_line), static_cast<size_t>(height)));
    if (!image->data) {
        XDestroyImage(image);
        return nullptr;
    }
    std::unique_ptr<ConvertedImage> converted(new ConvertedImage(image));
    fillChannel(converted->red, visual->red_mask);
    fillChannel(converted->green, visual->green_mask);
    fillChannel(converted->blue, visual->blue_mask);
    if (depth == 32)
        converted->opaque =
            ~static_cast<uint32_t>(visual->red_mask | visual->green_mask | visual->blue_mask);
    sayOnce("drawing the editor through a conversion for this screen's visual", visual, depth);
    return converted;
}

ConvertedImage::~ConvertedImage() {
    XDestroyImage(image); // and its data
}

void ConvertedImage::put(Display* display, Drawable window, GC gc, cairo_surface_t* source, int x,
                         int y, int width, int height) {
    x = std::max(x, 0);
    y = std::max(y, 0);
    width = std::min(width, image->width - x);
    height = std::min(height, image->height - y);
    if (width <= 0 || height <= 0) return;
    const unsigned char* pixels = cairo_image_surface_get_data(source);
    const int stride = cairo_image_surface_get_stride(source);
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == hostByteOrder();
    for (int row = y; row < y + height; ++row) {
        const auto* in = reinterpret_cast<const uint32_t*>(pixels + row * stride);
        auto* out = reinterpret_cast<uint32_t*>(image->data + row * image->bytes_per_line);
        for (int column = x; column < x + width; ++column) {
            // The frame paints an opaque background first: premultiplied values are the colours.
            const uint32_t p = in[column];
            const uint32_t value =
                red[(p >> 16) & 0xff] | green[(p >> 8) & 0xff] | blue[p & 0xff] | opaque;
            if (direct)
                out[column] = value;
            else
                XPutPixel(image, column, row, value);
        }
    }
    XPutImage(display, window, gc, image, x, y, x, y, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
}

} // namespace orvgui
