#pragma once
#include <cairo.h>

#include <memory>

// Decoding of the embedded bitmaps and the editor's placement of them, shared by the resource
// tests and the contact sheet.
namespace orvane::test {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

constexpr double SCALE_FACTORS[3] = {1.0, 1.5, 2.0};
constexpr int FILM_FRAMES = 137;

inline int bitmapNumber(int scaleIndex, int k) {
    return 10000 + 1000 * scaleIndex + k;
}
inline int scaled(double v, int scaleIndex) {
    return int(v * SCALE_FACTORS[scaleIndex]);
}

// The PNG of bitmap number decoded, or null when absent or undecodable.
Surface decode(int number);

// How the editor sizes a control from its bitmap.
enum class Sizing {
    HalfHeight,  // kick buttons, switches, lamps, range buttons, ECS menu
    Film,        // knobs: one frame of 137
    Full,        // readouts, fields
    ProgramMenu, // full height, width less 9
    Meter,       // fixed 7 x 76
};

struct Placement {
    const char* name;
    int k;
    double x, y;
    Sizing sizing;
    int dy[3] = {0, 0, 0}; // the editor's per-size pixel corrections
};

struct Box {
    int x, y, w, h;
    bool overlaps(const Box& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
    bool contains(const Box& o) const {
        return o.x >= x && o.y >= y && o.x + o.w <= x + w && o.y + o.h <= y + h;
    }
};

// The control's rectangle at a size, from its position and its bitmap of that size.
Box placeControl(const Placement& p, int scaleIndex, cairo_surface_t* bitmap);

extern const Placement MAIN_FACE[];
extern const int MAIN_FACE_COUNT;
extern const Placement SETTINGS_FACE[];
extern const int SETTINGS_FACE_COUNT;

} // namespace orvane::test
