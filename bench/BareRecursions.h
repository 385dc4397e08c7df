// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's recursions with nothing around them: the Air biquad and the split's two one-pole
// stages, four sub-steps per sample, both channels, fixed coefficients. The floor the effect's
// own processing is measured against.
#pragma once

class BareRecursions {
public:
    explicit BareRecursions(double sampleRate);
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                 int frames);

private:
    struct Channel {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        float s1 = 0, s2 = 0;
    };
    float run(Channel& channel, float input) const;

    double b0, b1, b2, a1, a2;
    float g;
    Channel left, right;
};
