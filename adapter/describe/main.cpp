// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-describe SHAPES_CPP: writes the exposed parameters' shapes from the effect itself.
#include "adapter/describe/ShapesWriter.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SHAPES_CPP\n", argv[0]);
        return 2;
    }
    orvane::adapter::EffectDescription description;
    std::string error;
    if (!orvane::adapter::describeEffect(description, error)) {
        std::fprintf(stderr, "orvane-describe: %s\n", error.c_str());
        return 1;
    }
    if (!orvane::adapter::writeShapes(description, argv[1])) {
        std::fprintf(stderr, "orvane-describe: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
