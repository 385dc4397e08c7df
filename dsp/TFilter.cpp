// SPDX-License-Identifier: GPL-3.0-or-later
#include "dsp/TFilter.h"

#include <algorithm>
#include <cmath>

namespace {
// Keeps tan() below its pole so that g stays under 1 and the recursion stable; only reached
// with a cutoff far above the oversampled band (host rates under about 9 kHz).
constexpr float kMaxWarpedAngle = 1.5f;
} // namespace

void TFilter::init(float rate) {
    sampleRate = std::max(1.0f, rate);
    control = 0.0f;
    cutoff = 0.0f;
    g = 0.0f;
    firstStage = Lanes{};
    secondStage = Lanes{};
    coefficientsCurrent = false;
}

void TFilter::setFrequency(float value) {
    control = std::clamp(value, 0.0f, 1.0f);
}

void TFilter::update(float octaves) {
    const float c = std::clamp(control, 0.0f, 1.0f);
    if (coefficientsCurrent && c == coefficientControl && octaves == coefficientOctaves) return;

    cutoff = static_cast<float>(20.0 * std::pow(2.0, c * octaves));
    const float k = 1.414f / sampleRate;
    const float angle = std::min(cutoff * k * 0.5f, kMaxWarpedAngle);
    const float t = std::tan(angle) * (2.0f / k) * k * 0.5f;
    g = t / (1.0f + t);

    coefficientsCurrent = true;
    coefficientControl = c;
    coefficientOctaves = octaves;
}

void TFilter::processZero(float left, float right, float& lowLeft, float& lowRight) {
    const Lanes x = {left, right, 0.0f, 0.0f};
    Lanes s1 = firstStage, s2 = secondStage, sum = {};
    for (int subStep = 0; subStep < 4; ++subStep) {
        Lanes v = (x - s1) * g;
        const Lanes y1 = s1 + v;
        s1 = y1 + v;
        v = (y1 - s2) * g;
        const Lanes y2 = s2 + v;
        s2 = y2 + v;
        sum += y2;
    }
    firstStage = s1;
    secondStage = s2;
    const Lanes low = sum * 0.25f;
    lowLeft = low[0];
    lowRight = low[1];
}
