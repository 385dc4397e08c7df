// SPDX-License-Identifier: GPL-3.0-or-later
// orvane::findResource for the tests: bitmaps painted with cairo and packed on first use.
#include "tests/gui/TestImages.h"

#include "resources/PackedBitmap.h"
#include "resources/Resources.h"

#include <algorithm>
#include <cairo.h>
#include <map>
#include <vector>

namespace orvane {

namespace {
using testimages::knobFrameColour;
using Bytes = std::vector<unsigned char>;

void fill(cairo_t* cairo, const orvgui::CColor& colour, double x, double y, double w, double h) {
    cairo_set_source_rgba(cairo, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0,
                          colour.alpha / 255.0);
    cairo_rectangle(cairo, x, y, w, h);
    cairo_fill(cairo);
}

template <typename Paint> Bytes packed(int width, int height, Paint paint) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(surface);
    paint(cairo);
    cairo_destroy(cairo);
    Bytes bytes = packBitmap(surface);
    cairo_surface_destroy(surface);
    return bytes;
}

std::map<int, Bytes> paintAll() {
    using namespace testimages;
    std::map<int, Bytes> images;
    images[kBackgroundImage] =
        packed(1100, 950, [](cairo_t* c) { fill(c, kBackgroundColour, 0, 0, 1100, 950); });
    images[kKnobFilm] = packed(60, 60 * kKnobFrames, [](cairo_t* c) {
        for (int i = 0; i < kKnobFrames; ++i)
            fill(c, knobFrameColour(i), 0, 60 * i, 60, 60);
    });
    images[kSwitchImage] = packed(40, 80, [](cairo_t* c) {
        fill(c, kOffColour, 0, 0, 40, 40);
        fill(c, kOnColour, 0, 40, 40, 40);
    });
    images[kKickImage] = packed(60, 60, [](cairo_t* c) {
        fill(c, kReleasedColour, 0, 0, 60, 30);
        fill(c, kPressedColour, 0, 30, 60, 30);
    });
    images[kFieldImage] = packed(120, 24, [](cairo_t* c) { fill(c, kFieldColour, 0, 0, 120, 24); });
    images[kMalformedImage] = Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    images[kTruncatedImage] = images[kSwitchImage];
    images[kTruncatedImage].pop_back();
    images[kDamagedImage] = images[kSwitchImage];
    Bytes& damaged = images[kDamagedImage];
    // Its one strip starts after the header and two offsets.
    std::fill(damaged.begin() + sizeof(PackedHeader) + 8, damaged.end(), 0xff);
    return images;
}
} // namespace

Resource findResource(int number) {
    static const std::map<int, Bytes> images = paintAll();
    const auto it = images.find(number);
    if (it == images.end()) return {nullptr, 0};
    return {it->second.data(), it->second.size()};
}

} // namespace orvane
