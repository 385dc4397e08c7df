// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI through the built module, delivered by the test host.
#include "engine/APlugin.h"
#include "midi/MidiEvents.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"
#include "tests/host/LoadPlugin.h"

#include <memory>
#include <vector>

namespace {

using orvane::testhost::Plugin;

class MidiHostTest : public TempConfig {
protected:
    static std::unique_ptr<Plugin> openEffect() { return orvane::test::loadPlugin({}, true); }

    // Left output of frames samples of constant input 0.5.
    static std::vector<float> run(Plugin& plugin, int frames) {
        std::vector<float> inL(frames, 0.5f), inR(frames, 0.5f), outL(frames), outR(frames);
        float* inputs[] = {inL.data(), inR.data()};
        float* outputs[] = {outL.data(), outR.data()};
        plugin.process(inputs, outputs, frames);
        return outL;
    }

    // Sends the events and processes one sample, so that they are dispatched.
    static void deliver(Plugin& plugin, const std::vector<VstMidiEvent>& events) {
        plugin.sendEvents(events);
        run(plugin, 1);
    }
};

TEST_F(MidiHostTest, EventsActAtTheirSample) {
    setMidiCC(20, kBypass);
    setMidiCC(21, kAirAmount);
    auto plugin = openEffect();
    // Muted unless bypassed, so the output shows the bypass.
    plugin->setParameter(kMainVolume, 0.0f);
    run(*plugin, 64);

    // Offsets 0 and 1 both act before the first sample.
    plugin->sendEvents({controlChange(20, 127, 1), controlChange(21, 0, 0)});
    std::vector<float> out = run(*plugin, 1);
    EXPECT_EQ(out[0], 0.5f);
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.0f);
    deliver(*plugin, {controlChange(20, 0, 0)});

    // Offset d acts before sample d - 1.
    plugin->sendEvents({controlChange(20, 127, 10), controlChange(20, 0, 20)});
    out = run(*plugin, 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(out[i], i >= 9 && i < 19 ? 0.5f : 0.0f) << "sample " << i;
}

TEST_F(MidiHostTest, PendingEventsCarryOverIntoTheNextBlock) {
    setMidiCC(21, kAirAmount);
    auto plugin = openEffect();
    plugin->sendEvents({controlChange(21, 127, 5)});
    run(*plugin, 4);
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.5f);
    run(*plugin, 1);
    EXPECT_EQ(plugin->getParameter(kAirAmount), 1.0f);
}

TEST_F(MidiHostTest, TheQueueHolds250EventsAndDropsThe251st) {
    setMidiCC(21, kAirAmount);
    setMidiCC(22, kAirFrequency);
    auto plugin = openEffect();
    std::vector<VstMidiEvent> events(250, controlChange(21, 0));
    events.push_back(controlChange(22, 0));
    deliver(*plugin, events);
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.0f);
    EXPECT_EQ(plugin->getParameter(kAirFrequency), 1.0f) << "the 251st event must be dropped";
    deliver(*plugin, {controlChange(22, 0)}); // dispatched events free their records
    EXPECT_EQ(plugin->getParameter(kAirFrequency), 0.0f);
}

// Without capture a controller jumps the value at once, scaled to 0 through 1.
TEST_F(MidiHostTest, ControllerValuesScaleTo0Through1) {
    setMidiCC(21, kAirAmount);
    auto plugin = openEffect();
    for (int value : {127, 64, 0, 1}) {
        deliver(*plugin, {controlChange(21, value)});
        EXPECT_EQ(plugin->getParameter(kAirAmount), static_cast<float>(value) / 127.0f) << value;
    }
}

TEST_F(MidiHostTest, ChannelFilterPassesOnlyTheChosenChannel) {
    setMidiCC(7, kAirAmount);
    saveIntToPrefs("Midi Channel", 1);
    {
        auto plugin = openEffect();
        deliver(*plugin, {controlChange(7, 0, 0, /*channel 3*/ 2)});
        EXPECT_EQ(plugin->getParameter(kAirAmount), 0.5f);
        deliver(*plugin, {controlChange(7, 0, 0, 0)});
        EXPECT_EQ(plugin->getParameter(kAirAmount), 0.0f);
    }
    for (int omni : {0, 17, -1}) {
        saveIntToPrefs("Midi Channel", omni);
        auto plugin = openEffect();
        deliver(*plugin, {controlChange(7, 0, 0, 2)});
        EXPECT_EQ(plugin->getParameter(kAirAmount), 0.0f) << "stored channel " << omni;
    }
}

TEST_F(MidiHostTest, ChannelModeControllersNeverDriveAParameter) {
    for (int controller : {120, 121, 123})
        setMidiCC(controller, kAirAmount);
    setMidiCC(5, 999); // a foreign value outside the parameter range reads as unbound
    setMidiCC(6, -4);
    auto plugin = openEffect();
    plugin->sendEvents({controlChange(120, 0), controlChange(121, 0), controlChange(123, 0),
                        controlChange(5, 0), controlChange(6, 0)});
    run(*plugin, 1);
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.5f);
}

TEST_F(MidiHostTest, CaptureWaitsForTheControllerToReachTheValue) {
    saveStringToPrefs("Capture", "Y");
    setMidiCC(20, kAirAmount); // restored at start-up, so its reference is the value at start
    auto plugin = openEffect();
    ASSERT_EQ(plugin->getParameter(kAirAmount), 0.5f);
    deliver(*plugin, {controlChange(20, 0)});
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.5f) << "far from the value: dropped";
    deliver(*plugin, {controlChange(20, 64)});
    EXPECT_EQ(plugin->getParameter(kAirAmount), 64.0f / 127.0f) << "within 0.025: taken over";
    deliver(*plugin, {controlChange(20, 0)});
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.0f) << "taken over: follows every value";

    // Loading a program replaces the values: the controller must pick up the new one.
    plugin->dispatch(effSetProgram, 0, 0);
    ASSERT_EQ(plugin->getParameter(kAirAmount), 0.5f);
    deliver(*plugin, {controlChange(20, 127)});
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.5f);
}

TEST_F(MidiHostTest, ProgramChangeSelectsFactoryProgramsOnlyWhenAllowed) {
    for (const char* off : {"", "y"}) { // absent (stored as "N" at start-up), or not exactly "Y"
        if (*off) saveStringToPrefs("MidiPreset", off);
        auto plugin = openEffect();
        deliver(*plugin, {programChange(3)});
        EXPECT_EQ(plugin->programName(), "Nice Start") << off;
    }
    saveStringToPrefs("MidiPreset", "Y");
    auto plugin = openEffect();
    const int displayUpdates = plugin->log().updateDisplay;
    deliver(*plugin, {programChange(3)});
    EXPECT_EQ(plugin->programName(), "Mid and High Air");
    EXPECT_EQ(plugin->log().updateDisplay, displayUpdates) << "no host call on the audio thread";
    plugin->dispatch(effEditIdle);
    EXPECT_EQ(plugin->log().updateDisplay, displayUpdates + 1)
        << "asked at the next dispatcher call";
    deliver(*plugin, {programChange(8), programChange(127)});
    EXPECT_EQ(plugin->programName(), "Mid and High Air");
}

TEST_F(MidiHostTest, MalformedEventListsAreIgnoredSafely) {
    setMidiCC(21, kAirAmount);
    auto plugin = openEffect();
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, nullptr), 1);

    VstEvents negative{};
    negative.numEvents = -3;
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, &negative), 1);

    VstMidiEvent early = controlChange(21, 0, -7); // a negative offset counts as 0
    VstMidiEvent sysex = controlChange(21, 127);
    sysex.type = kVstSysExType;
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[3];
    } list{
        3, 0, {nullptr, reinterpret_cast<VstEvent*>(&sysex), reinterpret_cast<VstEvent*>(&early)}};
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, &list), 1);
    run(*plugin, 1);
    EXPECT_EQ(plugin->getParameter(kAirAmount), 0.0f);
}

} // namespace
