// SPDX-License-Identifier: GPL-3.0-or-later
// The built module loaded through the test host, as every integration test needs it.
#pragma once

#include "tools/testhost/TestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvane::test {

// Loaded; started (opened, set to 44100 Hz and 512 frames, resumed) when asked.
inline std::unique_ptr<testhost::Plugin> loadPlugin(testhost::HostConfig config = {},
                                                    bool start = false) {
    std::string error;
    auto plugin = testhost::Plugin::load(testhost::builtPluginPath(), std::move(config), &error);
    EXPECT_TRUE(plugin) << error;
    if (plugin && start) plugin->start();
    return plugin;
}

} // namespace orvane::test
