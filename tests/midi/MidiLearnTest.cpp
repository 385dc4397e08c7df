// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI learn, unlatch, clear and typed binding, as the editor's menus use them.
#include "engine/TestEffect.h"
#include "platform/Preferences.h"
#include "platform/ScriptedDialogs.h"
#include "prefs/TempConfig.h"

#include <memory>

namespace {

using MidiLearnTest = TempConfig;
using Controllers = std::vector<int>;

TEST_F(MidiLearnTest, ArmedLatchSurvivesChannelModeMessagesAndBindsTheNextController) {
    auto effect = std::make_unique<TestEffect>();
    effect->setMidiLatch(kMainVolume, true);
    effect->setMidiLatch(kAirAmount, true); // re-arming changes only the target
    effect->deliver({controlChange(123, 0), controlChange(120, 0), controlChange(121, 0)});
    EXPECT_EQ(effect->controllersOf(kAirAmount), Controllers{});

    effect->deliver({controlChange(1, 127)});
    EXPECT_EQ(effect->controllersOf(kAirAmount), Controllers{1});
    EXPECT_EQ(effect->getParameter(kAirAmount), 1.0f) << "the binding message is applied too";

    effect->deliver({controlChange(2, 0)}); // the latch is spent
    EXPECT_EQ(effect->controllersOf(kAirAmount), Controllers{1});
    EXPECT_EQ(effect->controllersOf(kMainVolume), Controllers{});
    EXPECT_EQ(effect->getParameter(kAirAmount), 1.0f);
}

// What the processing thread learnt reaches the disk at the next editor idle, or at the latest
// when the effect closes, for later instances.
TEST_F(MidiLearnTest, LearntBindingsPersistForLaterInstances) {
    std::string value;
    {
        TestEffect effect;
        effect.setMidiLatch(kAirAmount, true);
        effect.deliver({controlChange(65, 0)});
        effect.dispatcher(effProcessEvents, 0, 0, nullptr, 0); // processing thread: no disk work
        EXPECT_FALSE(onDisk("Integer", "65"));
        effect.dispatcher(effEditIdle, 0, 0, nullptr, 0);
        EXPECT_TRUE(onDisk("Integer", "65", &value));
        EXPECT_EQ(value, "3");
        effect.setMidiLatch(kBypass, true);
        effect.deliver({controlChange(64, 0)});
    }
    EXPECT_TRUE(onDisk("Integer", "64", &value));
    EXPECT_EQ(value, "40");
    TestEffect later;
    EXPECT_EQ(later.ccToParam[64], kBypass);
    EXPECT_EQ(later.getMidiCC(64), kBypass);
}

TEST_F(MidiLearnTest, UnlatchRemovesTheBindingsOfOneParameterAndClearRemovesAll) {
    TestEffect effect;
    for (int controller : {1, 2}) {
        effect.setMidiLatch(kAirAmount, true);
        effect.deliver({controlChange(controller, 10)});
    }
    effect.setMidiLatch(kMainVolume, true);
    effect.deliver({controlChange(3, 64)});
    ASSERT_EQ(effect.controllersOf(kAirAmount), (Controllers{1, 2}));

    effect.setMidiLatch(kAirAmount, false);
    EXPECT_EQ(effect.controllersOf(kAirAmount), Controllers{});
    EXPECT_EQ(effect.controllersOf(kMainVolume), Controllers{3});
    EXPECT_EQ(getMidiCC(1), 0);
    EXPECT_EQ(getMidiCC(2), 0);
    EXPECT_EQ(getMidiCC(3), kMainVolume);
    const float before = effect.getParameter(kAirAmount);
    effect.deliver({controlChange(1, 127)});
    EXPECT_EQ(effect.getParameter(kAirAmount), before);

    effect.resetMidi(); // clear: every binding goes
    for (int controller = 0; controller < kNumParams; ++controller) {
        EXPECT_EQ(effect.ccToParam[controller], 0);
        EXPECT_EQ(getMidiCC(controller), 0);
    }
}

TEST_F(MidiLearnTest, LearnTargetsOutsideTheTableAreIgnored) {
    TestEffect effect;
    for (int bad : {999, -1, 128}) {
        effect.setMidiLatch(bad, true);
        effect.setMidiLatch(bad, false);
        effect.setMidiCCNum(bad);
    }
    effect.deliver({controlChange(5, 0)});
    EXPECT_EQ(effect.controllersOf(0).size(), 128u) << "nothing was bound";
}

TEST_F(MidiLearnTest, CaptureSettingAppliesToTheNextMessage) {
    TestEffect effect;
    effect.setMidiLatch(kAirAmount, true);
    effect.deliver({controlChange(30, 64)}); // bound at 0.5; 64/127 is within reach
    saveStringToPrefs("Capture", "Y");
    effect.resetCapture();
    effect.deliver({controlChange(30, 0)});
    EXPECT_EQ(effect.getParameter(kAirAmount), 64.0f / 127.0f);
    saveStringToPrefs("Capture", "N");
    effect.deliver({controlChange(30, 0)});
    EXPECT_EQ(effect.getParameter(kAirAmount), 0.0f);
}

TEST_F(MidiLearnTest, TypedBindingAsksAndReplacesTheParametersBindings) {
    ScopedScriptedDialogs dialogs;
    TestEffect effect;
    effect.setMidiLatch(kAirAmount, true);
    effect.deliver({controlChange(1, 64)});

    dialogs.script.typed = "7";
    effect.setMidiCCNum(kAirAmount);
    ASSERT_EQ(dialogs.script.questions.size(), 1u);
    EXPECT_EQ(dialogs.script.questions[0].title, "MIDI CC (0 - 127)");
    EXPECT_EQ(dialogs.script.questions[0].label, "MIDI CC : Air Amount");
    EXPECT_EQ(dialogs.script.questions[0].initialText, "");
    EXPECT_EQ(effect.controllersOf(kAirAmount), Controllers{7});
    EXPECT_EQ(getMidiCC(1), 0);
    EXPECT_EQ(getMidiCC(7), kAirAmount);

    dialogs.script.typed = "99999999999999999999";
    effect.setMidiCCNum(kAirAmount);
    EXPECT_EQ(effect.controllersOf(kAirAmount), Controllers{127});
    dialogs.script.typed = "abc";
    effect.setMidiCCNum(kAirAmount);
    EXPECT_EQ(effect.controllersOf(kAirAmount), Controllers{0});
    dialogs.script.typed = "-5";
    effect.setMidiCCNum(kMainVolume);
    EXPECT_EQ(effect.controllersOf(kMainVolume), Controllers{0});

    dialogs.script.typed = "";
    effect.setMidiCCNum(kMainVolume);
    dialogs.script.confirm = false;
    effect.setMidiCCNum(kMainVolume);
    EXPECT_EQ(effect.controllersOf(kMainVolume), Controllers{0});
}

} // namespace
