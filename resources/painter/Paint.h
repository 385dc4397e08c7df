// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cairo.h>
#include <cmath>

// Small drawing vocabulary shared by the face and control painters. All coordinates are device
// pixels of the size being drawn; callers scale the face's 100 % geometry themselves.
namespace orvane::paint {

struct Colour {
    double r, g, b, a;
};
constexpr Colour rgb(unsigned hex, double alpha = 1.0) {
    return {((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0, (hex & 0xff) / 255.0, alpha};
}

struct Rect {
    double x, y, w, h;
};

// One coherent palette: graphite face, amber light, cool grey print.
namespace palette {
constexpr Colour plateTop = rgb(0x2b2e33), plateBottom = rgb(0x1e2024);
constexpr Colour headerTop = rgb(0x363a41), headerBottom = rgb(0x2a2d32);
constexpr Colour wellEdge = rgb(0x0c0d0f);
constexpr Colour highlight = rgb(0xffffff, 0.07), shadow = rgb(0x000000, 0.55);
constexpr Colour print = rgb(0xb9bec6), title = rgb(0xe9ebee), faint = rgb(0x7d838c);
constexpr Colour fieldFill = rgb(0x121417), fieldEdge = rgb(0x000000, 0.3);
constexpr Colour amber = rgb(0xffa63d), amberHot = rgb(0xffd9a0), amberDim = rgb(0x4a3320);
constexpr Colour red = rgb(0xff4d3f), redHot = rgb(0xffc2b8), redDim = rgb(0x4a2220);
constexpr Colour keyTop = rgb(0x4b5058), keyBottom = rgb(0x33373d), keyEdge = rgb(0x101113);
constexpr Colour slot = rgb(0x0d0e10);
} // namespace palette

enum class Align { Left, Centre, Right };
enum class Weight { Regular, Bold };

struct Font {
    double size;
    Weight weight = Weight::Bold;
    double tracking = 0; // extra advance between letters, in pixels
};

void setColour(cairo_t* cr, Colour c);
void roundRect(cairo_t* cr, Rect r, double radius);
void circle(cairo_t* cr, double cx, double cy, double radius);
// Fills the current path with a vertical gradient spanning y0..y1.
void fillVertical(cairo_t* cr, double y0, double y1, Colour top, Colour bottom);

// Draws one line of text whose capitals are centred on midY; x is the left edge, centre or right
// edge as aligned. Returns the text's width.
double text(cairo_t* cr, const char* s, double x, double midY, Font f, Colour c, Align a);
double textWidth(cairo_t* cr, const char* s, Font f);

// A recessed area: dark fill, shadow along the top edge, light line along the bottom.
void well(cairo_t* cr, Rect r, double radius, double unit);
// A dark display field as used by readouts and menus.
void field(cairo_t* cr, Rect r, double unit);
// A raised key, pressed or not; returns the face rectangle to put a legend on.
Rect key(cairo_t* cr, Rect r, bool pressed, double unit);
// A round LED in its bezel.
void lamp(cairo_t* cr, double cx, double cy, double radius, bool lit, Colour hot, Colour on,
          Colour off);

// Surface helpers: a transparent ARGB surface and its context with our text settings.
cairo_surface_t* newSurface(int width, int height);
cairo_t* newContext(cairo_surface_t* surface);

} // namespace orvane::paint
