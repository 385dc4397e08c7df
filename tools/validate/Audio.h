// SPDX-License-Identifier: GPL-3.0-or-later
// Stereo signals, rendering through a plug-in, and comparing what came out.
#pragma once

#include "tools/testhost/TestHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvane::validate {

struct Stereo {
    std::vector<float> channel[2];
    explicit Stereo(int frames = 0, float value = 0.0f)
        : channel{std::vector<float>(frames, value), std::vector<float>(frames, value)} {}
    int frames() const { return static_cast<int>(channel[0].size()); }
    void append(const Stereo& other);
};

// Music-like material: a tone sweep and noise, different in each channel, about -10 dBFS.
Stereo testSignal(int frames, float rate, std::uint32_t seed);

// Renders the input with the block sizes nextBlock hands out (0 allowed), through separate
// input and output buffers or in place.
Stereo render(testhost::Plugin& plugin, const Stereo& input, const std::function<int()>& nextBlock,
              bool inPlace = false);
Stereo renderFixed(testhost::Plugin& plugin, const Stereo& input, int blockSize);

// How many samples differ in their bits; where the first one is.
int countDifferences(const Stereo& a, const Stereo& b, int* first = nullptr);
// Empty when every sample is finite and within the limit, else what and where.
std::string outOfBounds(const Stereo& signal, float limit);
double rms(const Stereo& signal, int from, int to);
// Renders frames of the test signal in blocks of 512: empty when the output stays finite and
// within the limit, else what and where.
std::string renderProblem(testhost::Plugin& plugin, int frames, float limit, std::uint32_t seed);

} // namespace orvane::validate
