// SPDX-License-Identifier: GPL-3.0-or-later
// Factory programs, the edit/recall comparison, clear preset and state through parameters.
#include "engine/TestEffect.h"
#include "tests/host/LoadPlugin.h"

#include <gtest/gtest.h>

using orvane::test::loadPlugin;

namespace {

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

// A load replaces every value, whatever was there before; the constructor loads the first.
TEST(FactoryPrograms, LoadEveryValueAndTheirNames) {
    const char* const names[8] = {"Nice Start",       "Default",        "Just a bit",
                                  "Mid and High Air", "Only a bit Air", "Only Air",
                                  "Only MonoStereo",  "Vocal lift"};
    TestEffect constructed, first;
    first.setDemoProgram(0);
    for (int i = 0; i < kNumParams; ++i)
        EXPECT_EQ(constructed.getParameter(i), first.getParameter(i)) << i;
    for (int n = 0; n < 8; ++n) {
        TestEffect fresh, dirty;
        for (int i = 0; i < kNumParams; ++i)
            dirty.setParameter(i, 0.37f);
        fresh.setDemoProgram(n);
        dirty.setDemoProgram(n);
        for (int i = 0; i < kNumParams; ++i)
            EXPECT_EQ(dirty.getParameter(i), fresh.getParameter(i))
                << "program " << n << " index " << i;
        EXPECT_EQ(dirty.programName(), names[n]);
        EXPECT_STREQ(dirty.getPresetName(n), names[n]);
        EXPECT_EQ(storedName(dirty), n == 0 ? std::string("A Nice Start") : names[n]);
        EXPECT_FALSE(dirty.getEditChanged());
    }
    EXPECT_STREQ(constructed.getPresetName(8), "None");
    EXPECT_STREQ(constructed.getPresetName(-1), "None");
}

TEST(FactoryPrograms, OutOfRangeSelectionsAreIgnoredAndStepsClamp) {
    TestEffect effect;
    effect.setDemoProgram(3);
    effect.setParameter(3, 0.9f);
    for (int n : {8, 127, -1})
        effect.setDemoProgram(n);
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.9f);
    effect.setDemoProgram(0);
    effect.changeDemoProgramDelta(-1);
    EXPECT_EQ(effect.programName(), "Nice Start");
    effect.setDemoProgram(7);
    effect.changeDemoProgramDelta(+1);
    EXPECT_EQ(effect.programName(), "Vocal lift");
    effect.changeDemoProgramDelta(-2);
    EXPECT_EQ(effect.programName(), "Only Air");
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
    EXPECT_EQ(effect.programName(), "Only Air");
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

// As Ardour restores a session: every parameter written back in index order into a new instance.
TEST(HostState, ParametersWrittenBackInIndexOrderRestoreTheStateAndTheProgramNamedInIt) {
    const auto stateOf = [](int program, std::initializer_list<std::pair<int, float>> edits) {
        TestEffect saved;
        saved.setDemoProgram(program);
        for (auto [index, value] : edits)
            saved.setParameter(index, value);
        std::vector<float> state(128);
        for (int i = 0; i < 128; ++i)
            state[i] = saved.getParameter(i);
        return state;
    };
    const auto nice = stateOf(0, {{1, 0.61f}, {3, 0.12f}, {6, 1.0f}, {13, 0.7f}, {80, 0.2f}});
    const auto onlyAir = stateOf(5, {{3, 0.2f}});
    for (const bool air : {false, true}) {
        const std::vector<float>& state = air ? onlyAir : nice;
        auto restored = loadPlugin();
        for (int i = 0; i < 128; ++i)
            restored->setParameter(i, state[i]);
        for (int i = 0; i < 128; ++i)
            EXPECT_FLOAT_EQ(restored->getParameter(i), state[i]) << i;
        EXPECT_EQ(restored->programName(), air ? "Only Air" : "Nice Start");
        restored->setParameter(127, 1.0f); // writing 0 above left the values; this reloads
        EXPECT_FLOAT_EQ(restored->getParameter(5), air ? 0.0f : 1.0f) << "the split of the program";
        EXPECT_FLOAT_EQ(restored->getParameter(3), 0.5f);
        EXPECT_FLOAT_EQ(restored->getParameter(127), 0.0f);
    }

    TestEffect effect;
    for (int i = 0; i < 128; ++i)
        effect.setParameter(i, onlyAir[i]);
    EXPECT_TRUE(effect.getEditChanged());
    effect.recallProgram();
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.5f);
    EXPECT_FLOAT_EQ(effect.getParameter(5), 0.0f) << "Only Air, not Nice Start, is recalled";
    effect.editProgram();
    EXPECT_FLOAT_EQ(effect.getParameter(3), 0.2f);
    for (int i = 0; i < 128; ++i)
        effect.setParameter(i, stateOf(5, {})[i]);
    EXPECT_FALSE(effect.getEditChanged()) << "Only Air as it was loaded";
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
