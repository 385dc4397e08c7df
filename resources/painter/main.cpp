// Draws the editor's three bitmap sets, one PNG per bitmap named "bmp%05d.png".
#include "BitmapSet.h"

#include <cstdio>
#include <string>

using namespace orvane::paint;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    for (const Scale& s : SCALES) {
        for (const BitmapEntry& b : BITMAPS) {
            cairo_surface_t* surface = paintBitmap(b, s);
            char name[32];
            std::snprintf(name, sizeof name, "/bmp%05d.png", 10000 + 1000 * s.index + b.k);
            const std::string path = argv[1] + std::string(name);
            const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
            cairo_surface_destroy(surface);
            if (status != CAIRO_STATUS_SUCCESS) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), cairo_status_to_string(status));
                return 1;
            }
        }
    }
    return 0;
}
