// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 module renders exactly what the VST 2.4 module renders for the same settings.
#include "lv2/Lv2Hosts.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"

namespace {

using orvane::lv2host::Lv2Plugin;
using orvane::lv2host::MidiMessage;

constexpr int kFrames = 6000;

// A change at a sample: a port for LV2, a parameter for VST 2.4.
struct Change {
    int frame;
    const char* symbol;
    float portValue;
    int parameter;
    float normalised;
};

class Lv2RenderTest : public TempConfig {
protected:
    // Blocks of irregular sizes, split where a change falls inside one.
    StereoSignal renderLv2(Lv2Plugin& plugin, const std::vector<Change>& changes,
                           const std::vector<MidiAt>& midi = {}) {
        StereoSignal out{std::vector<float>(kFrames), std::vector<float>(kFrames)};
        const auto block = [&](int begin, int end) {
            for (const Change& c : changes)
                if (c.frame == begin) plugin.setControl(c.symbol, c.portValue);
            std::vector<MidiMessage> messages;
            for (const MidiAt& m : midi)
                if (m.frame >= begin && m.frame < end)
                    messages.push_back({static_cast<std::uint32_t>(m.frame - begin),
                                        {m.status, m.first, m.second}});
            plugin.run(&signal.left[begin], &signal.right[begin], &out.left[begin],
                       &out.right[begin], end - begin, messages);
        };
        forEachBlock(splitAt(irregularStarts(kFrames), framesOf(changes)), kFrames, block);
        return out;
    }

    StereoSignal signal = testSignal(kFrames);
};

TEST_F(Lv2RenderTest, SettingsAndChangesInsideBlocksRenderBitForBit) {
    auto lv2 = loadLv2();
    auto vst = loadVst();
    ASSERT_TRUE(lv2 && vst);
    // Values whose port and normalised forms convert exactly; list entries by number.
    const std::vector<Change> changes = {
        {0, "main_volume", 5.0f, 1, 0.625f},      {0, "air_amount", 4.5f, 3, 0.75f},
        {0, "air_frequency", 30.0f, 4, 0.0f},     {0, "split_frequency", 0.7f, 7, 0.7f},
        {0, "split_range", 2.0f, 9, 0.55f},       {0, "mono_type", 2.0f, 10, 0.12f},
        {1000, "main_volume", -3.5f, 1, 0.4125f}, {2500, "mono_type", 3.0f, 10, 0.5f},
        {2501, "split_solo", 1.0f, 6, 1.0f},      {3999, "air", 0.0f, 2, 0.0f},
        {4321, "split_range", 3.0f, 9, 0.9f},     {5000, "bypass", 1.0f, 40, 1.0f},
        {5100, "bypass", 0.0f, 40, 0.0f},         {5100, "split", 0.0f, 5, 0.0f},
    };
    expectIdentical(renderLv2(*lv2, changes),
                    renderReference(*vst, signal, irregularStarts(kFrames), parametersOf(changes)));
}

TEST_F(Lv2RenderTest, MidiControllersActAtTheirFrameAsInTheVstModule) {
    setMidiCC(20, 40); // Bypass
    setMidiCC(21, 3);  // Air Amount
    auto lv2 = loadLv2();
    auto vst = loadVst();
    ASSERT_TRUE(lv2 && vst);
    const std::vector<MidiAt> controllers = {
        {0, 0xB0, 21, 0},   {17, 0xB0, 21, 127},  {333, 0xB0, 20, 127},
        {334, 0xB0, 20, 0}, {1500, 0xB0, 21, 64}, {5999, 0xB0, 21, 10},
    };
    const StereoSignal lv2Out = renderLv2(*lv2, {}, controllers);
    expectIdentical(lv2Out,
                    renderReference(*vst, signal, irregularStarts(kFrames), {}, controllers));
    // The bypass of frame 333 shows in the output at exactly that frame.
    EXPECT_EQ(lv2Out.left[333], signal.left[333]);
    EXPECT_NE(lv2Out.left[334], signal.left[334]);
    // A controller moved the effect, not the host's port: the port keeps its value and the
    // next run does not undo the controller.
    EXPECT_EQ(lv2->control("air_amount"), 3.0f);
    EXPECT_FLOAT_EQ(effectOf(*lv2)->getParameter(effectOf(*lv2), 3), 10 / 127.0f);
}

TEST_F(Lv2RenderTest, BadPortValuesAndMissingBuffersAreSafe) {
    auto lv2 = loadLv2();
    ASSERT_TRUE(lv2);
    AEffect* effect = effectOf(*lv2);
    lv2->setControl("main_volume", NAN);
    lv2->setControl("air_amount", 1e9f);
    lv2->setControl("mono_type", -7.0f);
    std::vector<float> out(64, 1.0f);
    lv2->run(signal.left.data(), nullptr, out.data(), out.data(), 64);
    EXPECT_EQ(out, std::vector<float>(64, 0.0f));
    EXPECT_EQ(effect->getParameter(effect, 1), 0.5f);    // NaN kept the value
    EXPECT_EQ(effect->getParameter(effect, 3), 1.0f);    // clamped to 6 dB
    EXPECT_LT(effect->getParameter(effect, 10), 0.045f); // first entry, "Left"
}

} // namespace
