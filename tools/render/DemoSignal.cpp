// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/DemoSignal.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr double kLowHz = 55.0, kSweepFromHz = 200.0, kSweepToHz = 18000.0;
} // namespace

DemoSignal::DemoSignal(double seconds) : frames(std::max(1L, std::lround(seconds * kSampleRate))) {}

long DemoSignal::read(float* interleaved, long count) {
    const long n = std::min(count, frames - position);
    for (long i = 0; i < n; ++i, ++position) {
        const double t = static_cast<double>(position) / kSampleRate;
        const double progress = static_cast<double>(position) / frames;
        const double sweepHz = kSweepFromHz * std::pow(kSweepToHz / kSweepFromHz, progress);
        sweepPhase = std::fmod(sweepPhase + kTwoPi * sweepHz / kSampleRate, kTwoPi);
        const double sweep = 0.15 * std::sin(sweepPhase);
        interleaved[2 * i] =
            static_cast<float>(0.25 * std::sin(kTwoPi * kLowHz * t) + sweep + 0.02 * noise(random));
        interleaved[2 * i + 1] = static_cast<float>(0.25 * std::sin(kTwoPi * kLowHz * t + 1.2) +
                                                    sweep + 0.02 * noise(random));
    }
    return n;
}
