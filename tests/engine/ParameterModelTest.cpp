// SPDX-License-Identifier: GPL-3.0-or-later
// Parameter names, texts and mappings as a host reads them through the module.
#include "tests/host/LoadPlugin.h"

namespace {

class ParameterModel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(plugin); }
    std::unique_ptr<orvane::testhost::Plugin> plugin = orvane::test::loadPlugin();
};

} // namespace

// Names are written whole (longer than the published 8 characters); every label is a space.
TEST_F(ParameterModel, NamesAndLabelsOfNamedAndUnnamedIndices) {
    const std::pair<int, const char*> names[] = {
        {0, "~~~"},
        {1, "Main Volume"},
        {7, "Mono / Stereo Split Frequency"},
        {8, "Mono / Stereo Frequency / Note"},
        {11, "Mono Note Value"},
        {12, "~~~"},
        {40, "Bypass"},
        {41, "~~~"},
        {127, "~~~"},
    };
    for (auto [index, name] : names) {
        EXPECT_EQ(plugin->parameterName(index), name) << index;
        EXPECT_EQ(plugin->parameterLabel(index), " ") << index;
    }
    for (int i : {0, 12, 13, 41, 89, 126}) {
        plugin->setParameter(i, 0.625f);
        EXPECT_FLOAT_EQ(plugin->getParameter(i), 0.625f) << "unnamed indices store values";
        EXPECT_EQ(plugin->parameterDisplay(i), "") << i;
    }
}

// Each row sets one value and reads one display text, in order: the split frequency's text
// depends on the range set before it. Note entries: k = trunc(127.99 v + 0.1), 54 is A4 (69).
TEST_F(ParameterModel, DisplayTextsFollowTheMappingsAndTheirThresholds) {
    struct Row {
        int index;
        float value;
        const char* text;
    };
    const Row rows[] = {
        {1, 0.5f, "0.0 dB"},          {1, 0.0f, "-20.0 dB"},
        {1, 0.0005f, "-20.0 dB"},     {1, 1.0f, "20.0 dB"},
        {3, 1.0f, "6.0 dB"},          {4, 0.0f, "30.0 kHz"},
        {4, 1.0f, "40.0 kHz"},        {8, 0.6f, "Note"},
        {8, 0.5f, "Frequency"},       {9, 0.0f, "150 Hz"},
        {7, 1.0f, "150 Hz"},          {7, 0.0f, "20 Hz"},
        {9, 0.275689f, "250 Hz"},     {7, 1.0f, "300 Hz"},
        {9, 0.526316f, "500 Hz"},     {7, 1.0f, "500 Hz"},
        {9, 0.776942f, "Full Range"}, {7, 1.0f, "20.5 kHz"},
        {7, 0.0f, "20 Hz"},           {10, 0.0f, "Left"},
        {10, 0.044f, "Left"},         {10, 0.05f, "Right"},
        {10, 0.1f, "L + R"},          {10, 0.15f, "L - R"},
        {10, 1.0f, "L - R"},          {11, 0.0f, "D#0-15"},
        {11, 1.0f, "G9-127"},         {11, 0.4219f, "A4-69"},
        {11, 0.3516f, "C4-60"},       {11, 0.0704f, "C1-24"},
    };
    for (const auto& row : rows) {
        plugin->setParameter(row.index, row.value);
        EXPECT_EQ(plugin->parameterDisplay(row.index), row.text)
            << row.index << " at " << row.value;
    }
    // Exactly 0.5 is on for the sound but shows Off.
    for (int sw : {2, 5, 6, 40}) {
        plugin->setParameter(sw, 0.5f);
        EXPECT_EQ(plugin->parameterDisplay(sw), "Off") << sw;
        plugin->setParameter(sw, 0.51f);
        EXPECT_EQ(plugin->parameterDisplay(sw), "On") << sw;
    }
}
