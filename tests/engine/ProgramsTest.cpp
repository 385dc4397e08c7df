// Factory programs, the edit/recall comparison, clear preset and state through parameters.
#include "engine/TestEffect.h"
#include "tools/testhost/TestHost.h"

#include <gtest/gtest.h>

#include <map>

using orvane::testhost::builtPluginPath;
using orvane::testhost::Plugin;

namespace {

// The sound values of each factory program; every other index below 90 is 0 except the
// memory copies, which are the same in all eight.
struct Factory {
    const char* name;
    float volume, airOn, airAmount, airFrequency, splitOn, splitFrequency, range;
};
const Factory kFactory[8] = {
    {"Nice Start", 0.5f, 1, 0.5f, 1, 1, 1, 0.025063f},
    {"Default", 0.5f, 1, 0.5f, 1, 1, 0.8f, 0},
    {"Just a bit", 0.5f, 1, 0.16f, 1, 1, 1, 0.025063f},
    {"Mid and High Air", 0.5f, 1, 0.38f, 0, 0, 0.8f, 0},
    {"Only a bit Air", 0.5f, 1, 0.5f, 1, 0, 1, 0.025063f},
    {"Only Air", 0.5f, 1, 0.5f, 1, 0, 1, 0.025063f},
    {"Only MonoStereo", 0.5f, 0, 0.5f, 1, 1, 1, 0.025063f},
    {"Vocal lift", 0.5f, 1, 0.5f, 0.45f, 0, 0.8f, 0},
};
const std::map<int, float> kMemories = {{14, 0.5f}, {16, 0.5f}, {17, 1.0f}, {20, 0.8f},
                                        {26, 0.5f}, {28, 0.5f}, {29, 1.0f}, {32, 0.8f}};

std::string storedName(APlugin& effect) {
    std::string name;
    for (int i = 90; i <= 117; ++i) {
        const int code = static_cast<int>(effect.getParameter(i) * 255.99f + 0.1f);
        if (!code) break;
        name += static_cast<char>(code);
    }
    return name;
}

} // namespace

TEST(FactoryPrograms, LoadTheirTabledValuesAndNames) {
    TestEffect effect;
    for (int n = 0; n < 8; ++n) {
        effect.setDemoProgram(n);
        const Factory& f = kFactory[n];
        std::map<int, float> expected = kMemories;
        expected[1] = f.volume;
        expected[2] = f.airOn;
        expected[3] = f.airAmount;
        expected[4] = f.airFrequency;
        expected[5] = f.splitOn;
        expected[7] = f.splitFrequency;
        expected[9] = f.range;
        for (int i = 0; i < 90; ++i) {
            const auto it = expected.find(i);
            EXPECT_FLOAT_EQ(effect.getParameter(i), it == expected.end() ? 0.0f : it->second)
                << "program " << n << " index " << i;
        }
        for (int i = 118; i < 128; ++i)
            EXPECT_FLOAT_EQ(effect.getParameter(i), 0.0f);
        char name[64] = {};
        effect.getProgramName(name);
        EXPECT_STREQ(name, f.name);
        EXPECT_STREQ(effect.getPresetName(n), f.name);
        EXPECT_EQ(storedName(effect), n == 0 ? std::string("A Nice Start") : f.name);
        EXPECT_FALSE(effect.getEditChanged());
    }
    EXPECT_STREQ(effect.getPresetName(8), "None");
    EXPECT_STREQ(effect.getPresetName(-1), "None");
}

TEST(FactoryPrograms, OutOfRangeSelectionsAreIgnoredAndStepsClamp) {
    TestEffect effect;
    effect.setDemoProgram(3);
    effect.setParameter(3, 0.9f);
    effect.setDemoProgram(8);
    effect.setDemoProgram(127);
    effect.setDemoProgram(-1);
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.9f);
    effect.setDemoProgram(0);
    effect.changeDemoProgramDelta(-1);
    EXPECT_STREQ(effect.getPresetName(0), "Nice Start");
    char name[64];
    effect.getProgramName(name);
    EXPECT_STREQ(name, "Nice Start");
    effect.setDemoProgram(7);
    effect.changeDemoProgramDelta(+1);
    effect.getProgramName(name);
    EXPECT_STREQ(name, "Vocal lift");
    effect.changeDemoProgramDelta(-2);
    effect.getProgramName(name);
    EXPECT_STREQ(name, "Only Air");
}

TEST(EditRecall, TogglesBetweenLoadedAndEditedValues) {
    TestEffect effect;
    effect.setDemoProgram(3);
    effect.setParameter(3, 0.38f + 0.00005f);
    EXPECT_FALSE(effect.getEditChanged()) << "a change within 0.0001 is no edit";
    effect.setParameter(3, 0.9f);
    EXPECT_TRUE(effect.getEditChanged());

    effect.recallProgram();
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.38f);
    EXPECT_FALSE(effect.getEditChanged());
    effect.recallProgram(); // nothing to recall in the unedited state
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.38f);

    effect.editProgram();
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.9f);
    EXPECT_TRUE(effect.getEditChanged());
    effect.editProgram(); // only from the unedited state
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.9f);

    effect.doPresetCommand(7);
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.38f);
    effect.doPresetCommand(9);
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.9f);
}

TEST(ClearPreset, RestoresDefaultsButKeepsTheName) {
    TestEffect effect;
    effect.setDemoProgram(5); // Only Air
    effect.setParameter(6, 1.0f);
    effect.setParameter(60, 0.3f);
    effect.doPresetCommand(6);
    char name[64];
    effect.getProgramName(name);
    EXPECT_STREQ(name, "Only Air");
    EXPECT_EQ(storedName(effect), "Only Air");
    EXPECT_FLOAT_EQ(effect.getParameter(2), 0.0f);
    EXPECT_FLOAT_EQ(effect.getParameter(5), 0.0f);
    EXPECT_FLOAT_EQ(effect.getParameter(6), 0.0f);
    EXPECT_FLOAT_EQ(effect.getParameter(60), 0.0f);
    EXPECT_FLOAT_EQ(effect.getParameter(7), 0.8f);
    EXPECT_FLOAT_EQ(effect.getParameter(1), 0.5f);
    effect.doPresetCommand(8); // unknown commands do nothing
    EXPECT_FLOAT_EQ(effect.getParameter(7), 0.8f);
}

TEST(ReloadSlot, WritingAboveZeroReloadsTheCurrentProgramAndTheSlotReadsZero) {
    TestEffect effect;
    effect.setDemoProgram(3);
    effect.setParameter(3, 0.9f);
    effect.setParameter(127, 0.0f); // what it reads: a host restoring its state
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.9f);
    effect.setParameter(127, 1.0f);
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.38f);
    EXPECT_FLOAT_EQ(effect.getParameter(127), 0.0f);
}

TEST(HostState, ParametersWrittenBackInIndexOrderRestoreTheState) {
    auto saved = Plugin::load(builtPluginPath());
    ASSERT_TRUE(saved);
    const std::pair<int, float> edits[] = {{1, 0.61f}, {3, 0.12f}, {4, 0.3f},  {6, 1.0f},
                                           {10, 0.1f}, {13, 0.7f}, {40, 1.0f}, {80, 0.2f}};
    for (auto [index, value] : edits)
        saved->setParameter(index, value);
    std::vector<float> state(128);
    for (int i = 0; i < 128; ++i)
        state[i] = saved->getParameter(i);

    auto restored = Plugin::load(builtPluginPath());
    for (int i = 0; i < 128; ++i)
        restored->setParameter(i, state[i]);
    for (int i = 0; i < 128; ++i)
        EXPECT_FLOAT_EQ(restored->getParameter(i), state[i]) << i;
    EXPECT_EQ(restored->programName(), "Nice Start");
}

namespace {
std::vector<int> editGestures;
VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit)
        editGestures.push_back(index);
    return opcode == audioMasterVersion ? 2400 : 1;
}
} // namespace

TEST(EditGestures, OnlyParameterIndicesReachTheHost) {
    APlugin effect(recordingHost);
    editGestures.clear();
    EXPECT_FALSE(effect.beginEdit(9999));
    EXPECT_FALSE(effect.endEdit(-1));
    EXPECT_TRUE(effect.beginEdit(3));
    EXPECT_TRUE(effect.endEdit(3));
    EXPECT_EQ(editGestures, (std::vector<int>{3, 3}));
}
