// Shared pieces of the tests that open the test plug-in's editor on Xvfb.
#pragma once

#include "tests/gui/TestEffect.h"
#include "tests/gui/XHarness.h"

#include <gtest/gtest.h>
#include <optional>

namespace orvane::guitest {

// Skips the test when there is no display or tool to run it with.
#define ORVANE_REQUIRE_DISPLAY()                                                                   \
    if (!::orvane::guitest::testDisplay())                                                         \
    GTEST_SKIP() << "needs " << ::orvane::guitest::missingTool()

inline std::unique_ptr<testhost::Plugin> loadTestPlugin() {
    std::string error;
    auto plugin = testhost::Plugin::load(testPluginPath(), {}, &error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

// The last value the plug-in reported for a parameter, if any.
inline std::optional<float> lastReport(testhost::Plugin& plugin, int index) {
    const auto& automate = plugin.log().automate;
    for (auto it = automate.rbegin(); it != automate.rend(); ++it)
        if (it->first == index) return it->second;
    return std::nullopt;
}

inline int reportCount(testhost::Plugin& plugin, int index) {
    int count = 0;
    for (const auto& entry : plugin.log().automate)
        count += entry.first == index;
    return count;
}

} // namespace orvane::guitest
