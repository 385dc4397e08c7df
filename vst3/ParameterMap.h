// SPDX-License-Identifier: GPL-3.0-or-later
// What a VST3 host sees as parameters: the exposed sound parameters under the effect's own
// parameter indices as ids, the factory program list's program-change parameter, and hidden
// parameters that stand for MIDI controllers and program changes (the host's MIDI mapping
// turns incoming controllers into them; the processor turns them back into MIDI).
#pragma once

#include "adapter/ExposedParameters.h"
#include "travesty/base.h"

#include <cstddef>
#include <cstdint>

namespace orvane::vst3 {

constexpr v3_param_id kProgramParameter = 1000;
constexpr int kProgramListId = 1;
// The factory programs of the editor's program menu; hosts learn the count before any effect
// is linked.
constexpr int kFactoryPrograms = 8;
constexpr int kMidiChannels = 16;
// 128 controllers, then the program change, per channel.
constexpr int kMidiSlotsPerChannel = 129;
constexpr v3_param_id kFirstMidiParameter = 0x10000;
constexpr int kParameterCount =
    static_cast<int>(adapter::kExposedCount) + 1 + kMidiChannels * kMidiSlotsPerChannel;
// The controller number hosts ask the MIDI mapping for a program change.
constexpr int kProgramChangeController = 130;

// The exposed parameter with id, or -1.
int exposedForId(v3_param_id id);
v3_param_id idOfExposed(std::size_t exposed);
v3_param_id idAt(int index); // by position in the host's list; index must be in range
// The hidden parameter of a controller (0-127) or program change (kProgramChangeController)
// on a channel, or false when there is none.
bool midiParameter(int channel, int controller, v3_param_id& id);
// MIDI bytes for a hidden parameter's value; 0 when id is not one.
std::size_t midiMessage(v3_param_id id, double value, std::uint8_t (&bytes)[3]);

// Host values: the effect's normalised value for continuous parameters, entry / steps for
// switches and lists, so hosts step them as the effect reads them. Callers keep NaN out.
double hostValue(std::size_t exposed, float normalised);
float effectValue(std::size_t exposed, double hostValue);
double hostToPlain(std::size_t exposed, double hostValue);
double plainToHost(std::size_t exposed, double plain);

} // namespace orvane::vst3
