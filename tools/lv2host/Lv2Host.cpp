// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lv2host/Lv2Host.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <map>

namespace orvane::lv2host {

namespace {

class UridMap {
public:
    UridMap() {
        map.handle = this;
        map.map = [](LV2_URID_Map_Handle h, const char* uri) {
            return static_cast<UridMap*>(h)->id(uri);
        };
        unmap.handle = this;
        unmap.unmap = [](LV2_URID_Unmap_Handle h, LV2_URID urid) {
            auto* self = static_cast<UridMap*>(h);
            return urid >= 1 && urid <= self->uris.size() ? self->uris[urid - 1].c_str() : nullptr;
        };
    }
    LV2_URID id(const char* uri) {
        const auto found = ids.find(uri);
        if (found != ids.end()) return found->second;
        uris.emplace_back(uri);
        return ids[uri] = static_cast<LV2_URID>(uris.size());
    }
    LV2_URID_Map map;
    LV2_URID_Unmap unmap;

private:
    std::map<std::string, LV2_URID> ids;
    std::vector<std::string> uris;
};

constexpr std::size_t kSequenceBytes = 16384;

} // namespace

struct Lv2Plugin::Impl {
    LilvWorld* world = lilv_world_new();
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    UridMap urids;
    LV2_Feature mapFeature{LV2_URID__map, &urids.map};
    LV2_Feature unmapFeature{LV2_URID__unmap, &urids.unmap};
    const LV2_Feature* features[3] = {&mapFeature, &unmapFeature, nullptr};
    std::vector<float> controls;
    std::vector<bool> isControl;
    std::uint32_t midiPort = UINT32_MAX;
    std::vector<std::uint64_t> sequence = std::vector<std::uint64_t>(kSequenceBytes / 8);
    std::uint32_t audioPorts[4] = {};

    ~Impl() {
        if (instance) {
            lilv_instance_deactivate(instance);
            lilv_instance_free(instance);
        }
        lilv_world_free(world);
    }

    LilvNode* uri(const char* text) { return lilv_new_uri(world, text); }

    void fillSequence(const std::vector<MidiMessage>& midi) {
        auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(sequence.data());
        seq->atom.type = urids.id(LV2_ATOM__Sequence);
        seq->atom.size = sizeof(LV2_Atom_Sequence_Body);
        seq->body.unit = 0;
        seq->body.pad = 0;
        const LV2_URID midiType = urids.id(LV2_MIDI__MidiEvent);
        for (const MidiMessage& message : midi) {
            auto* event = reinterpret_cast<LV2_Atom_Event*>(
                reinterpret_cast<char*>(LV2_ATOM_CONTENTS(LV2_Atom_Sequence, seq)) +
                (seq->atom.size - sizeof(LV2_Atom_Sequence_Body)));
            const std::uint32_t size = static_cast<std::uint32_t>(message.bytes.size());
            const std::uint32_t total = lv2_atom_pad_size(sizeof(LV2_Atom_Event) + size);
            if (sizeof(LV2_Atom) + seq->atom.size + total > kSequenceBytes) break;
            event->time.frames = message.frame;
            event->body.type = midiType;
            event->body.size = size;
            std::memcpy(event + 1, message.bytes.data(), size);
            seq->atom.size += total;
        }
    }

    static const void* portValue(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
        auto* self = static_cast<Impl*>(user);
        LilvNode* name = lilv_new_string(self->world, symbol);
        const LilvPort* port = lilv_plugin_get_port_by_symbol(self->plugin, name);
        lilv_node_free(name);
        if (!port) return nullptr;
        *size = sizeof(float);
        *type = self->urids.id(LV2_ATOM__Float);
        return &self->controls[lilv_port_get_index(self->plugin, port)];
    }

    static void setPortValue(const char* symbol, void* user, const void* value, uint32_t size,
                             uint32_t type) {
        auto* self = static_cast<Impl*>(user);
        LilvNode* name = lilv_new_string(self->world, symbol);
        const LilvPort* port = lilv_plugin_get_port_by_symbol(self->plugin, name);
        lilv_node_free(name);
        if (!port) return;
        float v;
        if (type == self->urids.id(LV2_ATOM__Float) && size == sizeof(float))
            std::memcpy(&v, value, sizeof v);
        else if (type == self->urids.id(LV2_ATOM__Double) && size == sizeof(double))
            v = static_cast<float>(*static_cast<const double*>(value));
        else if (type == self->urids.id(LV2_ATOM__Int) && size == sizeof(std::int32_t))
            v = static_cast<float>(*static_cast<const std::int32_t*>(value));
        else
            return;
        self->controls[lilv_port_get_index(self->plugin, port)] = v;
    }
};

Lv2Plugin::Lv2Plugin(std::unique_ptr<Impl> impl) : impl(std::move(impl)) {}
Lv2Plugin::~Lv2Plugin() = default;

std::unique_ptr<Lv2Plugin> Lv2Plugin::load(const std::string& bundleDir, const std::string& uri,
                                           double sampleRate, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return std::unique_ptr<Lv2Plugin>();
    };
    auto impl = std::make_unique<Impl>();
    const std::string bundleUri = "file://" + bundleDir + (bundleDir.back() == '/' ? "" : "/");
    LilvNode* bundle = impl->uri(bundleUri.c_str());
    lilv_world_load_bundle(impl->world, bundle);
    lilv_node_free(bundle);
    LilvNode* pluginUri = impl->uri(uri.c_str());
    impl->plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(impl->world), pluginUri);
    lilv_node_free(pluginUri);
    if (!impl->plugin) return fail("no plug-in " + uri + " in " + bundleDir);

    const std::uint32_t ports = lilv_plugin_get_num_ports(impl->plugin);
    impl->controls.assign(ports, 0.0f);
    impl->isControl.assign(ports, false);
    std::vector<float> defaults(ports, 0.0f);
    lilv_plugin_get_port_ranges_float(impl->plugin, nullptr, nullptr, defaults.data());
    LilvNode* controlClass = impl->uri(LILV_URI_CONTROL_PORT);
    LilvNode* audioClass = impl->uri(LILV_URI_AUDIO_PORT);
    LilvNode* atomClass = impl->uri(LV2_ATOM__AtomPort);
    int audioCount = 0;
    for (std::uint32_t i = 0; i < ports; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(impl->plugin, i);
        if (lilv_port_is_a(impl->plugin, port, controlClass)) {
            impl->isControl[i] = true;
            impl->controls[i] = defaults[i];
        } else if (lilv_port_is_a(impl->plugin, port, audioClass) && audioCount < 4) {
            impl->audioPorts[audioCount++] = i;
        } else if (lilv_port_is_a(impl->plugin, port, atomClass)) {
            impl->midiPort = i;
        }
    }
    lilv_node_free(controlClass);
    lilv_node_free(audioClass);
    lilv_node_free(atomClass);

    impl->instance = lilv_plugin_instantiate(impl->plugin, sampleRate, impl->features);
    if (!impl->instance) return fail("the plug-in did not instantiate");
    for (std::uint32_t i = 0; i < ports; ++i)
        if (impl->isControl[i]) lilv_instance_connect_port(impl->instance, i, &impl->controls[i]);
    if (impl->midiPort != UINT32_MAX)
        lilv_instance_connect_port(impl->instance, impl->midiPort, impl->sequence.data());
    lilv_instance_activate(impl->instance);
    return std::unique_ptr<Lv2Plugin>(new Lv2Plugin(std::move(impl)));
}

std::uint32_t Lv2Plugin::portIndex(const std::string& symbol) const {
    LilvNode* name = lilv_new_string(impl->world, symbol.c_str());
    const LilvPort* port = lilv_plugin_get_port_by_symbol(impl->plugin, name);
    lilv_node_free(name);
    return port ? lilv_port_get_index(impl->plugin, port) : UINT32_MAX;
}

void Lv2Plugin::setControl(const std::string& symbol, float value) {
    const std::uint32_t i = portIndex(symbol);
    if (i < impl->controls.size() && impl->isControl[i]) impl->controls[i] = value;
}

float Lv2Plugin::control(const std::string& symbol) const {
    const std::uint32_t i = portIndex(symbol);
    return i < impl->controls.size() ? impl->controls[i] : 0.0f;
}

void Lv2Plugin::run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    std::uint32_t frames, const std::vector<MidiMessage>& midi) {
    const void* buffers[] = {inLeft, inRight, outLeft, outRight};
    for (int i = 0; i < 4; ++i)
        lilv_instance_connect_port(impl->instance, impl->audioPorts[i],
                                   const_cast<void*>(buffers[i]));
    impl->fillSequence(midi);
    lilv_instance_run(impl->instance, frames);
}

std::string Lv2Plugin::saveState() {
    LilvState* state = lilv_state_new_from_instance(
        impl->plugin, impl->instance, &impl->urids.map, nullptr, nullptr, nullptr, nullptr,
        &Impl::portValue, impl.get(), LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, impl->features);
    if (!state) return {};
    char* text = lilv_state_to_string(impl->world, &impl->urids.map, &impl->urids.unmap, state,
                                      "urn:orvane:test:state", nullptr);
    std::string turtle = text ? text : "";
    lilv_free(text);
    lilv_state_free(state);
    return turtle;
}

bool Lv2Plugin::restoreState(const std::string& turtle) {
    LilvState* state = lilv_state_new_from_string(impl->world, &impl->urids.map, turtle.c_str());
    if (!state) return false;
    lilv_state_restore(state, impl->instance, &Impl::setPortValue, impl.get(), 0, impl->features);
    lilv_state_free(state);
    return true;
}

std::vector<std::string> Lv2Plugin::presetLabels() {
    std::vector<std::string> labels;
    LilvNode* presetClass = impl->uri(LV2_PRESETS__Preset);
    LilvNode* labelProperty = impl->uri(LILV_NS_RDFS "label");
    LilvNodes* presets = lilv_plugin_get_related(impl->plugin, presetClass);
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(impl->world, preset);
        LilvNode* label = lilv_world_get(impl->world, preset, labelProperty, nullptr);
        labels.push_back(label ? lilv_node_as_string(label) : "");
        lilv_node_free(label);
    }
    lilv_nodes_free(presets);
    lilv_node_free(labelProperty);
    lilv_node_free(presetClass);
    return labels;
}

bool Lv2Plugin::applyPreset(const std::string& wanted) {
    LilvNode* presetClass = impl->uri(LV2_PRESETS__Preset);
    LilvNode* labelProperty = impl->uri(LILV_NS_RDFS "label");
    LilvNodes* presets = lilv_plugin_get_related(impl->plugin, presetClass);
    bool applied = false;
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(impl->world, preset);
        LilvNode* label = lilv_world_get(impl->world, preset, labelProperty, nullptr);
        const bool match = label && wanted == lilv_node_as_string(label);
        lilv_node_free(label);
        if (!match || applied) continue;
        if (LilvState* state = lilv_state_new_from_world(impl->world, &impl->urids.map, preset)) {
            lilv_state_restore(state, impl->instance, &Impl::setPortValue, impl.get(), 0,
                               impl->features);
            lilv_state_free(state);
            applied = true;
        }
    }
    lilv_nodes_free(presets);
    lilv_node_free(labelProperty);
    lilv_node_free(presetClass);
    return applied;
}

void* Lv2Plugin::handle() const {
    return lilv_instance_get_handle(impl->instance);
}

std::string builtBundlePath() {
    return ORVANE_LV2_BUNDLE_PATH;
}

} // namespace orvane::lv2host
