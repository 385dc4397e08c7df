// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/audio/EffectHarness.h"

using namespace orvane::test;

namespace {

Stereo withOverloads(Stereo s) {
    const float overloads[] = {1.5f, -2.0f, 0.999f, 0.9991f, -0.9995f, 1e6f, -1.0f};
    for (size_t i = 0; i < std::size(overloads); ++i) {
        s.left[10 + i] = overloads[i];
        s.right[20 + i] = -overloads[i];
    }
    return s;
}

void expectLimitedCopy(const Stereo& out, const Stereo& in, float gain = 1.0f) {
    for (int i = 0; i < in.frames(); ++i) {
        ASSERT_EQ(out.left[i], limited(in.left[i] * gain)) << "frame " << i;
        ASSERT_EQ(out.right[i], limited(in.right[i] * gain)) << "frame " << i;
    }
}

// Every stage off but the split at its top frequency; range 0 splits at 150 Hz, range 1 is
// "Full Range".
void splitOnly(Effect& effect, MonoType type, float range, bool solo = false) {
    effect.allStagesOff();
    effect.set(kSplitOn, 1.0f);
    effect.set(kSplitSolo, solo ? 1.0f : 0.0f);
    effect.set(kSplitRange, range);
    effect.set(kSplitFrequency, 1.0f);
    effect.set(kMonoType, monoTypeValue(type));
}

} // namespace

TEST(AudioPath, MainVolumeSpansMuteToTimesTen) {
    const Stereo in = noise(2000, 0.2f);
    Effect loudest;
    loudest.allStagesOff();
    loudest.set(kMainVolume, 1.0f);
    expectLimitedCopy(loudest.process(in), in, 10.0f);

    for (float mute : {0.0f, 0.0009f}) {
        Effect muted;
        muted.allStagesOff();
        muted.set(kMainVolume, mute);
        const Stereo out = muted.process(in);
        for (int i = 0; i < in.frames(); ++i)
            ASSERT_EQ(out.left[i] + out.right[i], 0.0f) << mute;
    }

    Effect quietest;
    quietest.allStagesOff();
    quietest.set(kMainVolume, 0.001f);
    const Stereo out = quietest.process(constant(64, 0.5f, 0.5f));
    EXPECT_NEAR(out.left.back(), 0.5f * std::pow(10.0f, (0.04f - 20.0f) / 20.0f), 1e-7f);
}

// With every stage off at 0 dB, or bypassed whatever the settings, the input passes up to the
// output limit.
TEST(AudioPath, EveryStageOffAndBypassPassTheInputUpToTheLimit) {
    const Stereo in = withOverloads(noise(5000, 1.0f));
    Effect off, bypassed; // first factory program: Air and split on
    off.allStagesOff();
    bypassed.set(kMainVolume, 0.9f);
    bypassed.set(kBypass, 1.0f);
    expectLimitedCopy(off.process(in), in);
    expectLimitedCopy(bypassed.process(in), in);
}

// The stages keep running under bypass, so leaving it continues from current filter state.
TEST(AudioPath, LeavingBypassContinuesWithoutStaleState) {
    const Stereo in = noise(8000, 0.5f, 4);
    Effect bypassedFirst, neverBypassed;
    bypassedFirst.set(kBypass, 1.0f);
    const Stereo head = slice(in, 0, 3000), tail = slice(in, 3000, 5000);
    bypassedFirst.process(head);
    neverBypassed.process(head);
    bypassedFirst.set(kBypass, 0.0f);
    const Stereo a = bypassedFirst.process(tail), b = neverBypassed.process(tail);
    expectSame(a, b);
}

class FullRangeFold : public ::testing::TestWithParam<bool> {};

// "Full Range" at the top frequency folds the whole signal, unfiltered, solo or not.
TEST_P(FullRangeFold, EachMonoTypeFoldsTheWholeSignal) {
    const bool solo = GetParam();
    struct Case {
        MonoType type;
        float left, right, expected;
    };
    const float gain = std::pow(10.0f, (0.04f - 20.0f) / 20.0f); // volume 0.001
    const Case cases[] = {
        {kLeft, 3.0f, -1.0f, 3.0f},       {kRight, 3.0f, -1.0f, -1.0f},
        {kSum, 0.8f, 0.8f, 0.8f},         {kSum, 1.0f, 1.0f, 1.0f},
        {kSum, 3.0f, 1.0f, 1.0f},         {kDifference, 0.6f, -0.2f, 0.4f},
        {kDifference, 3.0f, -5.0f, 1.0f}, {kDifference, 0.5f, 0.5f, 0.0f},
    };
    for (const Case& c : cases) {
        Effect effect;
        splitOnly(effect, c.type, 1.0f, solo);
        effect.set(kMainVolume, 0.001f);
        const Stereo out = effect.process(constant(32, c.left, c.right));
        EXPECT_FLOAT_EQ(out.left.back(), c.expected * gain) << c.type << " " << c.left;
        EXPECT_FLOAT_EQ(out.right.back(), c.expected * gain) << c.type << " " << c.left;
    }
}

INSTANTIATE_TEST_SUITE_P(SoloAndNot, FullRangeFold, ::testing::Bool());

TEST(AudioPath, DifferenceCancelsACommonLowBandAndKeepsTheHighBand) {
    const auto run = [](const Stereo& in) {
        Effect effect;
        splitOnly(effect, kDifference, 0.0f);
        return effect.process(in);
    };
    const Stereo dc = run(constant(44100, 0.5f, 0.5f));
    EXPECT_NEAR(dc.left.back(), 0.0f, 1e-3f);
    EXPECT_NEAR(dc.right.back(), 0.0f, 1e-3f);

    const Stereo high = sine(44100, 15000.0, 44100.0);
    const Stereo out = run(high);
    EXPECT_NEAR(rms(out.left, 4410) / rms(high.left, 4410), 1.0f, 0.01f);
    EXPECT_NEAR(rms(out.right, 4410) / rms(high.right, 4410), 1.0f, 0.01f);
}

TEST(AudioPath, SoloLeftOutputsTheLowBandOfTheLeftChannelOnBoth) {
    Effect effect;
    splitOnly(effect, kLeft, 0.0f, true);
    Stereo in = sine(44100, 15000.0, 44100.0);
    for (int i = 0; i < in.frames(); ++i)
        in.left[i] += 0.3f; // a low band on the left only
    const Stereo out = effect.process(in);
    EXPECT_EQ(out.left, out.right);
    EXPECT_NEAR(out.left.back(), 0.3f, 1e-3f);
    EXPECT_LT(rms(out.left, 4410), 0.31f);
}
