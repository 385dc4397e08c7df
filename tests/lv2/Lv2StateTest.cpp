// SPDX-License-Identifier: GPL-3.0-or-later
// State and presets through lilv, as a host saves and reopens a session.
#include "lv2/Lv2Hosts.h"
#include "prefs/TempConfig.h"

#include <algorithm>

namespace {

std::vector<float> allValues(AEffect* effect) {
    std::vector<float> values(128);
    for (int i = 0; i < 128; ++i)
        values[i] = effect->getParameter(effect, i);
    return values;
}

void runBlock(orvane::lv2host::Lv2Plugin& plugin) {
    StereoSignal s = testSignal(256);
    std::vector<float> outL(256), outR(256);
    plugin.run(s.left.data(), s.right.data(), outL.data(), outR.data(), 256);
}

class Lv2StateTest : public TempConfig {};

TEST_F(Lv2StateTest, SessionReopensWithEveryValueTheNameAndBothMemories) {
    auto saved = loadLv2();
    ASSERT_TRUE(saved);
    ASSERT_TRUE(saved->applyPreset("Only Air"));
    runBlock(*saved);
    saved->setControl("main_volume", -6.0f);
    runBlock(*saved);
    // Memories and an index no port shows, written as the editor writes them.
    AEffect* effect = effectOf(*saved);
    effect->setParameter(effect, 13, 0.25f);
    effect->setParameter(effect, 33, 0.75f);
    effect->setParameter(effect, 11, 0.3f);
    const std::vector<float> values = allValues(effect);
    const std::string session = saved->saveState();
    ASSERT_NE(session.find("urn:halvick:orvane#state"), std::string::npos) << session;

    auto reopened = loadLv2();
    ASSERT_TRUE(reopened);
    ASSERT_TRUE(reopened->restoreState(session));
    runBlock(*reopened);
    AEffect* restored = effectOf(*reopened);
    EXPECT_EQ(allValues(restored), values);
    EXPECT_EQ(programName(restored), "Only Air");
    EXPECT_EQ(reopened->control("main_volume"), -6.0f);
    // A second save of the reopened session is byte for byte the first.
    EXPECT_EQ(reopened->saveState(), session);
}

TEST_F(Lv2StateTest, RestoredChunkWinsOverStalePorts) {
    auto plugin = loadLv2();
    ASSERT_TRUE(plugin);
    AEffect* effect = effectOf(*plugin);
    effect->setParameter(effect, 3, 0.9f); // as MIDI or the editor would, no port write
    std::string session = plugin->saveState();
    // The host's port still says 3 dB; reopening must not undo the effect's 5.4 dB.
    auto reopened = loadLv2();
    ASSERT_TRUE(reopened && reopened->restoreState(session));
    runBlock(*reopened);
    EXPECT_EQ(effectOf(*reopened)->getParameter(effectOf(*reopened), 3), 0.9f);
}

// Saved by the bundle before the adapter core: "Vocal lift" at -7.5 dB with Mono Type "L + R".
const char* const kEarlierSession = R"(<urn:orvane:test:state>
	a pset:Preset ;
	lv2:appliesTo <urn:halvick:orvane> ;
	lv2:port [
		lv2:symbol "air" ;
		pset:value 1.0
	] , [
		lv2:symbol "air_amount" ;
		pset:value 3.0
	] , [
		lv2:symbol "air_frequency" ;
		pset:value 34.14630127
	] , [
		lv2:symbol "bypass" ;
		pset:value 0.0
	] , [
		lv2:symbol "main_volume" ;
		pset:value -7.5
	] , [
		lv2:symbol "mono_type" ;
		pset:value 2.0
	] , [
		lv2:symbol "split" ;
		pset:value 0.0
	] , [
		lv2:symbol "split_frequency" ;
		pset:value 0.80000001
	] , [
		lv2:symbol "split_note_mode" ;
		pset:value 0.0
	] , [
		lv2:symbol "split_range" ;
		pset:value 0.0
	] , [
		lv2:symbol "split_solo" ;
		pset:value 0.0
	] ;
	state:state [
		<urn:halvick:orvane#state> """AQAAAAAAAAAAAKA+AACAPwAAAD9mZuY+AAAAAAAAAADNzEw/AAAAAAAAAAAK4vU9AAAAAAAAAAAA
AAAAAAAAPwAAAAAAAAA/AACAPwAAAAAAAAAAzcxMPwAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAPwAA
AAAAAAA/AACAPwAAAAAAAAAAzcxMPwAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA
AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA
AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA
AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA
AAAAAAAAAAAAAAAAAAAAAAAAAAAAALCsrD7b3t4+vcbGPr3Cwj7L2Ng+c4AAPsvY2D7d0tI+zczM
Puro6D4AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA
AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA
AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA="""^^xsd:base64Binary
	] .)";

TEST_F(Lv2StateTest, SessionFromTheEarlierBundleStillLoads) {
    auto plugin = loadLv2();
    ASSERT_TRUE(plugin && plugin->restoreState(kEarlierSession));
    runBlock(*plugin);
    AEffect* effect = effectOf(*plugin);
    EXPECT_EQ(programName(effect), "Vocal lift");
    EXPECT_EQ(effect->getParameter(effect, 1), 0.3125f);
    EXPECT_EQ(plugin->control("mono_type"), 2.0f);
    EXPECT_NE(plugin->saveState().find("AQAAAAAAAAAAAKA+AACAPwAAAD9mZuY+"), std::string::npos);
}

// A session saved before the plug-in ran holds the values the host shows, and reopens with them
// in the ports, the state and the sound. Some hosts keep a port's value to themselves until a
// run: saved then, the state still has the older value, and the port the host reopens with wins.
TEST_F(Lv2StateTest, SessionSavedBeforeAnyRunHoldsTheHostsValues) {
    auto saved = loadLv2();
    ASSERT_TRUE(saved);
    saved->setControl("main_volume", -10.0f);
    saved->setControl("air", 0.0f);
    const std::string session = saved->saveState();

    auto reopened = loadLv2();
    ASSERT_TRUE(reopened && reopened->restoreState(session));
    runBlock(*reopened);
    AEffect* effect = effectOf(*reopened);
    EXPECT_EQ(effect->getParameter(effect, 1), 0.25f);
    EXPECT_EQ(effect->getParameter(effect, 2), 0.0f);
    EXPECT_EQ(reopened->control("main_volume"), -10.0f);
    EXPECT_EQ(reopened->saveState(), session);

    // The host moved Main Volume to +5 dB in its own copy, then saved before passing it on.
    std::string held = session;
    const std::string port = "lv2:symbol \"main_volume\" ;";
    const std::size_t at = held.find("pset:value", held.find(port));
    ASSERT_NE(held.find(port), std::string::npos) << held;
    held.replace(at, held.find('\n', at) - at, "pset:value 5.0");
    auto fromHost = loadLv2();
    ASSERT_TRUE(fromHost && fromHost->restoreState(held));
    runBlock(*fromHost);
    EXPECT_EQ(effectOf(*fromHost)->getParameter(effectOf(*fromHost), 1), 0.625f);
    EXPECT_EQ(effectOf(*fromHost)->getParameter(effectOf(*fromHost), 2), 0.0f);
}

TEST_F(Lv2StateTest, UnknownStateVersionChangesNothing) {
    auto plugin = loadLv2();
    ASSERT_TRUE(plugin);
    std::string session = plugin->saveState();
    AEffect* effect = effectOf(*plugin);
    const std::vector<float> before = allValues(effect);
    // The first base64 quad holds the version word 1 ("AQAA"); make it 2 ("AgAA").
    const std::size_t at = session.find("\"AQAA");
    ASSERT_NE(at, std::string::npos);
    session.replace(at + 1, 4, "AgAA");
    effect->setParameter(effect, 3, 0.1f);
    const std::vector<float> edited = allValues(effect);
    EXPECT_TRUE(plugin->restoreState(session));
    EXPECT_EQ(allValues(effect), edited);
    EXPECT_NE(edited, before);
}

TEST_F(Lv2StateTest, FactoryProgramsArePresetsUnderTheirNames) {
    auto plugin = loadLv2();
    ASSERT_TRUE(plugin);
    std::vector<std::string> labels = plugin->presetLabels();
    std::sort(labels.begin(), labels.end());
    const std::vector<std::string> expected = {"Default",        "Just a bit", "Mid and High Air",
                                               "Nice Start",     "Only Air",   "Only MonoStereo",
                                               "Only a bit Air", "Vocal lift"};
    EXPECT_EQ(labels, expected);

    AEffect* effect = effectOf(*plugin);
    for (int n = 0; n < 8; ++n) {
        ASSERT_TRUE(plugin->applyPreset(expected[n]));
        runBlock(*plugin);
        EXPECT_EQ(programName(effect), expected[n]);
    }
    ASSERT_TRUE(plugin->applyPreset("Mid and High Air"));
    runBlock(*plugin);
    EXPECT_EQ(effect->getParameter(effect, 4), 0.0f);
    EXPECT_EQ(plugin->control("air_frequency"), 30.0f);
    EXPECT_EQ(plugin->control("air_amount"), 0.38f * 6.0f);
    EXPECT_EQ(plugin->control("split"), 0.0f);
}

} // namespace
