// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the frame's ARGB32 image into a window whose visual takes other pixels (a 30-bit screen,
// blue in the high bits): each put converts the area into an image of the visual's format.
#pragma once

#include <X11/Xlib.h>
#include <cstdint>
#include <memory>

typedef struct _cairo_surface cairo_surface_t;

namespace orvgui {

// LSBFirst or MSBFirst: how this machine, and so cairo, stores a 32-bit pixel.
inline int hostByteOrder() {
    const uint32_t probe = 1;
    return *reinterpret_cast<const unsigned char*>(&probe) ? LSBFirst : MSBFirst;
}

class ConvertedImage {
public:
    // Null when the visual is not a true-colour one. Says once per process on stderr that the
    // editor is converted, or cannot be drawn.
    static std::unique_ptr<ConvertedImage> create(Display* display, Visual* visual, int depth,
                                                  int width, int height);
    ~ConvertedImage();
    ConvertedImage(const ConvertedImage&) = delete;
    ConvertedImage& operator=(const ConvertedImage&) = delete;

    // Converts the area of source (of the size given at creation) and puts it at the same place
    // of the window.
    void put(Display* display, Drawable window, GC gc, cairo_surface_t* source, int x, int y,
             int width, int height);

private:
    explicit ConvertedImage(XImage* image) : image(image) {}

    XImage* image;
    // Each 8-bit channel value as bits of the visual's pixel.
    uint32_t red[256], green[256], blue[256];
    uint32_t opaque = 0; // the alpha bits of a 32-bit visual
};

} // namespace orvgui
