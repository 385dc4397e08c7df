#include "lv2/Ports.h"

#include "engine/APlugin.h"

#include <cmath>

namespace orvane::lv2 {

const ParameterPort kParameterPorts[kControlCount] = {
    {"main_volume", kMainVolume, PortKind::Linear},
    {"air", kAirOn, PortKind::Toggle},
    {"air_amount", kAirAmount, PortKind::Linear},
    {"air_frequency", kAirFrequency, PortKind::Logarithmic},
    {"split", kSplitOn, PortKind::Toggle},
    {"split_solo", kSplitSolo, PortKind::Toggle},
    {"split_frequency", kSplitFrequency, PortKind::Fraction},
    {"split_note_mode", kSplitNoteMode, PortKind::Toggle},
    {"split_range", kSplitRange, PortKind::List},
    {"mono_type", kMonoType, PortKind::List},
    {"bypass", kBypass, PortKind::Toggle},
};

namespace {

float clamp01(double v) {
    if (!(v >= 0.0)) return 0.0f;
    return v > 1.0 ? 1.0f : static_cast<float>(v);
}

} // namespace

float toPortValue(const ParameterPort& port, const PortShape& shape, float normalised) {
    const double v = clamp01(normalised);
    switch (port.kind) {
    case PortKind::Toggle:
        return v >= 0.5 ? 1.0f : 0.0f;
    case PortKind::Linear:
        return static_cast<float>(shape.minimum + (shape.maximum - double(shape.minimum)) * v);
    case PortKind::Logarithmic:
        return static_cast<float>(shape.minimum *
                                  std::pow(double(shape.maximum) / shape.minimum, v));
    case PortKind::List: {
        int entry = 0;
        while (entry + 1 < shape.entryCount && v >= shape.entries[entry + 1].lowest)
            ++entry;
        return static_cast<float>(entry);
    }
    case PortKind::Fraction:
        break;
    }
    return static_cast<float>(v);
}

float toNormalised(const ParameterPort& port, const PortShape& shape, float portValue) {
    const double p = portValue;
    switch (port.kind) {
    case PortKind::Toggle:
        return p >= 0.5 ? 1.0f : 0.0f;
    case PortKind::Linear:
        return clamp01((p - shape.minimum) / (double(shape.maximum) - shape.minimum));
    case PortKind::Logarithmic:
        return clamp01(std::log(p / shape.minimum) /
                       std::log(double(shape.maximum) / shape.minimum));
    case PortKind::List: {
        if (shape.entryCount < 1) return 0.0f;
        const double rounded = std::floor(p + 0.5);
        const int entry = !(rounded > 0.0)                  ? 0
                          : rounded >= shape.entryCount - 1 ? shape.entryCount - 1
                                                            : static_cast<int>(rounded);
        return shape.entries[entry].value;
    }
    case PortKind::Fraction:
        break;
    }
    return clamp01(p);
}

int controlForParameter(int parameter) {
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (kParameterPorts[i].parameter == parameter) return static_cast<int>(i);
    return -1;
}

} // namespace orvane::lv2
