// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-lv2-describe BUNDLE_DIR DSP_BINARY UI_BINARY: writes the LV2 bundle's description from
// the effect itself.
#include "lv2/describe/TurtleWriter.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s BUNDLE_DIR DSP_BINARY UI_BINARY\n", argv[0]);
        return 2;
    }
    orvane::adapter::EffectDescription description;
    std::string error;
    if (!orvane::adapter::describeEffect(description, error)) {
        std::fprintf(stderr, "orvane-lv2-describe: %s\n", error.c_str());
        return 1;
    }
    const orvane::lv2::BundleNames names{argv[1], argv[2], argv[3]};
    if (!orvane::lv2::writeBundleDescription(description, names)) {
        std::fprintf(stderr, "orvane-lv2-describe: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
