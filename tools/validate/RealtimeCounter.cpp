// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/RealtimeCounter.h"

#include <cstring>
#include <dlfcn.h>

namespace orvane::validate {

RealtimeCounter::RealtimeCounter()
    : begin(reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "orvane_rtcheck_begin"))),
      end(reinterpret_cast<void (*)(OrvaneRtCounts*)>(dlsym(RTLD_DEFAULT, "orvane_rtcheck_end"))) {}

void RealtimeCounter::add(const OrvaneRtCounts& counts) {
    if (!total.first[0]) std::memcpy(total.first, counts.first, sizeof total.first);
    total.allocations += counts.allocations;
    total.locks += counts.locks;
    total.waits += counts.waits;
    total.files += counts.files;
    total.systemCalls += counts.systemCalls;
    ++calls;
}

bool RealtimeCounter::clean() const {
    return total.allocations + total.locks + total.waits + total.files + total.systemCalls == 0;
}

std::string RealtimeCounter::summary() const {
    if (clean()) return std::to_string(calls) + " calls";
    return std::to_string(total.allocations) + " allocations, " + std::to_string(total.locks) +
           " locks, " + std::to_string(total.waits) + " waits, " + std::to_string(total.files) +
           " file and " + std::to_string(total.systemCalls) + " other system calls in " +
           std::to_string(calls) + " calls; the first was " + total.first;
}

} // namespace orvane::validate
