// SPDX-License-Identifier: GPL-3.0-or-later
// The CLAP module through the CLAP test host, beside the LV2 and VST 2.4 modules.
#pragma once

#include "lv2/Lv2Hosts.h"
#include "tools/claphost/ClapHost.h"

inline std::unique_ptr<orvane::claphost::ClapPlugin>
loadClap(orvane::claphost::HostOptions options = {}) {
    std::string error;
    auto plugin =
        orvane::claphost::ClapPlugin::load(orvane::claphost::builtClapPath(), options, &error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}
