// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the bundle's description: manifest.ttl, Orvane.ttl, presets.ttl.
#pragma once

#include "adapter/describe/EffectDescription.h"

#include <string>

namespace orvane::lv2 {

struct BundleNames {
    std::string directory;
    std::string dspBinary;
    std::string uiBinary;
};

bool writeBundleDescription(const adapter::EffectDescription& description,
                            const BundleNames& names);

} // namespace orvane::lv2
