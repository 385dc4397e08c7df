// SPDX-License-Identifier: GPL-3.0-or-later
#include "dsp/TParaEQ.h"
#include "tests/dsp/Response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>

using namespace orvane::test;

namespace {

constexpr float kAirQ = 0.6875f;

// The peaking section of the Audio EQ Cookbook, all in double precision.
Complex cookbookPeak(double centreHz, double rate4x, double gainDb, double q, double theta) {
    const double w0 = 2.0 * kPi * centreHz / rate4x;
    const double amplitude = std::pow(10.0, gainDb / 40.0);
    const double alpha = std::sin(w0) / (2.0 * q);
    const double a0 = 1.0 + alpha / amplitude;
    return biquadResponse((1.0 + alpha * amplitude) / a0, -2.0 * std::cos(w0) / a0,
                          (1.0 - alpha * amplitude) / a0, -2.0 * std::cos(w0) / a0,
                          (1.0 - alpha / amplitude) / a0, theta);
}

TParaEQ makeSection(float rate, float frequencyControl, float gainControl) {
    TParaEQ eq;
    eq.init(rate);
    eq.setParameter(frequencyControl, kAirQ, gainControl, true);
    return eq;
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(TParaEQ, OutputsOnlyTheOffsetUntilFirstCoefficients) {
    TParaEQ eq;
    eq.init(44100.0f);
    for (float x : {0.7f, -1.0f, 0.0f, 123.0f}) {
        float left = x, right = -x;
        eq.process(left, right);
        EXPECT_FLOAT_EQ(left, 1.0e-13f);
        EXPECT_FLOAT_EQ(right, 1.0e-13f);
    }
}

class TParaEQResponse : public ::testing::TestWithParam<std::tuple<int, float, float>> {};

TEST_P(TParaEQResponse, MatchesCookbookPeakAtFourTimesTheRate) {
    const auto [rate, frequencyControl, gainControl] = GetParam();
    TParaEQ eq = makeSection(static_cast<float>(rate), frequencyControl, gainControl);
    const double centre = 30000.0 * std::pow(2.0, 0.415 * frequencyControl);
    const double q = std::pow(2.0, 4.0 - 10.0 * kAirQ);
    for (double hz : {100.0, 1000.0, 5000.0, 10000.0, 15000.0, 20000.0}) {
        if (hz >= rate / 2.0) continue;
        const Complex measured = measuredGain(
            [&](float x) {
                float left = x, right = 0.0f;
                eq.process(left, right);
                return left;
            },
            hz, rate);
        const Complex expected = heldAndAveraged(
            [&](double theta) {
                return cookbookPeak(centre, 4.0 * rate, 6.0 * gainControl, q, theta);
            },
            2.0 * kPi * hz / rate);
        EXPECT_NEAR(measured.real(), expected.real(), 2e-5) << hz << " Hz";
        EXPECT_NEAR(measured.imag(), expected.imag(), 2e-5) << hz << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndSettings, TParaEQResponse,
                         ::testing::Values(std::make_tuple(44100, 1.0f, 1.0f),
                                           std::make_tuple(48000, 0.0f, 0.5f),
                                           std::make_tuple(96000, 1.0f, 1.0f),
                                           std::make_tuple(22050, 0.3f, 0.8f)));

TEST(TParaEQ, ZeroGainPassesTheSignalAndAnyGainPassesDc) {
    TParaEQ flat = makeSection(44100.0f, 1.0f, 0.0f);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int n = 0; n < 1000; ++n) {
        const float x = noise(random);
        float left = x, right = -x;
        flat.process(left, right);
        EXPECT_NEAR(left, x, 1e-6f);
        EXPECT_NEAR(right, -x, 1e-6f);
    }
    TParaEQ boosted = makeSection(44100.0f, 1.0f, 1.0f);
    float left = 0.0f, right = 0.0f;
    for (int n = 0; n < 20000; ++n) {
        left = 0.25f;
        right = -0.5f;
        boosted.process(left, right);
    }
    EXPECT_NEAR(left, 0.25f, 1e-6f);
    EXPECT_NEAR(right, -0.5f, 1e-6f);
}

TEST(TParaEQ, FrequencyGlidesOnePercentPerCallAndJumpsOnReset) {
    TParaEQ eq;
    eq.init(48000.0f);
    eq.setParameter(0.8f, kAirQ, 1.0f, false);
    EXPECT_FLOAT_EQ(eq.smoothedControl(), 0.008f);
    for (int call = 1; call < 100; ++call)
        eq.setParameter(0.8f, kAirQ, 1.0f, false);
    EXPECT_NEAR(eq.smoothedControl(), 0.8 * (1.0 - std::pow(0.99, 100)), 1e-5);
    eq.setParameter(0.3f, kAirQ, 1.0f, true);
    EXPECT_EQ(eq.smoothedControl(), 0.3f);
    eq.init(48000.0f);
    EXPECT_EQ(eq.smoothedControl(), 0.0f);
}

TEST(TParaEQ, NewCoefficientsFollowEveryChangedInput) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    auto sameOutput = [&](TParaEQ a, TParaEQ b) {
        for (int n = 0; n < 256; ++n) {
            float al = noise(random), ar = -al, bl = al, br = ar;
            a.process(al, ar);
            b.process(bl, br);
            if (!sameBits(al, bl) || !sameBits(ar, br)) return false;
        }
        return true;
    };
    const TParaEQ reference = makeSection(96000.0f, 0.7f, 0.9f);
    TParaEQ gainChanged = makeSection(96000.0f, 0.7f, 0.2f);
    gainChanged.setParameter(0.7f, kAirQ, 0.9f, true);
    EXPECT_TRUE(sameOutput(gainChanged, reference));
    TParaEQ qChanged = makeSection(96000.0f, 0.7f, 0.9f);
    qChanged.setParameter(0.7f, 0.5f, 0.9f, true);
    qChanged.setParameter(0.7f, kAirQ, 0.9f, true);
    EXPECT_TRUE(sameOutput(qChanged, reference));
    TParaEQ rateChanged = makeSection(44100.0f, 0.7f, 0.9f);
    rateChanged.init(96000.0f);
    rateChanged.setParameter(0.7f, kAirQ, 0.9f, true);
    EXPECT_TRUE(sameOutput(rateChanged, reference));
}

// The sound is defined to the last bit: single-precision control arithmetic, the single-
// precision 2π, double-precision coefficients and recursion, the 1.0e-15 offset.
TEST(TParaEQ, ReproducesTheDefinedArithmeticBitForBit) {
    const float rate = 44100.0f, control = 0.37f, gainControl = 0.83f;
    const float centre = 30000.0f * std::pow(2.0f, 0.415f * control);
    const float w = centre / (4.0f * rate);
    const float q = std::pow(2.0f, 4.0f - 10.0f * kAirQ);
    const float gainDb = 6.0f * gainControl;
    const double sn = std::sin(6.2831854820251465 * w), cs = std::cos(6.2831854820251465 * w);
    const double amplitude = std::pow(10.0, gainDb / 40.0), alpha = sn / (2.0 * q);
    const double a0 = 1.0 + alpha / amplitude;
    const double b0 = (1.0 + alpha * amplitude) / a0, b1 = -2.0 * cs / a0,
                 b2 = (1.0 - alpha * amplitude) / a0, a1 = -2.0 * cs / a0,
                 a2 = (1.0 - alpha / amplitude) / a0;

    struct History {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    };
    const auto reference = [&](History& h, float input) {
        const double x = input * 0.01;
        double sum = 0.0;
        for (int subStep = 0; subStep < 4; ++subStep) {
            const double y = b0 * x + b1 * h.x1 + b2 * h.x2 - a1 * h.y1 - a2 * h.y2 + 1.0e-15;
            h.x2 = h.x1, h.x1 = x, h.y2 = h.y1, h.y1 = y;
            sum += y;
        }
        return static_cast<float>(sum * 0.25 * 100.0);
    };

    TParaEQ eq = makeSection(rate, control, gainControl);
    History leftHistory, rightHistory;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int n = 0; n < 4096; ++n) {
        float left = noise(random), right = noise(random);
        const float expectedLeft = reference(leftHistory, left);
        const float expectedRight = reference(rightHistory, right);
        eq.process(left, right);
        ASSERT_TRUE(sameBits(left, expectedLeft)) << "sample " << n;
        ASSERT_TRUE(sameBits(right, expectedRight)) << "sample " << n;
    }
}

TEST(TParaEQ, StaysStableWhenTheCentreLiesAboveTheOversampledNyquist) {
    for (float rate : {19000.0f, 16000.0f, 11025.0f, 8000.0f, 100.0f}) {
        TParaEQ eq = makeSection(rate, 1.0f, 1.0f);
        std::mt19937 random(5);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        float peak = 0.0f;
        for (int n = 0; n < 200000; ++n) {
            float left = noise(random), right = left;
            eq.process(left, right);
            ASSERT_TRUE(std::isfinite(left)) << rate;
            peak = std::max(peak, std::fabs(left));
        }
        EXPECT_LT(peak, 4.0f) << rate;
    }
}
