// SPDX-License-Identifier: GPL-3.0-or-later
// The CLAP module renders exactly what the VST 2.4 module renders, with host values and MIDI
// at their sample inside the host's blocks, and tells the host what the effect changed itself.
#include "clap/ClapHosts.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"

#include <algorithm>

namespace {

using orvane::claphost::ClapPlugin;
using orvane::claphost::Event;

constexpr int kFrames = 6000;

struct Change {
    int frame;
    int parameter; // also the CLAP id
    float plain;
    float normalised;
};

class ClapRenderTest : public TempConfig {
protected:
    // Odd block sizes; every change and MIDI event inside its block at its offset. In place.
    StereoSignal renderClap(ClapPlugin& plugin, const std::vector<Change>& changes,
                            const std::vector<MidiAt>& midi, std::vector<Event>* reported) {
        StereoSignal out = signal;
        for (int begin = 0, size = 1; begin < kFrames; begin += size, size = size * 7 % 997 + 13) {
            const int end = std::min(kFrames, begin + size);
            std::vector<Event> events;
            for (const Change& c : changes)
                if (c.frame >= begin && c.frame < end)
                    events.push_back(
                        orvane::claphost::valueEvent(c.frame - begin, c.parameter, c.plain));
            for (const MidiAt& m : midi)
                if (m.frame >= begin && m.frame < end)
                    events.push_back(
                        orvane::claphost::midiEvent(m.frame - begin, m.status, m.first, m.second));
            const auto got = plugin.process(&out.left[begin], &out.right[begin], &out.left[begin],
                                            &out.right[begin], end - begin, events);
            reported->insert(reported->end(), got.begin(), got.end());
        }
        return out;
    }

    StereoSignal signal = testSignal(kFrames);
};

TEST_F(ClapRenderTest, HostValuesInsideBlocksRenderBitForBitAndAreNotEchoed) {
    auto clap = loadClap();
    auto vst = loadVst();
    ASSERT_TRUE(clap && vst);
    const std::vector<Change> changes = {
        {0, 1, 5.0f, 0.625f},      {0, 3, 4.5f, 0.75f},    {0, 4, 30.0f, 0.0f},
        {0, 7, 0.7f, 0.7f},        {0, 9, 2.0f, 0.55f},    {0, 10, 2.0f, 0.12f},
        {1000, 1, -3.5f, 0.4125f}, {2500, 10, 3.0f, 0.5f}, {2501, 6, 1.0f, 1.0f},
        {3999, 2, 0.0f, 0.0f},     {4321, 9, 3.0f, 0.9f},  {5000, 40, 1.0f, 1.0f},
        {5100, 40, 0.0f, 0.0f},    {5100, 5, 0.0f, 0.0f},
    };
    std::vector<Event> reported;
    expectIdentical(renderClap(*clap, changes, {}, &reported),
                    renderReference(*vst, signal, {0}, parametersOf(changes)));
    EXPECT_TRUE(reported.empty());
    double volume = 0;
    ASSERT_TRUE(clap->value(1, volume));
    EXPECT_FLOAT_EQ(volume, -3.5);
    EXPECT_TRUE(clap->log().threadFaults.empty());
}

TEST_F(ClapRenderTest, MidiControllersAndProgramsActAtTheirSampleAndReachTheHostUnrecorded) {
    setMidiCC(20, 40); // Bypass
    setMidiCC(21, 3);  // Air Amount
    saveStringToPrefs("MidiPreset", "Y");
    auto clap = loadClap();
    auto vst = loadVst();
    ASSERT_TRUE(clap && vst);
    const std::vector<MidiAt> midi = {
        {0, 0xB0, 21, 0},     {17, 0xB0, 21, 127}, {333, 0xB0, 20, 127}, {334, 0xB0, 20, 0},
        {1500, 0xB0, 21, 64}, {2000, 0xC0, 4, 0},  {5999, 0xB0, 21, 10}};
    std::vector<Event> reported;
    const StereoSignal clapOut = renderClap(*clap, {}, midi, &reported);
    expectIdentical(clapOut, renderReference(*vst, signal, {0}, {}, midi));
    EXPECT_EQ(clapOut.left[333], signal.left[333]);
    EXPECT_NE(clapOut.left[334], signal.left[334]);
    ASSERT_FALSE(reported.empty());
    for (const Event& e : reported) {
        EXPECT_EQ(e.kind, Event::Value);
        EXPECT_TRUE(e.flags & CLAP_EVENT_DONT_RECORD);
    }
    // The program moved more than the two bound parameters.
    EXPECT_TRUE(std::any_of(reported.begin(), reported.end(),
                            [](const Event& e) { return e.id != 3 && e.id != 40; }));
    EXPECT_EQ(reported.back().id, 3u);
    EXPECT_FLOAT_EQ(reported.back().value, 10 / 127.0f * 6);
}

TEST_F(ClapRenderTest, BadHostInputIsSafe) {
    auto clap = loadClap();
    ASSERT_TRUE(clap);
    std::vector<float> out(64, 1.0f);
    const std::vector<Event> events = {
        orvane::claphost::valueEvent(0, 1, NAN), orvane::claphost::valueEvent(3, 3, 1e9),
        orvane::claphost::valueEvent(5, 99999, 1), orvane::claphost::valueEvent(1000, 10, -7)};
    clap->process(signal.left.data(), nullptr, out.data(), out.data(), 64, events);
    EXPECT_EQ(out, std::vector<float>(64, 0.0f));
    double value = 0;
    ASSERT_TRUE(clap->value(1, value) && clap->value(3, value));
    clap->value(1, value);
    EXPECT_FLOAT_EQ(value, 0.0); // NaN kept 0 dB
    clap->value(3, value);
    EXPECT_FLOAT_EQ(value, 6.0); // clamped
    EXPECT_TRUE(clap->value(10, value));
    EXPECT_EQ(clap->text(10, value), "Left"); // the first entry
    EXPECT_FALSE(clap->value(99999, value));
}

} // namespace
