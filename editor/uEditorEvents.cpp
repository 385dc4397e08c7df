// SPDX-License-Identifier: GPL-3.0-or-later
// Control events and host sync: what each control does to the effect, how the effect's changes
// reach the controls, the program step, the arrow keys and the A/B memories.
#include "editor/uEditor.h"

#include "editor/myKnob.h"
#include "editor/myOnOff.h"
#include "editor/myOptionMenu.h"
#include "editor/myRadioButton.h"
#include "editor/myTextButton.h"
#include "engine/APlugin.h"
#include "platform/ChildProcess.h"
#include "platform/Preferences.h"
#include "toolkit/HostWindow.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

using namespace orvgui;

namespace {

constexpr int kProgramStepWindow = 250;
constexpr int kKeyUp = 12;   // VKEY_UP
constexpr int kKeyDown = 14; // VKEY_DOWN
constexpr int kMemoryOf[3] = {kMainVolume, kMemoryA, kMemoryB};

bool pressed(const CControl* control) {
    return control->getValue() > 0.5f;
}

} // namespace

void uEditor::valueChanged(CControl* control) {
    if (!frame || !plugin || !control || isModal()) return;
    const float value = control->getValue();
    if (control == logoButton && pressed(control)) showBackside();
    if (control == returnControl && pressed(control)) hideBackside();
    if (control == keySwitch) keyNavigation = setBackRegValue("Key", value);
    if (control == captureSwitch) capture = setBackRegValue("Capture", value);
    if (control == channelMenu) {
        const int e = channelMenu->getCurrentIndex();
        saveIntToPrefs("Midi Channel", e);
        channelMenu->setString(MIDI_CHANNEL_STR[e]);
        plugin->updateMidiChannel();
        return;
    }
    if (control == sizeMenu) {
        const int e = sizeMenu->getCurrentIndex();
        setScreen(e);
        sizeMenu->setString(BIG_SCREEN_STR[e]);
        return;
    }
    if (control == midiPresetSwitch) {
        midiPreset = setBackRegValue("MidiPreset", value);
        plugin->updateMidiPreset();
    }
    if (control == editButton && pressed(control)) return plugin->editProgram();
    if (control == recallButton && pressed(control)) return plugin->recallProgram();
    if (control == previousButton && pressed(control)) return changeProgramDelta(-1);
    if (control == nextButton && pressed(control)) return changeProgramDelta(+1);
    if (control == programMenu) return programMenuChoice();
    if (control == manualButton && pressed(control)) openManual();
    if (control == ecsMenu) return ecsCommand(ecsMenu->getCurrentIndex());
    if ((control == storeAButton || control == storeBButton) && pressed(control))
        return storeMemory(control == storeAButton ? 1 : 2);
    if ((control == recallAButton || control == recallBButton) && pressed(control)) {
        recallMemory(control == recallAButton ? 1 : 2);
        return resume();
    }
    if (control == undoButton && pressed(control)) undoMemory();
    if (control == monoTypeMenu) {
        const int32_t tag = control->getTag();
        const int e = monoTypeMenu->getCurrentIndex();
        if (tag >= 0 && tag < kNumParams)
            plugin->setParameterAutomated(tag, (e + 0.5f) / menuSteps[tag]);
        return;
    }
    for (int k = 0; k < 4; ++k) {
        if (control != rangeButtons[k]) continue;
        setRangeButtons(k);
        plugin->setParameter(kSplitRange, (k + 0.1f) / 3.99f);
        return resume();
    }
    if ((control == noteMenu || control == noteSub1 || control == noteSub2 ||
         control == noteSub3) &&
        noteChoice(control))
        return;
    const int32_t tag = control->getTag();
    if (tag >= 0 && tag <= kLastParameterTag) plugin->setParameterAutomated(tag, value);
}

void uEditor::changeProgramDelta(int delta) {
    if (!plugin || resumeBusy) return;
    const uint32_t now = getTicks();
    programStepTick = now;
    if (now < lastStepTick) lastStepTick = now - (kProgramStepWindow + 1);
    if (now - lastStepTick < kProgramStepWindow) return;
    lastStepTick = now;
    plugin->changeDemoProgramDelta(delta);
    resume();
}

void uEditor::programMenuChoice() {
    int32_t index = programMenu->getCurrentIndex();
    CMenuItem* item = programMenu->getCurrent();
    const std::string title = item ? item->getTitle() : std::string();
    for (int size = 0; size < 3; ++size) {
        char screen[32];
        std::snprintf(screen, sizeof screen, "set To %s Screen", BIG_SCREEN_STR[size]);
        if (title == screen) return setScreen(size);
    }
    if (title == "clear preset")
        plugin->doPresetCommand(6);
    else
        plugin->setDemoProgram(index);
    char name[64] = {};
    plugin->getProgramName(name);
    programMenu->setString(name);
    resume();
}

void uEditor::storeMemory(int group) {
    for (int i = 0; i < 11; ++i)
        plugin->setParameter(kMemoryOf[group] + i, plugin->getParameter(kMainVolume + i));
}

void uEditor::recallMemory(int group) {
    plugin->setParameter(kLampA, group == 1 ? 1.0f : 0.0f);
    plugin->setParameter(kLampB, group == 2 ? 1.0f : 0.0f);
    for (int i = 0; i < 11; ++i) {
        undoSnapshot[i].store(plugin->getParameter(kMainVolume + i), std::memory_order_relaxed);
        plugin->setParameter(kMainVolume + i, plugin->getParameter(kMemoryOf[group] + i));
    }
}

void uEditor::undoMemory() {
    for (int i = 0; i < 11; ++i)
        plugin->setParameter(kMainVolume + i, undoSnapshot[i].load(std::memory_order_relaxed));
    plugin->setParameter(kLampA, 0.0f);
    plugin->setParameter(kLampB, 0.0f);
}

bool uEditor::noteChoice(CControl* control) {
    auto* menu = static_cast<COptionMenu*>(control);
    CMenuItem* item = menu->getCurrent();
    if (!item) return false;
    for (int i = 0; i < 113; ++i) {
        if (item->getTitle() != MIDI_NOTE_STR[i]) continue;
        const double f = 440.0 * std::pow(2.0, (i + 15 - 69) / 12.0);
        const double m = MONO_FREQ_MULT[plugin->getMonoSplitRange()];
        double v = std::log2(f / 20.0) / m;
        v = v < 0.0 ? 0.0 : v > 1.0 ? 1.0 : v;
        plugin->setParameterAutomated(kSplitFrequency, static_cast<float>(v));
        return true;
    }
    return false;
}

// Handed to the desktop's viewer without a shell: a path is one argument, whatever it holds.
// The viewer outlives the editor and the effect, so it is never a child left to reap.
void uEditor::openManual() {
    const char* path = plugin->getHelpPath();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return;
    std::fclose(file);
    startDetached({"xdg-open", path});
}

// Effect to editor: recorded here on the caller's thread, applied by the next idle.
void uEditor::setParameter(int index, float) {
    if (index < 0 || index >= kNumParams) return;
    mailbox.markParameter(index);
}

void uEditor::applyMailbox() {
    if (mailbox.takeResume()) resume();
    mailbox.takeParameters([this](int index) { applyParameter(index); });
}

void uEditor::applyParameter(int index) {
    if (!frame || !plugin) return;
    const float value = plugin->getParameter(index);
    if (index == kMonoType && monoTypeMenu) {
        const float v = value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
        int e = static_cast<int>(v * menuSteps[monoTypeMenu->getTag()]);
        const int last = monoTypeMenu->getNbEntries() - 1;
        e = e < 0 ? 0 : e > last ? last : e;
        monoTypeMenu->setString(MONO_TYPE_STR[e]);
    }
    if (index == kSplitFrequency || index == kSplitNoteMode) displayDirty = true;
    if (index == kSplitRange) {
        setRangeButtons(plugin->getMonoSplitRange());
        displayDirty = true;
        setReadout(splitFrequencyReadout, kSplitFrequency);
    }
    for (const RegistryEntry& entry : registry)
        if (!entry.isMenu && entry.control->getTag() == index) entry.control->setValue(value);
    setReadout(readoutOf(index), index);
}

int32_t uEditor::onKeyDown(const VstKeyCode& key, CFrame*) {
    if (isModal()) return 1;
    if (!keyNavigation || menuPressed) return -1;
    if (key.virt == kKeyDown) {
        changeProgramDelta(+1);
        return 1;
    }
    if (key.virt == kKeyUp) {
        changeProgramDelta(-1);
        return 1;
    }
    return -1;
}

int32_t uEditor::onKeyUp(const VstKeyCode&, CFrame*) {
    return isModal() ? 1 : -1;
}

// A dialog runs on a thread of its own, above the host's window; the editor stays modal until an
// idle collects its end.
bool uEditor::runDialog(std::function<void()> operation) {
    const auto parent = reinterpret_cast<std::uintptr_t>(systemWindow);
    if (!dialog.start(std::move(operation), topLevelWindowOf(parent))) return false;
    if (frame) {
        frame->dismissMenu();
        frame->setMouseEnabled(false);
    }
    return true;
}

void uEditor::finishDialog() {
    if (!frame) return;
    frame->setMouseEnabled(true);
    resume();
}
