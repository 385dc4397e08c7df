// SPDX-License-Identifier: GPL-3.0-or-later
// The VST3 module through our VST3 test host, against the VST 2.4 module and the LV2 bundle.
#include "adapter/ExposedParameters.h"
#include "lv2/Lv2Hosts.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"
#include "tools/vst3host/Vst3Host.h"

#include <glib.h>

#include <algorithm>
#include <cstring>

namespace {

using orvane::adapter::kExposed;
using orvane::adapter::kExposedCount;
using orvane::adapter::kShapes;
using orvane::vst3host::Change;
using orvane::vst3host::Vst3Plugin;

constexpr int kFrames = 6000;

std::size_t exposedIndex(const char* symbol) {
    for (std::size_t i = 0; i < kExposedCount; ++i)
        if (std::strcmp(kExposed[i].symbol, symbol) == 0) return i;
    ADD_FAILURE() << symbol;
    return 0;
}

// A host's move: a normalised value, or for switches and lists an entry number.
struct Move {
    int frame;
    const char* symbol;
    float value;
    bool entry = false;

    int parameter() const { return kExposed[exposedIndex(symbol)].parameter; }
    float vst2Value() const {
        const std::size_t i = exposedIndex(symbol);
        if (!entry || kShapes[i].entryCount <= 2) return value;
        return kShapes[i].entries[static_cast<int>(value)].value;
    }
    double vst3Value() const {
        const std::size_t i = exposedIndex(symbol);
        return entry ? value / orvane::adapter::stepCount(i) : value;
    }
};

// Base64 as sessions wrap it.
std::vector<std::uint8_t> decode(const std::string& text) {
    gsize size = 0;
    guchar* bytes = g_base64_decode(text.c_str(), &size);
    std::vector<std::uint8_t> out(bytes, bytes + size);
    g_free(bytes);
    return out;
}

std::unique_ptr<Vst3Plugin> loadVst3() {
    std::string error;
    auto plugin = Vst3Plugin::load(orvane::vst3host::builtBundlePath(), 44100, 4096, &error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

class Vst3Test : public TempConfig {
protected:
    // Irregular blocks, each move and controller at its offset inside its block.
    StereoSignal renderVst3(Vst3Plugin& plugin, const std::vector<Move>& moves,
                            const std::vector<MidiAt>& controllers) {
        StereoSignal out{std::vector<float>(kFrames), std::vector<float>(kFrames)};
        forEachBlock(irregularStarts(kFrames), kFrames, [&](int begin, int end) {
            std::vector<Change> changes;
            for (const Move& m : moves)
                if (m.frame >= begin && m.frame < end)
                    changes.push_back(
                        {static_cast<v3_param_id>(m.parameter()), m.frame - begin, m.vst3Value()});
            for (const MidiAt& cc : controllers) {
                v3_param_id id = 0;
                if (cc.frame >= begin && cc.frame < end && plugin.mapController(0, cc.first, id))
                    changes.push_back({id, cc.frame - begin, cc.second / 127.0});
            }
            plugin.process(&signal.left[begin], &signal.right[begin], &out.left[begin],
                           &out.right[begin], end - begin, changes);
        });
        return out;
    }

    StereoSignal renderVst2(orvane::testhost::Plugin& plugin, const std::vector<Move>& moves,
                            const std::vector<MidiAt>& controllers) {
        std::vector<ParameterAt> parameters;
        for (const Move& m : moves)
            parameters.push_back({m.frame, m.parameter(), m.vst2Value()});
        return renderReference(plugin, signal, irregularStarts(kFrames), parameters, controllers);
    }

    StereoSignal signal = testSignal(kFrames);
};

TEST_F(Vst3Test, AutomationInsideBlocksAndMappedMidiRenderAsTheVstModule) {
    setMidiCC(20, 40); // Bypass
    setMidiCC(21, 3);  // Air Amount
    auto vst3 = loadVst3();
    auto vst2 = loadVst();
    ASSERT_TRUE(vst3 && vst2);
    const std::vector<Move> moves = {
        {0, "main_volume", 0.625f},   {0, "air_frequency", 0.0f},
        {0, "split_frequency", 0.7f}, {0, "split_range", 2, true},
        {0, "mono_type", 1, true},    {1000, "main_volume", 0.4125f},
        {2500, "mono_type", 3, true}, {2501, "split_solo", 1, true},
        {3999, "air", 0, true},       {4321, "split_range", 3, true},
        {5100, "split", 0, true},
    };
    const std::vector<MidiAt> controllers = {
        {0, 0xB0, 21, 0},   {17, 0xB0, 21, 127},  {333, 0xB0, 20, 127},
        {334, 0xB0, 20, 0}, {1500, 0xB0, 21, 64}, {5999, 0xB0, 21, 10},
    };
    const StereoSignal out = renderVst3(*vst3, moves, controllers);
    expectIdentical(out, renderVst2(*vst2, moves, controllers));
    EXPECT_EQ(out.left[333], signal.left[333]); // bypassed at exactly that frame

    // The controller moved Air Amount: the host hears of it, and its view matches the sound.
    const v3_param_id airAmount = 3;
    const auto& reported = vst3->outputChanges();
    EXPECT_TRUE(std::any_of(reported.begin(), reported.end(), [&](const Change& c) {
        return c.id == airAmount && c.value == static_cast<double>(10 / 127.0f);
    }));
    EXPECT_EQ(vst3->value(airAmount), static_cast<double>(10 / 127.0f));
}

TEST_F(Vst3Test, StateIsTheLv2StateByteForByteAndLoadsBothWays) {
    auto vst3 = loadVst3();
    auto lv2 = loadLv2();
    ASSERT_TRUE(vst3 && lv2);
    std::vector<float> out(64);
    StereoSignal in = testSignal(64);
    vst3->process(in.left.data(), in.right.data(), out.data(), out.data(), 64,
                  {{1, 5, 0.3}, {10, 9, 1.0}});
    // Written and read a few bytes per call, as some hosts' streams do.
    const std::vector<std::uint8_t> state = vst3->saveState(7);
    ASSERT_EQ(state.size(), 548u);
    EXPECT_EQ(vst3->saveState(), state);

    // Into an LV2 session in place of its own state, and back out of it.
    std::string session = lv2->saveState();
    const std::size_t begin = session.find("AQAA");
    ASSERT_NE(begin, std::string::npos);
    const std::size_t end = session.find('"', begin);
    const std::vector<std::uint8_t> lv2State = decode(session.substr(begin, end - begin));
    gchar* encoded = g_base64_encode(state.data(), state.size());
    session.replace(begin, end - begin, encoded);
    g_free(encoded);
    auto reopened = loadLv2();
    ASSERT_TRUE(reopened && reopened->restoreState(session));
    std::vector<float> l(64), r(64);
    reopened->run(in.left.data(), in.right.data(), l.data(), r.data(), 64);
    const std::string resaved = reopened->saveState();
    const std::size_t at = resaved.find("AQAA");
    EXPECT_EQ(decode(resaved.substr(at, resaved.find('"', at) - at)), state);

    auto fromLv2 = loadVst3();
    ASSERT_TRUE(fromLv2 && fromLv2->restoreState(lv2State, 5));
    EXPECT_EQ(fromLv2->saveState(), lv2State);
    // Bytes it does not know change nothing.
    std::vector<std::uint8_t> unknown = state;
    unknown[0] = 2;
    EXPECT_FALSE(fromLv2->restoreState(unknown));
    EXPECT_FALSE(fromLv2->restoreState({state.begin(), state.begin() + 100}));
    EXPECT_EQ(fromLv2->saveState(), lv2State);
}

TEST_F(Vst3Test, ParametersProgramsTextsAndBusesAreTheEffects) {
    auto vst3 = loadVst3();
    ASSERT_TRUE(vst3);
    v3_edit_controller** controller = vst3->controller();
    auto* api = v3_cpp_obj(controller);
    int bypassFlagged = 0;
    for (int i = 0; i < api->get_parameter_count(controller); ++i) {
        v3_param_info info{};
        ASSERT_EQ(api->get_parameter_info(controller, i, &info), V3_OK);
        if (info.flags & V3_PARAM_IS_BYPASS) {
            ++bypassFlagged;
            EXPECT_EQ(info.param_id, 40u);
            EXPECT_EQ(info.step_count, 1);
        }
    }
    EXPECT_EQ(bypassFlagged, 1);
    // Stereo 32-bit only.
    v3_audio_processor** processor = vst3->processor();
    v3_speaker_arrangement mono = V3_SPEAKER_M, stereo = V3_SPEAKER_L | V3_SPEAKER_R;
    EXPECT_NE(v3_cpp_obj(processor)->set_bus_arrangements(processor, &mono, 1, &stereo, 1), V3_OK);
    EXPECT_NE(v3_cpp_obj(processor)->can_process_sample_size(processor, V3_SAMPLE_64), V3_OK);
    EXPECT_EQ(vst3->text(1, 0.25), "-10.0 dB");
    double value = 0;
    ASSERT_TRUE(vst3->parse(1, "-10", value));
    EXPECT_EQ(vst3->text(1, value), "-10.0 dB");
    EXPECT_FALSE(vst3->parse(1, "loud", value));

    // Choosing a program through its parameter switches the effect and has the host re-read.
    vst3->setValue(1000, 5 / 7.0);
    EXPECT_EQ(vst3->restarts(), 1);
    EXPECT_EQ(vst3->value(1000), 5 / 7.0);
    EXPECT_EQ(vst3->text(1000, 5 / 7.0), "Only Air");

    // A host's write reaches the effect at once, so a session saved before the next block holds
    // the value the host shows.
    vst3->setValue(1, 0.25);
    auto reopened = loadVst3();
    ASSERT_TRUE(reopened && reopened->restoreState(vst3->saveState()));
    EXPECT_EQ(reopened->text(1, reopened->value(1)), "-10.0 dB");
}

} // namespace
