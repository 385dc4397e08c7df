// SPDX-License-Identifier: GPL-3.0-or-later
#include "dsp/TParaEQ.h"

#include <algorithm>
#include <cmath>

namespace {
// 2π rounded to single precision: the coefficients are defined with this value.
constexpr double kTwoPi = 6.2831854820251465;
// Below the oversampled Nyquist limit: past it the section's poles leave the unit circle,
// which happens when the host rate is under 20 kHz.
constexpr float kMaxNormalisedFrequency = 0.49f;
} // namespace

void TParaEQ::init(float rate) {
    sampleRate = rate;
    oversampling = 4.0f;
    antiDenormal = 1.0e-15;
    smoothedFrequency = 0.0f;
    ringPosition = 0;
    for (int i = 0; i < 3; ++i) {
        inputHistory[i] = Pair{};
        outputHistory[i] = Pair{};
    }
    b0 = b1 = b2 = a1 = a2 = 0.0;
    coefficientsCurrent = false;
}

void TParaEQ::setParameter(float frequencyControl, float qControl, float gainControl, bool jump) {
    smoothedFrequency =
        jump ? frequencyControl : 0.01f * frequencyControl + 0.99f * smoothedFrequency;
    if (coefficientsCurrent && smoothedFrequency == coefficientFrequency &&
        qControl == coefficientQ && gainControl == coefficientGain)
        return;
    computeCoefficients(qControl, gainControl);
}

void TParaEQ::computeCoefficients(float qControl, float gainControl) {
    const float frequency = 30000.0f * std::pow(2.0f, 0.415f * smoothedFrequency);
    const float normalised =
        std::min(frequency / (oversampling * sampleRate), kMaxNormalisedFrequency);
    const float q = std::pow(2.0f, 4.0f - 10.0f * qControl);
    const float gainDb = 6.0f * gainControl;

    const double sn = std::sin(kTwoPi * normalised);
    const double cs = std::cos(kTwoPi * normalised);
    const double amplitude = std::pow(10.0, gainDb / 40.0);
    const double alpha = sn / (2.0 * q);

    const double a0 = 1.0 + alpha / amplitude;
    b0 = (1.0 + alpha * amplitude) / a0;
    b1 = -2.0 * cs / a0;
    b2 = (1.0 - alpha * amplitude) / a0;
    a1 = -2.0 * cs / a0;
    a2 = (1.0 - alpha / amplitude) / a0;

    coefficientsCurrent = true;
    coefficientFrequency = smoothedFrequency;
    coefficientQ = qControl;
    coefficientGain = gainControl;
}

// The ring is read into locals and written back once, so the four sub-steps run on registers.
void TParaEQ::process(float& left, float& right) {
    const int newest = ringPosition;
    const int previous = newest == 0 ? 2 : newest - 1;
    const Pair x = Pair{left, right} * 0.01;
    Pair x1 = inputHistory[newest], x2 = inputHistory[previous], x3 = {};
    Pair y1 = outputHistory[newest], y2 = outputHistory[previous], y3 = {};
    Pair sum = {};
    for (int subStep = 0; subStep < 4; ++subStep) {
        const Pair y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + antiDenormal;
        x3 = x2;
        x2 = x1;
        x1 = x;
        y3 = y2;
        y2 = y1;
        y1 = y;
        sum += y;
    }
    // Four sub-steps move the newest entry one place on.
    ringPosition = newest == 2 ? 0 : newest + 1;
    inputHistory[ringPosition] = x1;
    inputHistory[newest] = x2;
    inputHistory[previous] = x3;
    outputHistory[ringPosition] = y1;
    outputHistory[newest] = y2;
    outputHistory[previous] = y3;
    const Pair out = sum * 0.25 * 100.0;
    left = static_cast<float>(out[0]);
    right = static_cast<float>(out[1]);
}
