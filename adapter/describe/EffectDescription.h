// SPDX-License-Identifier: GPL-3.0-or-later
// What every format shows of the effect, read from the effect itself: the names and display
// texts its parameter model gives, its start values and its factory programs.
#pragma once

#include "adapter/ExposedParameters.h"

#include <string>
#include <vector>

namespace orvane::adapter {

struct ParameterDescription {
    const ExposedParameter* parameter;
    std::string name;
    std::string unit;                // the face's unit ("dB", "kHz"), empty when it shows none
    std::vector<std::string> labels; // per entry for lists, for 0 and 1 for toggles
    ValueShape shape;                // numbers only; the texts are the strings above
};

struct PresetDescription {
    std::string name;
    std::vector<float> plainValues;   // per exposed parameter
    std::vector<unsigned char> state; // the saved state form
};

struct EffectDescription {
    std::string name;
    std::string vendor;
    std::vector<ParameterDescription> parameters;
    std::vector<PresetDescription> presets;
};

// Builds the effect, reads everything from it and destroys it; false with a reason when the
// texts do not read as expected.
bool describeEffect(EffectDescription& description, std::string& error);

} // namespace orvane::adapter
