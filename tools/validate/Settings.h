// SPDX-License-Identifier: GPL-3.0-or-later
// What the validator was asked to do, and how hard each strictness level tries.
#pragma once

#include "tools/testhost/TestHost.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace orvane::validate {

struct Settings {
    std::string pluginPath;
    int strictness = 2; // 1 quick, 2 thorough, 3 everything
    testhost::HostConfig host;
    // The largest output magnitude allowed; by default only finiteness is demanded.
    float outputLimit = std::numeric_limits<float>::infinity();
    std::uint32_t seed = 1;

    double renderSeconds() const { return strictness >= 3 ? 3.0 : strictness == 2 ? 2.0 : 1.0; }
    double hammerSeconds() const { return strictness >= 3 ? 2.0 : strictness == 2 ? 1.0 : 0.5; }
    int loadCycles() const { return strictness >= 3 ? 50 : strictness == 2 ? 20 : 5; }
    int instanceCount() const { return strictness >= 3 ? 8 : strictness == 2 ? 4 : 3; }
    int randomChunks() const { return strictness >= 3 ? 200 : strictness == 2 ? 50 : 10; }
    std::vector<float> sampleRates() const;
};

// Loads a fresh instance of the plug-in; null with the reason in error when that fails.
std::unique_ptr<testhost::Plugin> loadPlugin(const Settings& settings, std::string& error);
// Loads and starts one (effOpen, rate, block size, resume).
std::unique_ptr<testhost::Plugin> startPlugin(const Settings& settings, std::string& error,
                                              float rate = 44100, int maxBlock = 8192);

} // namespace orvane::validate
