// SPDX-License-Identifier: GPL-3.0-or-later
// The coefficient schedule, the Air glide, program resets and sample-rate announcements,
// checked bit for bit against a model built from the Air block itself.
#include "dsp/TParaEQ.h"
#include "tests/audio/EffectHarness.h"

#include <functional>

using namespace orvane::test;

namespace {

constexpr float kAirQ = 0.6875f;

// The Air stage as the effect schedules it: coefficients every fourth sample.
class AirModel {
public:
    explicit AirModel(float rate) { eq.init(rate); }
    void reinit(float rate) { eq.init(rate); }
    void jumpTo(float frequency, float amount) { eq.setParameter(frequency, kAirQ, amount, true); }
    void set(float frequency, float amount) {
        targetFrequency = frequency;
        targetAmount = amount;
    }
    Stereo process(const Stereo& in) {
        Stereo out = in;
        for (int i = 0; i < in.frames(); ++i) {
            if (counter++ % 4 == 0) eq.setParameter(targetFrequency, kAirQ, targetAmount, false);
            eq.process(out.left[i], out.right[i]);
            out.left[i] = limited(out.left[i]);
            out.right[i] = limited(out.right[i]);
        }
        return out;
    }

private:
    TParaEQ eq;
    unsigned counter = 0;
    float targetFrequency = 1.0f, targetAmount = 0.5f; // first factory program
};

// Air alone: the split is switched off, the rest is the first factory program.
void airOnly(Effect& effect) {
    effect.set(kSplitOn, 0.0f);
}

} // namespace

TEST(Schedule, VolumeChangesOnTheSixteenSampleGrid) {
    Effect effect;
    effect.allStagesOff();
    effect.process(constant(5, 0.01f, 0.01f));
    effect.set(kMainVolume, 1.0f);
    const Stereo out = effect.process(constant(30, 0.01f, -0.01f));
    for (int i = 0; i < 30; ++i) {
        const float gain = i + 5 < 16 ? 1.0f : 10.0f;
        ASSERT_EQ(out.left[i], 0.01f * gain) << i;
        ASSERT_EQ(out.right[i], -0.01f * gain) << i;
    }
}

TEST(Schedule, AirChangesOnTheFourSampleGridAndGlidesTowardItsFrequency) {
    Effect effect(48000.0f);
    airOnly(effect);
    AirModel model(48000.0f);
    const Stereo in = noise(40000, 0.5f, 2);
    // Parameter changes land between samples whose counters are not multiples of 4.
    const int cuts[] = {0, 4001, 4003, 13007, 40000};
    const std::function<void()> changes[] = {
        [&] { effect.set(kAirAmount, 1.0f), model.set(1.0f, 1.0f); },
        [&] { effect.set(kAirFrequency, 0.0f), model.set(0.0f, 1.0f); },
        [&] { effect.set(kAirFrequency, 0.6f), model.set(0.6f, 1.0f); },
        [&] {},
    };
    for (int k = 0; k + 1 < 5; ++k) {
        changes[k]();
        const Stereo part = slice(in, cuts[k], cuts[k + 1] - cuts[k]);
        expectSame(effect.process(part), model.process(part), "glide");
    }
}

TEST(Schedule, AirOffAndOnFollowWithinFourSamples) {
    Effect effect;
    airOnly(effect);
    effect.set(kAirOn, 0.0f);
    const Stereo in = noise(16, 0.5f, 3);
    effect.process(slice(in, 0, 2));
    effect.set(kAirOn, 1.0f);
    const Stereo out = effect.process(slice(in, 2, 14));
    EXPECT_EQ(out.left[0], in.left[2]);
    EXPECT_EQ(out.left[1], in.left[3]);
    EXPECT_NE(out.left[2], in.left[4]);
}

// Without a rate from the host the constructor's program load is the last word: the Air
// frequency starts at its target. The first announcement of 44100 differs from the initial
// 44098 and restarts the blocks, so the frequency glides up from 30 kHz.
TEST(Schedule, FirstRateAnnouncementRestartsTheBlocks) {
    const Stereo in = noise(6000, 0.5f, 5);
    Effect unannounced(44100.0f, false);
    unannounced.host().dispatch(effOpen);
    airOnly(unannounced);
    AirModel atTarget(44100.0f);
    atTarget.jumpTo(1.0f, 0.5f);
    expectSame(unannounced.process(in), atTarget.process(in), "no rate");

    Effect announced(44100.0f);
    airOnly(announced);
    AirModel gliding(44100.0f);
    expectSame(announced.process(in), gliding.process(in), "44100");
}

TEST(Schedule, RateChangesActOnTheIntegerPartBeforeTheNextSample) {
    Effect effect(44100.0f);
    airOnly(effect);
    AirModel model(44100.0f);
    const Stereo in = noise(9003, 0.5f, 6);
    expectSame(effect.process(slice(in, 0, 3001)), model.process(slice(in, 0, 3001)), "start");

    effect.host().dispatch(effSetSampleRate, 0, 0, nullptr, 44100.5f);
    expectSame(effect.process(slice(in, 3001, 3001)), model.process(slice(in, 3001, 3001)),
               "44100.5 changes nothing");

    effect.host().dispatch(effSetSampleRate, 0, 0, nullptr, 50.0f);
    model.reinit(100.0f); // the floor
    expectSame(effect.process(slice(in, 6002, 3001)), model.process(slice(in, 6002, 3001)),
               "50 Hz");
}

TEST(Schedule, ProgramLoadMakesTheAirJumpToItsTarget) {
    Effect effect(96000.0f);
    airOnly(effect);
    effect.set(kAirFrequency, 0.0f);
    AirModel model(96000.0f);
    model.set(0.0f, 0.5f);
    const Stereo in = noise(6002, 0.5f, 7);
    expectSame(effect.process(slice(in, 0, 3001)), model.process(slice(in, 0, 3001)), "before");

    effect.host().dispatch(effSetProgram, 0, 0); // reloads the first factory program
    airOnly(effect);
    model.set(1.0f, 0.5f);
    model.jumpTo(1.0f, 0.5f);
    expectSame(effect.process(slice(in, 3001, 3001)), model.process(slice(in, 3001, 3001)),
               "after");
}

// Requests made while no audio runs are carried out in the order they were made.
TEST(Schedule, ResetAndRateChangeKeepTheirOrder) {
    const Stereo in = noise(3000, 0.5f, 8);
    Effect programThenRate(44100.0f);
    programThenRate.host().dispatch(effSetProgram, 0, 0);
    programThenRate.host().dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    airOnly(programThenRate);
    AirModel fresh(96000.0f);
    expectSame(programThenRate.process(in), fresh.process(in), "program, then rate");

    Effect rateThenProgram(44100.0f);
    rateThenProgram.host().dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    rateThenProgram.host().dispatch(effSetProgram, 0, 0);
    airOnly(rateThenProgram);
    AirModel jumped(96000.0f);
    jumped.jumpTo(1.0f, 0.5f);
    expectSame(rateThenProgram.process(in), jumped.process(in), "rate, then program");
}
