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
    left = Stages{};
    right = Stages{};
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

float TFilter::run(Stages& stages, float x) const {
    float sum = 0.0f;
    for (int subStep = 0; subStep < 4; ++subStep) {
        float v = (x - stages.first) * g;
        const float y1 = stages.first + v;
        stages.first = y1 + v;
        v = (y1 - stages.second) * g;
        const float y2 = stages.second + v;
        stages.second = y2 + v;
        sum += y2;
    }
    return sum * 0.25f;
}

void TFilter::processZero(float leftIn, float rightIn, float& lowLeft, float& lowRight) {
    lowLeft = run(left, leftIn);
    lowRight = run(right, rightIn);
}
