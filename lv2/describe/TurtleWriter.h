// Writes the bundle's description (manifest.ttl, Orvane.ttl, presets.ttl) and the port shapes
// the modules are built with.
#pragma once

#include "lv2/describe/EffectDescription.h"

#include <string>

namespace orvane::lv2 {

struct BundleNames {
    std::string directory;
    std::string dspBinary;
    std::string uiBinary;
};

bool writeBundleDescription(const EffectDescription& description, const BundleNames& names);
bool writePortShapes(const EffectDescription& description, const std::string& path);

} // namespace orvane::lv2
