// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user settings file, as another program or a hand edit may leave it: reads stay within
// their buffers, and an effect started on it keeps its bindings, parameters and output in range
// when every controller then arrives over MIDI.
#include "platform/Preferences.h"
#include "tests/fuzz/FuzzEffect.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

const char* const kKeys[] = {"ECSDir",       "MidiPreset", "Key", "Capture",
                             "Midi Channel", "Big200",     "7"};

void checkReads() {
    for (const char* key : kKeys) {
        for (int capacity : {1, 8, 128}) {
            char text[128];
            std::memset(text, 0x55, sizeof text);
            loadStringFromPrefs(key, text, capacity);
            FUZZ_CHECK(std::memchr(text, 0, static_cast<size_t>(capacity)) != nullptr);
        }
        loadIntFromPrefs(key);
    }
    int bindings[128];
    getAllMidiCC(bindings);
}

// Every controller once, half way, on the effect's channel or any.
void sendEveryController(fuzz::Effect& effect) {
    std::vector<VstMidiEvent> events(128);
    std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(events.size());
    VstEvent** slots = list->events; // the array runs on past its declared two entries
    for (int c = 0; c < 128; ++c) {
        events[c] = VstMidiEvent{};
        events[c].type = kVstMidiType;
        events[c].byteSize = sizeof(VstMidiEvent);
        events[c].midiData[0] = static_cast<char>(0xB0);
        events[c].midiData[1] = static_cast<char>(c);
        events[c].midiData[2] = 64;
        slots[c] = reinterpret_cast<VstEvent*>(&events[c]);
    }
    effect.sendEvents(list);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = std::string(std::getenv("XDG_CONFIG_HOME"));
    // Files set aside as corrupt by an earlier input would pile up.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    writeWhole((folder / "com.HKZX.Orvane").string(), data, size);
    checkReads();
    auto effect = std::make_unique<fuzz::Effect>();
    sendEveryController(*effect);
    effect->checkProcessing();
    effect->checkParameters();
    return 0;
}
