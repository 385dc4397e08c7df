// What a host learns about the effect's LV2 face, read from the effect itself: the names and
// display texts its parameter model gives, its start values and its factory programs.
#pragma once

#include "lv2/Ports.h"

#include <string>
#include <vector>

namespace orvane::lv2 {

struct ControlDescription {
    const ParameterPort* port;
    std::string name;
    std::string unit;                // the face's unit ("dB", "kHz"), empty when it shows none
    std::vector<std::string> labels; // per entry for lists, for 0 and 1 for toggles
    PortShape shape;
    float defaultValue; // in port units
};

struct PresetDescription {
    std::string name;
    std::vector<float> portValues; // per control, in port units
    std::vector<unsigned char> state;
};

struct EffectDescription {
    std::string name;
    std::string vendor;
    std::vector<ControlDescription> controls;
    std::vector<PresetDescription> presets;
};

// Builds the effect, reads everything from it and destroys it; false with a reason when the
// texts do not read as expected.
bool describeEffect(EffectDescription& description, std::string& error);

} // namespace orvane::lv2
