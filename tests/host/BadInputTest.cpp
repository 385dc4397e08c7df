// SPDX-License-Identifier: GPL-3.0-or-later
// Hosts that pass null pointers, odd indices and odd numbers get safe answers.
#include "tests/host/LoadPlugin.h"

#include <cmath>
#include <limits>
#include <vector>

using orvane::test::loadPlugin;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Opcodes whose pointer arguments are the host's own output slots by contract.
bool writesThroughValue(VstInt32 opcode) {
    return opcode == effGetSpeakerArrangement || opcode == effClose;
}

} // namespace

TEST(BadInput, EveryOpcodeSurvivesNullPointersAndOddArguments) {
    auto plugin = loadPlugin({}, true);
    ASSERT_TRUE(plugin);
    const VstIntPtr values[] = {0,
                                1,
                                -1,
                                127,
                                128,
                                std::numeric_limits<VstInt32>::max(),
                                std::numeric_limits<VstIntPtr>::min()};
    const VstInt32 indices[] = {0, -1, 1, 127, 128, 99999, std::numeric_limits<VstInt32>::min()};
    const float opts[] = {0.0f, -1.0f, kNaN, kInf, -kInf, 1e30f};
    for (VstInt32 opcode = 0; opcode <= effGetNumMidiOutputChannels + 10; ++opcode) {
        if (writesThroughValue(opcode)) continue;
        for (VstInt32 index : indices)
            for (VstIntPtr value : values)
                for (float opt : opts)
                    plugin->dispatch(opcode, index, value, nullptr, opt);
    }
    // Still alive and sane.
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2400);
    float in[2][8] = {}, out[2][8] = {};
    float* ins[] = {in[0], in[1]};
    float* outs[] = {out[0], out[1]};
    plugin->process(ins, outs, 8);
    for (float sample : out[0])
        EXPECT_TRUE(std::isfinite(sample));
}

TEST(BadInput, TextOpcodesWithBadIndicesWriteSafeAnswers) {
    auto plugin = loadPlugin({}, true);
    for (int index : {-1, 128, 1000}) {
        EXPECT_EQ(plugin->parameterName(index), "~~~");
        EXPECT_EQ(plugin->parameterDisplay(index), "");
        EXPECT_EQ(plugin->parameterLabel(index), " ");
        EXPECT_FLOAT_EQ(plugin->getParameter(index), 0.0f);
        plugin->setParameter(index, 0.7f);
    }
    char text[64] = "untouched";
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 1, 0, text), 0);
    EXPECT_STREQ(text, "untouched");
}

TEST(BadInput, NonFiniteParameterValuesKeepThePreviousValue) {
    auto plugin = loadPlugin({}, true);
    plugin->setParameter(3, 0.3f);
    for (float bad : {kNaN, kInf, -kInf}) {
        plugin->setParameter(3, bad);
        EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.3f);
    }
    plugin->setParameter(3, 1.7f);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 1.0f);
    plugin->setParameter(3, -0.2f);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.0f);
}

TEST(BadInput, OddSampleRatesNeverProduceNonFiniteOutput) {
    for (float rate : {kNaN, kInf, -44100.0f, 0.0f, 1.0f, 99.0f, 8000.0f, 384000.0f, 1e9f}) {
        auto plugin = loadPlugin({}, true);
        plugin->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        std::vector<float> left(1024), right(1024);
        for (size_t i = 0; i < left.size(); ++i)
            left[i] = right[i] = std::sin(0.05f * i) * 0.5f;
        float* buffers[] = {left.data(), right.data()};
        plugin->process(buffers, buffers, 1024);
        for (size_t i = 0; i < left.size(); ++i) {
            ASSERT_TRUE(std::isfinite(left[i])) << "rate " << rate << " sample " << i;
            ASSERT_LE(std::fabs(left[i]), 0.999f);
        }
    }
}
