// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI queueing and dispatch, learn and soft takeover. Bindings are per user: the processing
// thread changes them in memory and leaves the disk write to the dispatcher thread.
#include "engine/APlugin.h"

#include "platform/Dialogs.h"
#include "platform/Preferences.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr VstInt32 kFreeSlot = -99;
constexpr float kCaptureWindow = 0.025f;

bool isParameter(int index) {
    return index >= 0 && index < kNumParams;
}

// Controllers that are channel-mode messages (reset controllers, local control, all notes off).
bool isNeverLearnt(int controller) {
    return controller == 120 || controller == 121 || controller == 123;
}

// Decimal text as a number clamped to 0..127; text that is not a number reads as 0.
int controllerNumberOf(const char* text) {
    const long number = std::strtol(text, nullptr, 10);
    if (number < 0) return 0;
    if (number > kNumParams - 1) return kNumParams - 1;
    return static_cast<int>(number);
}

// These opcodes come on the dispatcher thread only, never on the processing thread.
bool isDispatcherThreadOpcode(VstInt32 opcode) {
    switch (opcode) {
    case effOpen:
    case effClose:
    case effMainsChanged:
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
    case effGetChunk:
    case effSetChunk:
        return true;
    default:
        return false;
    }
}

} // namespace

void APlugin::initMidi() {
    midiQueue.reset(new VstMidiEvent[kMidiQueueSize]);
    for (int slot = 0; slot < kMidiQueueSize; ++slot) {
        midiQueue[slot] = VstMidiEvent{};
        midiQueue[slot].type = kVstMidiType;
        midiQueue[slot].byteSize = sizeof(VstMidiEvent);
        midiQueue[slot].deltaFrames = kFreeSlot;
    }
    midiPending = 0;
    setAllMidiControls();
    updateMidiChannel();
}

void APlugin::releaseMidi() {
    // The last chance to write a binding learnt since the last dispatcher call.
    flushDeferredMidiCC();
    midiQueue.reset();
}

VstIntPtr APlugin::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
    if (isDispatcherThreadOpcode(opcode)) {
        flushDeferredMidiCC();
        if (displayUpdatePending.exchange(false)) updateDisplay();
    }
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

void APlugin::resume() {
    __wantEventsDeprecated(1);
}

VstInt32 APlugin::processEvents(VstEvents* events) {
    if (!events || !midiQueue) return 1;
    VstEvent* const* list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = list[i];
        if (!event || event->type != kVstMidiType) continue;
        if (midiPending >= kMidiQueueSize) return 1;
        VstMidiEvent* slot = nullptr;
        for (int s = 0; s < kMidiQueueSize && !slot; ++s)
            if (midiQueue[s].deltaFrames == kFreeSlot) slot = &midiQueue[s];
        if (!slot) return 1;
        ++midiPending;
        std::memcpy(slot, event, sizeof(VstMidiEvent));
        if (slot->deltaFrames < 0) slot->deltaFrames = 0;
    }
    return 1;
}

void APlugin::processMidi() {
    for (int slot = 0; slot < kMidiQueueSize; ++slot) {
        VstMidiEvent& event = midiQueue[slot];
        if (event.deltaFrames > 0) --event.deltaFrames;
        if (event.deltaFrames != 0) continue;
        if (midiPending <= 0) {
            midiPending = 0;
            return;
        }
        --midiPending;
        dispatchMidi(event.midiData);
        event.deltaFrames = kFreeSlot;
    }
}

void APlugin::dispatchMidi(const char* data) {
    const int status = static_cast<unsigned char>(data[0]);
    const int first = data[1] & 0x7F;
    const int second = data[2] & 0x7F;
    const int channel = midiChannelFilter;
    if (channel != -1 && (status & 0x0F) != channel) return;
    switch (status & 0xF0) {
    case 0xC0:
        if (!midiProgramChange) break;
        programChangeFromMidi = true;
        setDemoProgram(first);
        programChangeFromMidi = false;
        break;
    case 0xB0:
        controlChange(first, static_cast<float>(second) / 127.0f);
        break;
    default:
        break;
    }
}

void APlugin::controlChange(int controller, float value) {
    if (isNeverLearnt(controller)) return;
    if (latchArmed.exchange(false)) {
        const int target = latchTarget;
        if (isParameter(target)) {
            ccToParam[controller] = target;
            deferMidiCC(controller, target);
            captureReference[target] = paramValues[target].load();
            captureTaken[target] = false;
        }
    }
    const int parameter = ccToParam[controller];
    if (parameter <= 0 || parameter >= kNumParams) return;
    if (captureEnabledInMemory() && !captureTaken[parameter]) {
        if (!(std::fabs(value - captureReference[parameter]) < kCaptureWindow)) return;
        captureTaken[parameter] = true;
    }
    setParameter(parameter, value);
}

void APlugin::setMidiLatch(int parameter, bool latch) {
    if (!isParameter(parameter)) return;
    latchTarget = parameter;
    if (latch) {
        latchArmed = true;
        return;
    }
    unbindParameter(parameter);
}

void APlugin::unbindParameter(int parameter) {
    if (parameter != 0) {
        for (int controller = 0; controller < kNumParams; ++controller) {
            if (ccToParam[controller] != parameter) continue;
            ccToParam[controller] = 0;
            setMidiCC(controller, 0);
        }
    }
    captureReference[parameter] = -1.0f;
    captureTaken[parameter] = false;
}

void APlugin::resetMidi() {
    int none[kNumParams] = {};
    for (auto& parameter : ccToParam)
        parameter = 0;
    setAllMidiCC(none);
}

void APlugin::setMidiCCNum(int parameter) {
    if (!isParameter(parameter)) return;
    char name[64] = {};
    getParameterName(parameter, name);
    char label[96];
    std::snprintf(label, sizeof label, "MIDI CC : %s", name);
    char answer[256] = {};
    inputBox(label, "MIDI CC (0 - 127)", answer, sizeof answer);
    if (!answer[0]) return;
    const int controller = controllerNumberOf(answer);
    unbindParameter(parameter);
    ccToParam[controller] = parameter;
    captureReference[parameter] = paramValues[parameter].load();
    captureTaken[parameter] = false;
    setMidiCC(controller, parameter);
}

void APlugin::setAllMidiControls() {
    int stored[kNumParams];
    getAllMidiCC(stored);
    // A hand-edited or foreign value outside the parameter range would index past the tables.
    for (int controller = 0; controller < kNumParams; ++controller)
        ccToParam[controller] = isParameter(stored[controller]) ? stored[controller] : 0;
    resetCapture();
}

void APlugin::updateMidiChannel() {
    const int stored = loadIntFromPrefs("Midi Channel");
    midiChannelFilter = (stored >= 1 && stored <= 16) ? stored - 1 : -1;
}

void APlugin::updateMidiPreset() {
    midiProgramChange = prefIsYes("MidiPreset");
}

bool APlugin::getMidiCapture() {
    return prefIsYes("Capture");
}

void APlugin::resetCapture() {
    for (int parameter = 0; parameter < kNumParams; ++parameter) {
        captureReference[parameter] = paramValues[parameter].load();
        captureTaken[parameter] = false;
    }
}

int APlugin::getMidiCC(int controller) {
    return ::getMidiCC(controller);
}

void APlugin::setMidiCC(int controller, int parameter) {
    ::setMidiCC(controller, parameter);
}
