// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/BareRecursions.h"

#include <cmath>

BareRecursions::BareRecursions(double sampleRate) {
    // A 6 dB peak at 40 kHz, Q 0.136, at four times the rate; a 150 Hz split.
    const double w = 2.0 * M_PI * 39990.0 / (4.0 * sampleRate);
    const double amplitude = std::pow(10.0, 3.0 / 40.0);
    const double alpha = std::sin(w) / (2.0 * 0.1363);
    const double a0 = 1.0 + alpha / amplitude;
    b0 = (1.0 + alpha * amplitude) / a0;
    b1 = -2.0 * std::cos(w) / a0;
    b2 = (1.0 - alpha * amplitude) / a0;
    a1 = b1;
    a2 = (1.0 - alpha / amplitude) / a0;
    const float t = static_cast<float>(std::tan(0.707 * 150.0 / sampleRate));
    g = t / (1.0f + t);
}

float BareRecursions::run(Channel& c, float input) const {
    const double x = input * 0.01;
    double sum = 0.0;
    for (int subStep = 0; subStep < 4; ++subStep) {
        const double y = b0 * x + b1 * c.x1 + b2 * c.x2 - a1 * c.y1 - a2 * c.y2 + 1.0e-15;
        c.x2 = c.x1;
        c.x1 = x;
        c.y2 = c.y1;
        c.y1 = y;
        sum += y;
    }
    const float air = static_cast<float>(sum * 0.25 * 100.0);
    float low = 0.0f;
    for (int subStep = 0; subStep < 4; ++subStep) {
        float v = (air - c.s1) * g;
        const float y1 = c.s1 + v;
        c.s1 = y1 + v;
        v = (y1 - c.s2) * g;
        const float y2 = c.s2 + v;
        c.s2 = y2 + v;
        low += y2;
    }
    return low * 0.25f;
}

void BareRecursions::process(const float* inLeft, const float* inRight, float* outLeft,
                             float* outRight, int frames) {
    Channel l = left, r = right;
    for (int i = 0; i < frames; ++i) {
        outLeft[i] = run(l, inLeft[i]);
        outRight[i] = run(r, inRight[i]);
    }
    left = l;
    right = r;
}
