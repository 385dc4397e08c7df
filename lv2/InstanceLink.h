// SPDX-License-Identifier: GPL-3.0-or-later
// What the user interface reaches through instance-access. Both modules are built from this
// header; the interface holds no code of the plug-in module, so it reaches the effect through
// its AEffect and the values below, all single words.
#pragma once

#include "adapter/EffectDriver.h"
#include "host/vst2.h"

#include <atomic>
#include <limits>

namespace orvane::lv2 {

// How many of its own port writes the interface remembers per port: hosts pass them back later,
// while the effect may have moved on.
constexpr int kEchoDepth = 8;

struct InstanceLink {
    InstanceLink() {
        for (std::size_t i = 0; i < adapter::kExposedCount; ++i) {
            seen[i] = std::numeric_limits<float>::quiet_NaN();
            for (auto& value : echo[i])
                value = std::numeric_limits<float>::quiet_NaN();
        }
    }

    bool isEcho(std::size_t port, float value) const {
        for (const auto& written : echo[port])
            if (written.load() == value) return true;
        return false;
    }
    // Every run calls this for every port: a plain load first keeps the read-modify-write, and
    // its cost, to the rare slot that holds the value.
    void takeEcho(std::size_t port, float value) {
        for (auto& written : echo[port]) {
            float expected = value;
            if (written.load(std::memory_order_relaxed) == value)
                written.compare_exchange_strong(expected, std::numeric_limits<float>::quiet_NaN());
        }
    }

    AEffect* effect = nullptr;
    // Where the effect's editor callbacks go while the user interface is open.
    std::atomic<adapter::EffectDriver::Listener*> ui{nullptr};
    // Per control port: the value the plug-in last took from the port (its start value before
    // the first run), and the values the interface wrote to it lately, each until the plug-in
    // finds it on the port. A port showing either says nothing new and never overwrites the
    // effect.
    std::atomic<float> seen[adapter::kExposedCount];
    std::atomic<float> echo[adapter::kExposedCount][kEchoDepth];
};

} // namespace orvane::lv2
