// SPDX-License-Identifier: GPL-3.0-or-later
// The adapter core's driver, in process, against the VST 2.4 module as a host drives it.
#include "adapter/EffectDriver.h"
#include "audio/VstReference.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"
#include "tools/testhost/TestHost.h"

#include <vector>

namespace {

using orvane::adapter::EffectDriver;

constexpr int kFrames = 4096;
constexpr int kBlock = 512;

struct Change {
    int frame;
    std::size_t exposed;
    int parameter;
    float normalised;
};

std::vector<float> noise(unsigned seed) {
    std::vector<float> out(kFrames);
    for (float& v : out) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    }
    return out;
}

class EffectDriverTest : public TempConfig {
protected:
    StereoSignal in{noise(1), noise(2)};
};

// Changes and controllers inside fixed blocks act at their frame: bit for bit what a VST 2.4 host
// renders when it splits its process calls there and sets the parameter between them.
TEST_F(EffectDriverTest, ChangesAndMidiInsideABlockActAtTheirFrame) {
    setMidiCC(21, 3); // Air Amount
    const std::vector<Change> changes = {
        {0, 0, 1, 0.625f},   {0, 1, 2, 1.0f},    {100, 0, 1, 0.3f},  {100, 10, 40, 1.0f},
        {101, 10, 40, 0.0f}, {511, 9, 10, 0.5f}, {512, 4, 5, 1.0f},  {2047, 0, 1, 0.9f},
        {3000, 8, 9, 0.9f},  {3000, 0, 1, 0.1f}, {4095, 0, 1, 0.5f},
    };
    const std::vector<MidiAt> controllers = {
        {0, 0xB0, 21, 0}, {77, 0xB0, 21, 127}, {600, 0xB0, 21, 40}, {3000, 0xB0, 21, 90}};

    auto driver = EffectDriver::create(44100);
    ASSERT_TRUE(driver);
    driver->setBlockSize(kBlock);
    driver->setActive(true);
    StereoSignal out{std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (int begin = 0; begin < kFrames; begin += kBlock) {
        for (const Change& c : changes)
            if (c.frame >= begin && c.frame < begin + kBlock) {
                ASSERT_TRUE(driver->queueValue(c.exposed, c.normalised, c.frame - begin));
            }
        for (const MidiAt& cc : controllers)
            if (cc.frame >= begin && cc.frame < begin + kBlock) {
                const std::uint8_t bytes[] = {cc.status, cc.first, cc.second};
                ASSERT_TRUE(driver->queueMidi(bytes, 3, cc.frame - begin));
            }
        const float* inputs[] = {&in.left[begin], &in.right[begin]};
        float* outputs[] = {&out.left[begin], &out.right[begin]};
        driver->process(inputs, outputs, kBlock);
    }

    std::string error;
    auto vst = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    ASSERT_TRUE(vst) << error;
    vst->start(44100, kBlock);
    std::vector<int> starts;
    for (int at = 0; at < kFrames; at += kBlock)
        starts.push_back(at);
    expectIdentical(out, renderReference(*vst, in, splitAt(starts, framesOf(controllers)),
                                         parametersOf(changes), controllers));
    EXPECT_EQ(driver->value(0), 0.5f);
}

// A save holds the host's changes not yet processed; another instance restores exactly that and
// reports what the restore changed. Texts come from the effect without changing it.
TEST_F(EffectDriverTest, StateHoldsPendingHostValuesAndRestoreReportsItsChanges) {
    auto saved = EffectDriver::create(48000);
    auto restored = EffectDriver::create(48000);
    ASSERT_TRUE(saved && restored);
    saved->selectProgram(3);
    EXPECT_EQ(saved->currentProgram(), 3);
    ASSERT_TRUE(saved->queueValue(0, 0.25f, 17)); // -10 dB, not yet processed
    unsigned char state[orvane::adapter::kStateBytes];
    ASSERT_TRUE(saved->saveState(state));
    EXPECT_EQ(saved->value(0), 0.5f);

    restored->collectChanges([](std::size_t, float) {});
    EXPECT_FALSE(restored->restoreState(state, sizeof state - 1));
    ASSERT_TRUE(restored->restoreState(state, sizeof state));
    std::vector<std::size_t> reported;
    restored->collectChanges([&](std::size_t exposed, float) { reported.push_back(exposed); });
    for (std::size_t i = 0; i < orvane::adapter::kExposedCount; ++i)
        EXPECT_EQ(restored->value(i), i == 0 ? 0.25f : saved->value(i)) << i;
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.front(), 0u);
    EXPECT_EQ(restored->currentProgram(), 3);
    char name[32];
    ASSERT_TRUE(restored->programName(3, name, sizeof name));
    char program[kVstMaxProgNameLen * 4] = {};
    restored->effect()->dispatcher(restored->effect(), effGetProgramName, 0, 0, program, 0);
    EXPECT_STREQ(name, program);

    char text[16];
    ASSERT_TRUE(restored->displayText(0, 0.75f, text, sizeof text));
    EXPECT_STREQ(text, "10.0 dB");
    float typed = -1.0f;
    ASSERT_TRUE(restored->parseText(9, "L + R", typed));
    char shown[16];
    ASSERT_TRUE(restored->displayText(9, typed, shown, sizeof shown));
    EXPECT_STREQ(shown, "L + R");
    EXPECT_FALSE(restored->parseText(0, "loud", typed));
    EXPECT_EQ(restored->value(0), 0.25f);
}

} // namespace
