// SPDX-License-Identifier: GPL-3.0-or-later
// The preloaded interposer as the validator uses it: arm it around each call the processing
// thread makes, and sum what those calls did that a processing thread must never do.
#pragma once

#include "tools/rtcheck/RtCheck.h"

#include <string>

namespace orvane::validate {

class RealtimeCounter {
public:
    RealtimeCounter();
    // False when liborvane_rtcheck.so is not preloaded.
    bool available() const { return begin && end; }

    template <typename Call> void count(Call&& call) {
        begin();
        call();
        OrvaneRtCounts counts;
        end(&counts);
        add(counts);
    }
    bool clean() const;
    // "N allocations, ... in M calls; the first was NAME", or "M calls" when clean.
    std::string summary() const;

private:
    void add(const OrvaneRtCounts& counts);
    void (*begin)() = nullptr;
    void (*end)(OrvaneRtCounts*) = nullptr;
    OrvaneRtCounts total{};
    long calls = 0;
};

} // namespace orvane::validate
