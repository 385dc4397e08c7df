// Parameter names, texts and mappings as a host reads them through the module.
#include "tools/testhost/TestHost.h"

#include <gtest/gtest.h>

using orvane::testhost::builtPluginPath;
using orvane::testhost::Plugin;

namespace {

class ParameterModel : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = Plugin::load(builtPluginPath());
        ASSERT_TRUE(plugin);
    }
    std::string displayAt(int index, float value) {
        plugin->setParameter(index, value);
        return plugin->parameterDisplay(index);
    }
    std::unique_ptr<Plugin> plugin;
};

} // namespace

TEST_F(ParameterModel, NamesAreWrittenWholeAndTheLabelIsASpace) {
    const char* const named[] = {"~~~",
                                 "Main Volume",
                                 "Air On / Off",
                                 "Air Amount",
                                 "Air Frequency",
                                 "Mono / Stereo Split On / Off",
                                 "Mono / Stereo Split Solo On / Off",
                                 "Mono / Stereo Split Frequency",
                                 "Mono / Stereo Frequency / Note",
                                 "Mono Split Range",
                                 "Mono Type",
                                 "Mono Note Value"};
    for (int i = 0; i < 128; ++i) {
        const std::string expected = i < 12 ? named[i] : i == 40 ? "Bypass" : "~~~";
        EXPECT_EQ(plugin->parameterName(i), expected) << i;
        EXPECT_EQ(plugin->parameterLabel(i), " ") << i;
    }
}

TEST_F(ParameterModel, StartsWithTheFirstFactoryProgram) {
    const std::pair<int, float> start[] = {{1, 0.5f},      {2, 1.0f},  {3, 0.5f},  {4, 1.0f},
                                           {5, 1.0f},      {6, 0.0f},  {7, 1.0f},  {8, 0.0f},
                                           {9, 0.025063f}, {10, 0.0f}, {11, 0.0f}, {40, 0.0f}};
    for (auto [index, value] : start)
        EXPECT_FLOAT_EQ(plugin->getParameter(index), value) << index;
    EXPECT_EQ(plugin->programName(), "Nice Start");
}

TEST_F(ParameterModel, DisplayTextsFollowTheMappings) {
    EXPECT_EQ(displayAt(1, 0.5f), "0.0 dB");
    EXPECT_EQ(displayAt(1, 0.0f), "-20.0 dB");
    EXPECT_EQ(displayAt(1, 0.0005f), "-20.0 dB");
    EXPECT_EQ(displayAt(1, 1.0f), "20.0 dB");
    EXPECT_EQ(displayAt(3, 1.0f), "6.0 dB");
    EXPECT_EQ(displayAt(4, 0.0f), "30.0 kHz");
    EXPECT_EQ(displayAt(4, 1.0f), "40.0 kHz");
    for (int sw : {2, 5, 6, 40}) {
        EXPECT_EQ(displayAt(sw, 0.5f), "Off") << "exactly 0.5 is on for the sound but shows Off";
        EXPECT_EQ(displayAt(sw, 0.51f), "On");
    }
    EXPECT_EQ(displayAt(8, 0.6f), "Note");
    EXPECT_EQ(displayAt(8, 0.5f), "Frequency");
}

TEST_F(ParameterModel, SplitFrequencyDependsOnTheRange) {
    const std::pair<float, const char*> ranges[] = {
        {0.0f, "150 Hz"}, {0.275689f, "300 Hz"}, {0.526316f, "500 Hz"}, {0.776942f, "20.5 kHz"}};
    const char* const rangeNames[] = {"150 Hz", "250 Hz", "500 Hz", "Full Range"};
    for (int r = 0; r < 4; ++r) {
        plugin->setParameter(9, ranges[r].first);
        EXPECT_EQ(plugin->parameterDisplay(9), rangeNames[r]);
        EXPECT_EQ(displayAt(7, 1.0f), ranges[r].second);
        EXPECT_EQ(displayAt(7, 0.0f), "20 Hz");
    }
}

TEST_F(ParameterModel, MonoTypeChangesAtItsOddThresholds) {
    EXPECT_EQ(displayAt(10, 0.0f), "Left");
    EXPECT_EQ(displayAt(10, 0.044f), "Left");
    EXPECT_EQ(displayAt(10, 0.05f), "Right");
    EXPECT_EQ(displayAt(10, 0.1f), "L + R");
    EXPECT_EQ(displayAt(10, 0.15f), "L - R");
    EXPECT_EQ(displayAt(10, 1.0f), "L - R");
}

TEST_F(ParameterModel, NoteNamesCoverMidiNotes15To127) {
    EXPECT_EQ(displayAt(11, 0.0f), "D#0-15");
    EXPECT_EQ(displayAt(11, 1.0f), "G9-127");
    // k = trunc(127.99 v + 0.1): entry 54 is A4, MIDI note 69.
    EXPECT_EQ(displayAt(11, 54.0f / 127.99f), "A4-69");
    EXPECT_EQ(displayAt(11, 45.0f / 127.99f), "C4-60");
    EXPECT_EQ(displayAt(11, 9.0f / 127.99f), "C1-24");
}

TEST_F(ParameterModel, UnnamedIndicesStoreValuesButShowNothing) {
    for (int i : {0, 12, 13, 41, 89, 126}) {
        plugin->setParameter(i, 0.625f);
        EXPECT_FLOAT_EQ(plugin->getParameter(i), 0.625f);
        EXPECT_EQ(plugin->parameterDisplay(i), "") << i;
    }
}
