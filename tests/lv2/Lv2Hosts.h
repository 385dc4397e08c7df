// SPDX-License-Identifier: GPL-3.0-or-later
// The effect loaded twice, as an LV2 plug-in through lilv and as a VST 2.4 plug-in through the
// test host, and a stereo signal to render through either.
#pragma once

#include "audio/VstReference.h"
#include "host/vst2.h"
#include "lv2/InstanceLink.h"
#include "lv2/Ports.h"
#include "tools/lv2host/Lv2Host.h"
#include "tools/testhost/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

// Noise, a low sine and a high sine: exercises both bands of the split and the Air stage.
inline StereoSignal testSignal(int frames) {
    StereoSignal s{std::vector<float>(frames), std::vector<float>(frames)};
    unsigned seed = 12345;
    for (int i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float noise = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
        s.left[i] = 0.3f * std::sin(0.01f * i) + 0.2f * noise;
        s.right[i] = 0.3f * std::sin(1.9f * i) - 0.1f * noise;
    }
    return s;
}

inline std::unique_ptr<orvane::lv2host::Lv2Plugin> loadLv2() {
    std::string error;
    auto plugin = orvane::lv2host::Lv2Plugin::load(orvane::lv2host::builtBundlePath(),
                                                   orvane::lv2::kPluginUri, 44100, &error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

inline std::unique_ptr<orvane::testhost::Plugin> loadVst() {
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    EXPECT_TRUE(plugin) << error;
    if (plugin) plugin->start(44100, 512);
    return plugin;
}

// The effect inside an LV2 instance, reached as a user interface reaches it.
inline AEffect* effectOf(const orvane::lv2host::Lv2Plugin& plugin) {
    return static_cast<orvane::lv2::InstanceLink*>(plugin.handle())->effect;
}

inline std::string programName(AEffect* effect) {
    char name[kVstMaxProgNameLen * 4] = {};
    effect->dispatcher(effect, effGetProgramName, 0, 0, name, 0);
    return name;
}
