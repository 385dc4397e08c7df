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
    left = Channel{};
    right = Channel{};
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

double TParaEQ::step(Channel& channel, double x, int newest, int previous, int oldest) const {
    const double y = b0 * x + b1 * channel.input[previous] + b2 * channel.input[oldest] -
                     a1 * channel.output[previous] - a2 * channel.output[oldest] + antiDenormal;
    channel.input[newest] = x;
    channel.output[newest] = y;
    return y;
}

void TParaEQ::process(float& leftSample, float& rightSample) {
    const double xl = leftSample * 0.01;
    const double xr = rightSample * 0.01;
    double sumLeft = 0.0;
    double sumRight = 0.0;
    int position = ringPosition;
    for (int subStep = 0; subStep < 4; ++subStep) {
        const int previous = position;
        position = position == 2 ? 0 : position + 1;
        const int oldest = position == 2 ? 0 : position + 1;
        sumLeft += step(left, xl, position, previous, oldest);
        sumRight += step(right, xr, position, previous, oldest);
    }
    ringPosition = position;
    leftSample = static_cast<float>(sumLeft * 0.25 * 100.0);
    rightSample = static_cast<float>(sumRight * 0.25 * 100.0);
}
