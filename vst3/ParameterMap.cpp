// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/ParameterMap.h"

#include <algorithm>
#include <cmath>

namespace orvane::vst3 {

using adapter::kExposed;
using adapter::kExposedCount;
using adapter::kShapes;

int exposedForId(v3_param_id id) {
    for (std::size_t i = 0; i < kExposedCount; ++i)
        if (idOfExposed(i) == id) return static_cast<int>(i);
    return -1;
}

v3_param_id idOfExposed(std::size_t exposed) {
    return static_cast<v3_param_id>(kExposed[exposed].parameter);
}

v3_param_id idAt(int index) {
    if (index < static_cast<int>(kExposedCount)) return idOfExposed(index);
    if (index == static_cast<int>(kExposedCount)) return kProgramParameter;
    return kFirstMidiParameter + static_cast<v3_param_id>(index - kExposedCount - 1);
}

bool midiParameter(int channel, int controller, v3_param_id& id) {
    if (channel < 0 || channel >= kMidiChannels) return false;
    if (controller == kProgramChangeController)
        controller = kMidiSlotsPerChannel - 1;
    else if (controller < 0 || controller > 127)
        return false;
    id =
        kFirstMidiParameter + static_cast<v3_param_id>(channel * kMidiSlotsPerChannel + controller);
    return true;
}

std::size_t midiMessage(v3_param_id id, double value, std::uint8_t (&bytes)[3]) {
    if (id < kFirstMidiParameter) return 0;
    const v3_param_id slot = id - kFirstMidiParameter;
    if (slot >= static_cast<v3_param_id>(kMidiChannels * kMidiSlotsPerChannel)) return 0;
    const auto channel = static_cast<std::uint8_t>(slot / kMidiSlotsPerChannel);
    const auto number = static_cast<std::uint8_t>(slot % kMidiSlotsPerChannel);
    const auto data = static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 127));
    if (number == kMidiSlotsPerChannel - 1) {
        bytes[0] = static_cast<std::uint8_t>(0xC0 | channel);
        bytes[1] = data;
        return 2;
    }
    bytes[0] = static_cast<std::uint8_t>(0xB0 | channel);
    bytes[1] = number;
    bytes[2] = data;
    return 3;
}

double hostValue(std::size_t exposed, float normalised) {
    const int steps = adapter::stepCount(exposed);
    if (steps == 0) return normalised;
    return plainToHost(exposed, adapter::toPlain(exposed, normalised));
}

float effectValue(std::size_t exposed, double host) {
    host = std::clamp(host, 0.0, 1.0);
    if (adapter::stepCount(exposed) == 0) return static_cast<float>(host);
    return adapter::toNormalised(exposed, static_cast<float>(hostToPlain(exposed, host)));
}

double hostToPlain(std::size_t exposed, double host) {
    const int steps = adapter::stepCount(exposed);
    host = std::clamp(host, 0.0, 1.0);
    if (steps == 0) return adapter::toPlain(exposed, static_cast<float>(host));
    return kShapes[exposed].minimum + std::round(host * steps);
}

double plainToHost(std::size_t exposed, double plain) {
    const int steps = adapter::stepCount(exposed);
    if (steps == 0) return adapter::toNormalised(exposed, static_cast<float>(plain));
    const double entry = std::round(plain - kShapes[exposed].minimum);
    return std::clamp(entry / steps, 0.0, 1.0);
}

} // namespace orvane::vst3
