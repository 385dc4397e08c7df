// SPDX-License-Identifier: GPL-3.0-or-later
// The eight factory programs. Values 90..117 spell each program's stored name, one character
// per value (code / 255 to six decimals); program 0 stores "A Nice Start" so that no name
// lookup matches it.
#include "engine/APlugin.h"

#include <initializer_list>

namespace {

using ProgramValues = std::array<float, kNumParams>;

struct Sound {
    float volume, airOn, airAmount, airFrequency, splitOn, splitFrequency, splitRange;
    const char* storedName;
};

constexpr float nameSlot(char c) {
    const double scaled = static_cast<unsigned char>(c) / 255.0 * 1e6;
    return static_cast<float>(static_cast<long long>(scaled + 0.5) / 1e6);
}

constexpr ProgramValues program(const Sound& s) {
    ProgramValues v{};
    v[kMainVolume] = s.volume;
    v[kAirOn] = s.airOn;
    v[kAirAmount] = s.airAmount;
    v[kAirFrequency] = s.airFrequency;
    v[kSplitOn] = s.splitOn;
    v[kSplitFrequency] = s.splitFrequency;
    v[kSplitRange] = s.splitRange;
    // Memories A and B start the same in every program.
    for (int memory : {kMemoryA, kMemoryB}) {
        v[memory + kAirOn - 1] = 0.5f;
        v[memory + kAirFrequency - 1] = 0.5f;
        v[memory + kSplitOn - 1] = 1.0f;
        v[memory + kSplitNoteMode - 1] = 0.8f;
    }
    for (int i = 0; s.storedName[i] && kNameFirst + i <= kNameLast; ++i)
        v[kNameFirst + i] = nameSlot(s.storedName[i]);
    return v;
}

} // namespace

const char* const DEMO_NAME_STR[kNumFactoryPrograms] = {
    "Nice Start",     "Default",  "Just a bit",      "Mid and High Air",
    "Only a bit Air", "Only Air", "Only MonoStereo", "Vocal lift",
};

// Clear preset: factory program 1 with Air and the split off and no name.
const ProgramValues CLEAR_PRESET_VALUES = program({0.5f, 0, 0.5f, 1, 0, 0.8f, 0, ""});

const std::array<ProgramValues, kNumFactoryPrograms> DEMOVAR = {
    program({0.5f, 1, 0.5f, 1, 1, 1, 0.025063f, "A Nice Start"}),
    program({0.5f, 1, 0.5f, 1, 1, 0.8f, 0, "Default"}),
    program({0.5f, 1, 0.16f, 1, 1, 1, 0.025063f, "Just a bit"}),
    program({0.5f, 1, 0.38f, 0, 0, 0.8f, 0, "Mid and High Air"}),
    program({0.5f, 1, 0.5f, 1, 0, 1, 0.025063f, "Only a bit Air"}),
    program({0.5f, 1, 0.5f, 1, 0, 1, 0.025063f, "Only Air"}),
    program({0.5f, 0, 0.5f, 1, 1, 1, 0.025063f, "Only MonoStereo"}),
    program({0.5f, 1, 0.5f, 0.45f, 0, 0.8f, 0, "Vocal lift"}),
};
