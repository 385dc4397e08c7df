// SPDX-License-Identifier: GPL-3.0-or-later
#include "adapter/ExposedParameters.h"

#include "engine/APlugin.h"

#include <cmath>

namespace orvane::adapter {

const ExposedParameter kExposed[kExposedCount] = {
    {"main_volume", kMainVolume, ValueKind::Linear},
    {"air", kAirOn, ValueKind::Toggle},
    {"air_amount", kAirAmount, ValueKind::Linear},
    {"air_frequency", kAirFrequency, ValueKind::Logarithmic},
    {"split", kSplitOn, ValueKind::Toggle},
    {"split_solo", kSplitSolo, ValueKind::Toggle},
    {"split_frequency", kSplitFrequency, ValueKind::Fraction},
    {"split_note_mode", kSplitNoteMode, ValueKind::Toggle},
    {"split_range", kSplitRange, ValueKind::List},
    {"mono_type", kMonoType, ValueKind::List},
    {"bypass", kBypass, ValueKind::Toggle},
};

namespace {

float clamp01(double v) {
    if (!(v >= 0.0)) return 0.0f;
    return v > 1.0 ? 1.0f : static_cast<float>(v);
}

} // namespace

float toPlain(ValueKind kind, const ValueShape& shape, float normalised) {
    const double v = clamp01(normalised);
    switch (kind) {
    case ValueKind::Toggle:
        return v >= 0.5 ? 1.0f : 0.0f;
    case ValueKind::Linear:
        return static_cast<float>(shape.minimum + (shape.maximum - double(shape.minimum)) * v);
    case ValueKind::Logarithmic:
        return static_cast<float>(shape.minimum *
                                  std::pow(double(shape.maximum) / shape.minimum, v));
    case ValueKind::List: {
        int entry = 0;
        while (entry + 1 < shape.entryCount && v >= shape.entries[entry + 1].lowest)
            ++entry;
        return static_cast<float>(entry);
    }
    case ValueKind::Fraction:
        break;
    }
    return static_cast<float>(v);
}

float toNormalised(ValueKind kind, const ValueShape& shape, float plain) {
    const double p = plain;
    switch (kind) {
    case ValueKind::Toggle:
        return p >= 0.5 ? 1.0f : 0.0f;
    case ValueKind::Linear:
        return clamp01((p - shape.minimum) / (double(shape.maximum) - shape.minimum));
    case ValueKind::Logarithmic:
        return clamp01(std::log(p / shape.minimum) /
                       std::log(double(shape.maximum) / shape.minimum));
    case ValueKind::List: {
        if (shape.entryCount < 1) return 0.0f;
        const double rounded = std::floor(p + 0.5);
        const int entry = !(rounded > 0.0)                  ? 0
                          : rounded >= shape.entryCount - 1 ? shape.entryCount - 1
                                                            : static_cast<int>(rounded);
        return shape.entries[entry].value;
    }
    case ValueKind::Fraction:
        break;
    }
    return clamp01(p);
}

int exposedForParameter(int parameter) {
    for (std::size_t i = 0; i < kExposedCount; ++i)
        if (kExposed[i].parameter == parameter) return static_cast<int>(i);
    return -1;
}

} // namespace orvane::adapter
