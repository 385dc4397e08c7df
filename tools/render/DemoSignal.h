// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in test signal: a low tone that differs between the channels (for the mono/stereo
// split), a rising sweep up to 18 kHz (for the Air stage) and a little noise.
#pragma once

#include <random>

class DemoSignal {
public:
    static constexpr int kSampleRate = 44100;
    explicit DemoSignal(double seconds);

    long totalFrames() const { return frames; }
    // Interleaved stereo frames; fewer than asked only at the end.
    long read(float* interleaved, long count);

private:
    long frames;
    long position = 0;
    double sweepPhase = 0.0;
    std::mt19937 random{20240229};
    std::uniform_real_distribution<float> noise{-1.0f, 1.0f};
};
