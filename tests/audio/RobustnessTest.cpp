// SPDX-License-Identifier: GPL-3.0-or-later
// Block sizes, in-place buffers, hostile samples, missing buffers and the caller's
// floating-point mode.
#include "tests/audio/EffectHarness.h"

#include <cfenv>
#include <limits>
#include <xmmintrin.h>

using namespace orvane::test;

namespace {

constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;

Stereo processInPlace(Effect& effect, Stereo buffer, int block) {
    for (int start = 0; start < buffer.frames(); start += block) {
        const int frames = std::min(block, buffer.frames() - start);
        float* channels[2] = {buffer.left.data() + start, buffer.right.data() + start};
        effect.host().process(channels, channels, frames);
    }
    return buffer;
}

bool allFinite(const Stereo& s) {
    for (int i = 0; i < s.frames(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) return false;
    return true;
}

} // namespace

TEST(Robustness, BlockSizesAndInPlaceBuffersGiveIdenticalOutput) {
    const Stereo in = noise(20000, 0.7f, 9);
    Effect reference;
    const Stereo expected = reference.process(in, 512);
    for (int block : {1, 7, 4096}) {
        Effect effect;
        const Stereo out = effect.process(in, block);
        expectSame(out, expected, std::to_string(block));
    }
    for (int block : {7, 512}) {
        Effect effect;
        const Stereo out = processInPlace(effect, in, block);
        expectSame(out, expected, "in place " + std::to_string(block));
    }
}

TEST(Robustness, NonFiniteSamplesEnterAsSilence) {
    const float inf = std::numeric_limits<float>::infinity();
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(), inf, -inf,
                             std::numeric_limits<float>::signaling_NaN()};
    for (bool bypass : {false, true}) {
        Stereo in = noise(8000, 0.5f, 10), zeroed = in;
        for (int k = 0; k < 4; ++k) {
            in.left[1000 + 37 * k] = hostile[k];
            in.right[2000 + 53 * k] = hostile[3 - k];
            zeroed.left[1000 + 37 * k] = 0.0f;
            zeroed.right[2000 + 53 * k] = 0.0f;
        }
        Effect effect, reference;
        effect.set(kBypass, bypass ? 1.0f : 0.0f);
        reference.set(kBypass, bypass ? 1.0f : 0.0f);
        const Stereo out = effect.process(in);
        EXPECT_TRUE(allFinite(out)) << bypass;
        const Stereo expected = reference.process(zeroed);
        expectSame(out, expected, std::to_string(bypass));
    }
}

TEST(Robustness, AbsurdlyLargeSamplesCannotPoisonTheFilters) {
    Effect effect; // every stage on
    effect.set(kMainVolume, 1.0f);
    Stereo in = noise(4000, 0.5f, 11);
    for (int i = 100; i < 200; ++i) {
        in.left[i] = (i % 2 ? 1 : -1) * std::numeric_limits<float>::max();
        in.right[i] = (i % 3 ? 1 : -1) * 3.0e38f;
    }
    const Stereo out = effect.process(in);
    EXPECT_TRUE(allFinite(out));
    EXPECT_LT(std::fabs(out.left.back()), 0.999f);
}

TEST(Robustness, SilenceAfterSignalFlushesToZeroInsteadOfSubnormals) {
    Effect effect;
    effect.set(kAirOn, 0.0f); // the Air offset would keep the split's states above zero
    effect.process(noise(4096, 0.5f, 12));
    const Stereo out = effect.process(constant(44100, 0.0f, 0.0f));
    for (int i = 0; i < out.frames(); ++i) {
        ASSERT_NE(std::fpclassify(out.left[i]), FP_SUBNORMAL) << i;
        ASSERT_NE(std::fpclassify(out.right[i]), FP_SUBNORMAL) << i;
    }
    EXPECT_EQ(out.left.back(), 0.0f);
}

// The host's floating-point mode is its own: processing neither keeps FTZ/DAZ switched on
// afterwards nor lets a host's rounding mode change the sound.
TEST(Robustness, CallerFloatingPointModeIsRestoredAndDoesNotChangeTheSound) {
    const Stereo in = noise(3000, 0.5f, 13);
    const unsigned callerMode = _mm_getcsr();
    Effect reference;
    const Stereo expected = reference.process(in);
    EXPECT_EQ(_mm_getcsr(), callerMode);

    const unsigned towardZero = (callerMode & ~(kFlushToZero | kDenormalsAreZero)) | 0x6000;
    _mm_setcsr(towardZero);
    Effect effect;
    const Stereo out = effect.process(in);
    const unsigned after = _mm_getcsr();
    _mm_setcsr(callerMode);
    EXPECT_EQ(after, towardZero);
    expectSame(out, expected);
}

TEST(Robustness, DeprecatedAccumulatingEntryReplacesTheOutput) {
    const Stereo in = noise(1024, 0.5f, 14);
    Effect reference, effect;
    const Stereo expected = reference.process(in);
    Stereo out = constant(1024, 0.25f, -0.25f);
    float* inputs[2] = {const_cast<float*>(in.left.data()), const_cast<float*>(in.right.data())};
    float* outputs[2] = {out.left.data(), out.right.data()};
    AEffect* raw = effect.host().effect();
    raw->process(raw, inputs, outputs, 1024);
    expectSame(out, expected);
}

TEST(Robustness, MissingBuffersAndEmptyBlocksAreIgnored) {
    const Stereo in = noise(600, 0.5f, 15);
    Effect effect, reference;
    float buffer[4] = {0.25f, 0.25f, 0.25f, 0.25f};
    float* channels[2] = {buffer, buffer + 2};
    float* missing[2] = {buffer, nullptr};
    AEffect* raw = effect.host().effect();
    raw->processReplacing(raw, nullptr, channels, 2);
    raw->processReplacing(raw, channels, nullptr, 2);
    raw->processReplacing(raw, missing, channels, 2);
    raw->processReplacing(raw, channels, missing, 2);
    raw->processReplacing(raw, channels, channels, 0);
    raw->processReplacing(raw, channels, channels, -5);
    raw->process(raw, nullptr, nullptr, 16);
    for (float sample : buffer)
        EXPECT_EQ(sample, 0.25f) << "no buffer written";
    // Nothing was processed: the sample counter and the filters are where they started.
    const Stereo out = effect.process(in), expected = reference.process(in);
    expectSame(out, expected);
}
