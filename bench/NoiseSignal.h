// SPDX-License-Identifier: GPL-3.0-or-later
// The stereo noise the audio benchmarks run through the effect, the same in every case.
#pragma once

#include <random>
#include <vector>

constexpr int kSignalFrames = 1 << 16;

struct Signal {
    std::vector<float> left, right;
};

inline const Signal& noise() {
    static const Signal signal = [] {
        Signal s{std::vector<float>(kSignalFrames), std::vector<float>(kSignalFrames)};
        std::mt19937 random(1);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (int i = 0; i < kSignalFrames; ++i) {
            s.left[i] = uniform(random);
            s.right[i] = uniform(random);
        }
        return s;
    }();
    return signal;
}
