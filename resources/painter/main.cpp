// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the editor's three bitmap sets, one packed bitmap per file named "bmp%05d.packed".
#include "BitmapSet.h"
#include "resources/PackedBitmap.h"

#include <cstdio>
#include <fstream>
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
            const std::vector<unsigned char> packed = orvane::packBitmap(surface);
            cairo_surface_destroy(surface);
            char name[32];
            std::snprintf(name, sizeof name, "/bmp%05d.packed", 10000 + 1000 * s.index + b.k);
            const std::string path = argv[1] + std::string(name);
            std::ofstream file(path, std::ios::binary);
            file.write(reinterpret_cast<const char*>(packed.data()),
                       static_cast<std::streamsize>(packed.size()));
            if (packed.empty() || !file.flush()) {
                std::fprintf(stderr, "%s: cannot pack or write the bitmap\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
