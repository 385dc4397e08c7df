// SPDX-License-Identifier: GPL-3.0-or-later
// Building MIDI events as a host sends them.
#pragma once

#include "host/vst2.h"

inline VstMidiEvent midiEvent(int status, int first, int second, int offset = 0) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = offset;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(first);
    event.midiData[2] = static_cast<char>(second);
    return event;
}

inline VstMidiEvent controlChange(int controller, int value, int offset = 0, int channel = 0) {
    return midiEvent(0xB0 | channel, controller, value, offset);
}

inline VstMidiEvent programChange(int program, int offset = 0, int channel = 0) {
    return midiEvent(0xC0 | channel, program, 0, offset);
}
