// SPDX-License-Identifier: GPL-3.0-or-later
#include "dsp/TFilter.h"
#include "tests/dsp/Response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

using namespace orvane::test;

namespace {

TFilter makeLowPass(float rate, float control, float octaves) {
    TFilter filter;
    filter.init(rate);
    filter.setFrequency(control);
    filter.update(octaves);
    return filter;
}

// Two cascaded trapezoidal one-poles with g = t / (1 + t), t = tan(0.707 × cutoff / rate).
Complex cascadeResponse(double cutoff, double rate, double theta) {
    const double t = std::tan(0.707 * cutoff / rate);
    const double g = t / (1.0 + t);
    const Complex z1 = std::polar(1.0, -theta);
    const Complex onePole = g * (1.0 + z1) / (1.0 - (1.0 - 2.0 * g) * z1);
    return onePole * onePole;
}

float lowLeft(TFilter& filter, float x) {
    float low = 0.0f, lowRight = 0.0f;
    filter.processZero(x, -x, low, lowRight);
    return low;
}

} // namespace

TEST(TFilter, SilentUntilTheFirstUpdate) {
    TFilter filter;
    filter.init(48000.0f);
    filter.setFrequency(0.5f);
    for (float x : {1.0f, -0.5f, 0.25f}) {
        float left = 1.0f, right = 1.0f;
        filter.processZero(x, x, left, right);
        EXPECT_EQ(left, 0.0f);
        EXPECT_EQ(right, 0.0f);
    }
}

TEST(TFilter, CutoffSpansTwentyHertzTimesTwoToTheOctaves) {
    EXPECT_EQ(makeLowPass(44100.0f, 1.0f, 10.0f).cutoffHz(), 20480.0f);
    EXPECT_EQ(makeLowPass(44100.0f, 0.0f, 10.0f).cutoffHz(), 20.0f);
    EXPECT_EQ(makeLowPass(44100.0f, 0.0f, 2.90689063f).cutoffHz(), 20.0f);
    EXPECT_NEAR(makeLowPass(44100.0f, 1.0f, 2.90689063f).cutoffHz(), 150.0f, 1e-3f);
    EXPECT_EQ(makeLowPass(44100.0f, 7.0f, 10.0f).cutoffHz(), 20480.0f);
    EXPECT_EQ(makeLowPass(44100.0f, -3.0f, 10.0f).cutoffHz(), 20.0f);
}

// Single-precision states stop moving once a step falls below half an ulp, so at the lowest
// cutoffs (20 Hz) a constant settles to within about 2e-4 of its value.
TEST(TFilter, ConstantInputSettlesOnBothChannels) {
    for (float control : {0.0f, 0.5f, 1.0f}) {
        TFilter filter = makeLowPass(44100.0f, control, 3.90689063f);
        float left = 0.0f, right = 0.0f;
        for (int n = 0; n < 4 * 44100; ++n)
            filter.processZero(0.6f, -0.9f, left, right);
        EXPECT_NEAR(left, 0.6f, 3e-4f) << control;
        EXPECT_NEAR(right, -0.9f, 3e-4f) << control;
    }
}

class TFilterResponse : public ::testing::TestWithParam<std::tuple<int, float, float>> {};

TEST_P(TFilterResponse, MatchesTheCascadeAtFourTimesTheRate) {
    const auto [rate, control, octaves] = GetParam();
    TFilter filter = makeLowPass(static_cast<float>(rate), control, octaves);
    const double cutoff = 20.0 * std::pow(2.0, control * octaves);
    for (double ratio : {0.1, 0.5, 1.0, 2.0, 10.0}) {
        const double hz = std::round(cutoff * ratio);
        if (hz < 1.0 || hz >= rate / 2.0) continue;
        const Complex measured =
            measuredGain([&](float x) { return lowLeft(filter, x); }, hz, rate, 4 * rate);
        const Complex expected =
            heldAndAveraged([&](double theta) { return cascadeResponse(cutoff, rate, theta); },
                            2.0 * kPi * hz / rate);
        EXPECT_NEAR(measured.real(), expected.real(), 2e-5) << hz << " Hz";
        EXPECT_NEAR(measured.imag(), expected.imag(), 2e-5) << hz << " Hz";
        if (ratio <= 0.1) {
            EXPECT_GT(std::abs(measured), 0.98);
        }
        if (ratio >= 10.0) {
            EXPECT_LT(std::abs(measured), 0.02);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndRanges, TFilterResponse,
                         ::testing::Values(std::make_tuple(44100, 1.0f, 2.90689063f),
                                           std::make_tuple(48000, 0.5f, 4.64385605f),
                                           std::make_tuple(96000, 0.8f, 10.0f),
                                           std::make_tuple(44100, 0.6f, 10.0f)));

TEST(TFilter, StaysStableWhenTheCutoffIsFarAboveTheRate) {
    for (float rate : {8000.0f, 4000.0f, 100.0f, 0.0f}) {
        TFilter filter = makeLowPass(rate, 0.98f, 10.0f);
        std::mt19937 random(9);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        for (int n = 0; n < 100000; ++n) {
            const float low = lowLeft(filter, noise(random));
            ASSERT_TRUE(std::isfinite(low)) << rate;
            ASSERT_LT(std::fabs(low), 2.0f) << rate;
        }
    }
}

// The low band is defined to the last bit: a double-precision power, then single precision
// throughout, including the detour through k and 2 / k.
TEST(TFilter, ReproducesTheDefinedArithmeticBitForBit) {
    const float rate = 48000.0f, control = 0.43f, octaves = 4.64385605f;
    const float cutoff = static_cast<float>(20.0 * std::pow(2.0, control * octaves));
    const float k = 1.414f / rate;
    const float t = std::tan(cutoff * k * 0.5f) * (2.0f / k) * k * 0.5f;
    const float g = t / (1.0f + t);

    struct States {
        float s1 = 0.0f, s2 = 0.0f;
    };
    const auto reference = [&](States& s, float x) {
        float sum = 0.0f;
        for (int subStep = 0; subStep < 4; ++subStep) {
            float v = (x - s.s1) * g;
            const float y1 = s.s1 + v;
            s.s1 = y1 + v;
            v = (y1 - s.s2) * g;
            const float y2 = s.s2 + v;
            s.s2 = y2 + v;
            sum += y2;
        }
        return sum * 0.25f;
    };

    TFilter filter = makeLowPass(rate, control, octaves);
    States leftStates, rightStates;
    std::mt19937 random(13);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int n = 0; n < 4096; ++n) {
        const float left = noise(random), right = noise(random);
        float lowLeft = 0.0f, lowRight = 0.0f;
        filter.processZero(left, right, lowLeft, lowRight);
        ASSERT_EQ(lowLeft, reference(leftStates, left)) << "sample " << n;
        ASSERT_EQ(lowRight, reference(rightStates, right)) << "sample " << n;
    }
}
