// SPDX-License-Identifier: GPL-3.0-or-later
#include "adapter/describe/EffectDescription.h"

#include "adapter/StateForm.h"
#include "engine/APlugin.h"

#include <cstdlib>
#include <memory>

namespace orvane::adapter {

namespace {

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

class Reader {
public:
    explicit Reader(APlugin& plugin) : plugin(plugin), effect(plugin.getAeffect()) {}

    std::string text(VstInt32 opcode, int index = 0) {
        char buffer[512] = {};
        effect->dispatcher(effect, opcode, index, 0, buffer, 0);
        return buffer;
    }
    std::string display(int parameter, float value) {
        effect->setParameter(effect, parameter, value);
        return text(effGetParamDisplay, parameter);
    }
    float value(int parameter) { return effect->getParameter(effect, parameter); }
    std::vector<unsigned char> state() {
        void* chunk = nullptr;
        if (effect->dispatcher(effect, effVendorSpecific, kStateChunkCode, 0, &chunk, 0) !=
            static_cast<VstIntPtr>(kChunkBytes))
            return {};
        std::vector<unsigned char> packed(kStateBytes);
        packState(static_cast<const unsigned char*>(chunk), packed.data());
        return packed;
    }
    APlugin& plugin;
    AEffect* effect;
};

// "-20.0 dB" as -20 and "dB".
bool readQuantity(const std::string& text, float& number, std::string& unit) {
    char* end = nullptr;
    number = std::strtof(text.c_str(), &end);
    if (end == text.c_str()) return false;
    while (*end == ' ')
        ++end;
    unit = end;
    return true;
}

// The smallest value in (low, high] that the effect no longer shows as it shows low.
float nextTextAt(Reader& reader, int parameter, float low, float high) {
    const std::string shown = reader.display(parameter, low);
    while (true) {
        const float middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) return high;
        if (reader.display(parameter, middle) == shown)
            low = middle;
        else
            high = middle;
    }
}

bool describeParameter(Reader& reader, const ExposedParameter& exposed,
                       ParameterDescription& control, std::string& error) {
    const int p = exposed.parameter;
    const float start = reader.value(p);
    control.parameter = &exposed;
    control.name = reader.text(effGetParamName, p);
    control.shape = ValueShape{nullptr, nullptr, 0.0f, 1.0f, 0.0f, 0, {}, {}};
    switch (exposed.kind) {
    case ValueKind::Toggle:
        control.labels = {reader.display(p, 0.0f), reader.display(p, 1.0f)};
        control.shape.entryCount = 2;
        control.shape.entries[0] = {0.0f, 0.0f};
        control.shape.entries[1] = {1.0f, 0.5f};
        break;
    case ValueKind::Linear:
    case ValueKind::Logarithmic: {
        std::string highUnit;
        if (!readQuantity(reader.display(p, 0.0f), control.shape.minimum, control.unit) ||
            !readQuantity(reader.display(p, 1.0f), control.shape.maximum, highUnit) ||
            highUnit != control.unit || !(control.shape.maximum > control.shape.minimum) ||
            (exposed.kind == ValueKind::Logarithmic && !(control.shape.minimum > 0.0f))) {
            error = control.name + ": its texts at 0 and 1 do not give a range";
            return false;
        }
        break;
    }
    case ValueKind::List: {
        float low = 0.0f;
        while (true) {
            if (control.shape.entryCount == kMaxListEntries) {
                error = control.name + ": more entries than a list holds";
                return false;
            }
            const std::string label = reader.display(p, low);
            const float next =
                reader.display(p, 1.0f) == label ? 1.0f : nextTextAt(reader, p, low, 1.0f);
            const bool last = next == 1.0f && reader.display(p, 1.0f) == label;
            ListEntry& entry = control.shape.entries[control.shape.entryCount++];
            entry.lowest = low;
            entry.value = last ? low + (1.0f - low) / 2 : low + (next - low) / 2;
            control.labels.push_back(label);
            if (last) break;
            low = next;
        }
        control.shape.maximum = static_cast<float>(control.shape.entryCount - 1);
        break;
    }
    case ValueKind::Fraction:
        break;
    }
    reader.effect->setParameter(reader.effect, p, start);
    control.shape.defaultPlain = toPlain(exposed.kind, control.shape, start);
    return true;
}

} // namespace

bool describeEffect(EffectDescription& description, std::string& error) {
    auto plugin = std::make_unique<APlugin>(&hostCallback);
    Reader reader(*plugin);
    description.name = reader.text(effGetEffectName);
    description.vendor = reader.text(effGetVendorString);
    description.parameters.resize(kExposedCount);
    for (std::size_t i = 0; i < kExposedCount; ++i)
        if (!describeParameter(reader, kExposed[i], description.parameters[i], error)) return false;
    for (int n = 0; n < kNumFactoryPrograms; ++n) {
        plugin->setDemoProgram(n);
        PresetDescription preset;
        preset.name = reader.text(effGetProgramName);
        for (const ParameterDescription& d : description.parameters)
            preset.plainValues.push_back(
                toPlain(d.parameter->kind, d.shape, reader.value(d.parameter->parameter)));
        preset.state = reader.state();
        if (preset.state.empty()) {
            error = "the effect serves no state chunk";
            return false;
        }
        description.presets.push_back(std::move(preset));
    }
    return true;
}

} // namespace orvane::adapter
