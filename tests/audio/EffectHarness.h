// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the built Orvane.so through the test host with whole signals.
#pragma once

#include "engine/APlugin.h"
#include "tests/host/LoadPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace orvane::test {

enum MonoType { kLeft, kRight, kSum, kDifference };

// The value the typed entry stores for a mono type.
inline float monoTypeValue(MonoType type) {
    return (static_cast<float>(type) + 0.1f) / 19.99f;
}

struct Stereo {
    std::vector<float> left, right;
    int frames() const { return static_cast<int>(left.size()); }
};

inline Stereo constant(int frames, float left, float right) {
    return {std::vector<float>(frames, left), std::vector<float>(frames, right)};
}

inline Stereo noise(int frames, float amplitude = 0.5f, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    Stereo s{std::vector<float>(frames), std::vector<float>(frames)};
    for (int i = 0; i < frames; ++i) {
        s.left[i] = uniform(random);
        s.right[i] = uniform(random);
    }
    return s;
}

inline Stereo sine(int frames, double hz, double rate, float amplitude = 0.5f) {
    Stereo s{std::vector<float>(frames), std::vector<float>(frames)};
    for (int i = 0; i < frames; ++i)
        s.left[i] = s.right[i] = static_cast<float>(amplitude * std::sin(2 * M_PI * hz * i / rate));
    return s;
}

inline Stereo slice(const Stereo& s, int from, int count) {
    return {std::vector<float>(s.left.begin() + from, s.left.begin() + from + count),
            std::vector<float>(s.right.begin() + from, s.right.begin() + from + count)};
}

// Bit for bit; a failure names the first differing frame.
inline void expectSame(const Stereo& actual, const Stereo& expected, const std::string& what = "") {
    ASSERT_EQ(actual.frames(), expected.frames()) << what;
    for (int i = 0; i < actual.frames(); ++i) {
        ASSERT_EQ(actual.left[i], expected.left[i]) << what << ", frame " << i;
        ASSERT_EQ(actual.right[i], expected.right[i]) << what << ", frame " << i;
    }
}

inline float limited(float x) {
    return std::clamp(x, -0.999f, 0.999f);
}

class Effect {
public:
    // Loaded, opened and started like a host does; parameters as the first factory program.
    explicit Effect(float rate = 44100.0f, bool start = true) : plugin(loadPlugin()) {
        if (!plugin) throw std::runtime_error("the module did not load");
        if (start) plugin->start(rate, 512);
    }

    testhost::Plugin& host() { return *plugin; }
    void set(int index, float value) { plugin->setParameter(index, value); }

    // Every stage off at 0 dB: the effect should pass its input.
    void allStagesOff() {
        set(kAirOn, 0.0f);
        set(kSplitOn, 0.0f);
        set(kMainVolume, 0.5f);
        set(kBypass, 0.0f);
    }

    Stereo process(const Stereo& in, int block = 512) {
        Stereo out{std::vector<float>(in.left.size()), std::vector<float>(in.right.size())};
        for (int start = 0; start < in.frames(); start += block) {
            const int frames = std::min(block, in.frames() - start);
            float* inputs[2] = {const_cast<float*>(in.left.data()) + start,
                                const_cast<float*>(in.right.data()) + start};
            float* outputs[2] = {out.left.data() + start, out.right.data() + start};
            plugin->process(inputs, outputs, frames);
        }
        return out;
    }

private:
    std::unique_ptr<testhost::Plugin> plugin;
};

inline float rms(const std::vector<float>& x, int from = 0) {
    double sum = 0.0;
    for (size_t i = from; i < x.size(); ++i)
        sum += double(x[i]) * x[i];
    return static_cast<float>(std::sqrt(sum / (x.size() - from)));
}

} // namespace orvane::test
