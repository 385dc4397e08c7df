// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/Component.h"

#include "adapter/StateForm.h"
#include "vst3/ClassIds.h"
#include "vst3/LinkMessage.h"
#include "vst3/ParameterMap.h"
#include "vst3/Streams.h"
#include "vst3/Utf16.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace orvane::vst3 {

using adapter::EffectDriver;

namespace {

constexpr v3_speaker_arrangement kStereo = V3_SPEAKER_L | V3_SPEAKER_R;
constexpr double kDefaultRate = 44100;
// Parameter queues ordered by sample within one block; hosts send far fewer.
constexpr int kMergedQueues = 128;

struct Cursor {
    v3_param_value_queue** queue;
    v3_param_id id;
    int32_t points;
    int32_t next;
    int32_t offset;
    double value;

    bool load(int32_t frames) {
        while (next < points) {
            if (api(queue)->get_point(queue, next, &offset, &value) == V3_OK &&
                !std::isnan(value)) {
                offset = std::clamp<int32_t>(offset, 0, frames - 1);
                return true;
            }
            ++next;
        }
        return false;
    }
};

// The two stereo buffers of a host's first bus, or nulls.
template <typename Pointer>
void busChannels(const v3_audio_bus_buffers* buses, int32_t count, Pointer (&channels)[2]) {
    if (count < 1 || !buses || buses[0].num_channels < 2 || !buses[0].channel_buffers_32) return;
    channels[0] = buses[0].channel_buffers_32[0];
    channels[1] = buses[0].channel_buffers_32[1];
}

} // namespace

struct ComponentTables {
    using C = Component;

    static const v3_component_cpp& component() {
        static const v3_component_cpp table{
            unknownOf<C, C::ComponentFace>(),
            {[](void* self, v3_funknown**) { return C::ComponentFace::of(self)->initialize(); },
             [](void* self) { return C::ComponentFace::of(self)->terminate(); }},
            {[](void*, v3_tuid id) -> v3_result {
                 std::copy(kControllerClass, kControllerClass + sizeof(v3_tuid), id);
                 return V3_OK;
             },
             // One way of processing whatever the mode.
             [](void*, int32_t) -> v3_result { return V3_OK; },
             [](void*, int32_t type, int32_t direction) -> int32_t {
                 if (type == V3_AUDIO) return 1;
                 return type == V3_EVENT && direction == V3_INPUT ? 1 : 0;
             },
             [](void* self, int32_t type, int32_t direction, int32_t index, v3_bus_info* info) {
                 return C::ComponentFace::of(self)->busInfo(type, direction, index, info);
             },
             [](void*, v3_routing_info*, v3_routing_info*) -> v3_result { return V3_FALSE; },
             [](void*, int32_t type, int32_t, int32_t index, v3_bool) -> v3_result {
                 return (type == V3_AUDIO || type == V3_EVENT) && index == 0 ? V3_OK : V3_FALSE;
             },
             [](void* self, v3_bool state) {
                 return C::ComponentFace::of(self)->setActive(state != 0);
             },
             [](void* self, v3_bstream** stream) {
                 return C::ComponentFace::of(self)->readState(stream);
             },
             [](void* self, v3_bstream** stream) {
                 return C::ComponentFace::of(self)->writeState(stream);
             }}};
        return table;
    }

    static const v3_audio_processor_cpp& processor() {
        static const v3_audio_processor_cpp table{
            unknownOf<C, C::ProcessorFace>(),
            {[](void* self, v3_speaker_arrangement* inputs, int32_t inCount,
                v3_speaker_arrangement* outputs, int32_t outCount) {
                 return C::ProcessorFace::of(self)->arrange(inputs, inCount, outputs, outCount);
             },
             [](void*, int32_t, int32_t index, v3_speaker_arrangement* arrangement) -> v3_result {
                 if (index != 0 || !arrangement) return V3_INVALID_ARG;
                 *arrangement = kStereo;
                 return V3_OK;
             },
             [](void*, int32_t size) -> v3_result {
                 return size == V3_SAMPLE_32 ? V3_OK : V3_FALSE;
             },
             [](void*) -> uint32_t { return 0; },
             [](void* self, v3_process_setup* setup) {
                 return C::ProcessorFace::of(self)->setup(setup);
             },
             [](void*, v3_bool) -> v3_result { return V3_OK; },
             [](void* self, v3_process_data* data) {
                 return C::ProcessorFace::of(self)->process(data);
             },
             [](void*) -> uint32_t { return 0; }}};
        return table;
    }

    static const v3_connection_point_cpp& connection() {
        static const v3_connection_point_cpp table{
            unknownOf<C, C::ConnectionFace>(),
            {[](void* self, v3_connection_point** other) {
                 return C::ConnectionFace::of(self)->connect(other);
             },
             [](void* self, v3_connection_point** other) {
                 return C::ConnectionFace::of(self)->disconnect(other);
             },
             [](void*, v3_message**) -> v3_result { return V3_OK; }}};
        return table;
    }
};

Component::Component()
    : componentFace{&ComponentTables::component(), this},
      processorFace{&ComponentTables::processor(), this}, connectionFace{
                                                              &ComponentTables::connection(),
                                                              this} {}

Component::~Component() {
    terminate();
}

v3_funknown** Component::create() {
    auto* component = new (std::nothrow) Component();
    return component ? reinterpret_cast<v3_funknown**>(component->componentFace.handle()) : nullptr;
}

bool Component::queryInterface(const v3_tuid iid, void** obj) {
    return offer(componentFace, iid, obj, v3_funknown_iid, v3_plugin_base_iid, v3_component_iid) ||
           offer(processorFace, iid, obj, v3_audio_processor_iid) ||
           offer(connectionFace, iid, obj, v3_connection_point_iid);
}

v3_result Component::initialize() {
    if (effect) return V3_FALSE;
    effect = EffectDriver::create(kDefaultRate);
    return effect ? V3_OK : V3_INTERNAL_ERR;
}

v3_result Component::terminate() {
    if (peer) disconnect(peer);
    effect.reset();
    return V3_OK;
}

v3_result Component::busInfo(int32_t type, int32_t direction, int32_t index, v3_bus_info* info) {
    if (!info || index != 0) return V3_INVALID_ARG;
    *info = {};
    info->media_type = type;
    info->direction = direction;
    info->bus_type = V3_MAIN;
    info->flags = V3_DEFAULT_ACTIVE;
    if (type == V3_AUDIO && (direction == V3_INPUT || direction == V3_OUTPUT)) {
        info->channel_count = 2;
        toUtf16(direction == V3_INPUT ? "Input" : "Output", info->bus_name, 128);
        return V3_OK;
    }
    if (type == V3_EVENT && direction == V3_INPUT) {
        info->channel_count = kMidiChannels;
        toUtf16("MIDI Input", info->bus_name, 128);
        return V3_OK;
    }
    return V3_INVALID_ARG;
}

v3_result Component::setActive(bool active) {
    if (!effect) return V3_NOT_INITIALIZED;
    effect->setActive(active);
    return V3_OK;
}

v3_result Component::readState(v3_bstream** stream) {
    if (!stream || !effect) return V3_INVALID_ARG;
    unsigned char state[adapter::kStateBytes];
    return readFully(stream, state, sizeof state) && effect->restoreState(state, sizeof state)
               ? V3_OK
               : V3_FALSE;
}

v3_result Component::writeState(v3_bstream** stream) {
    if (!stream || !effect) return V3_INVALID_ARG;
    unsigned char state[adapter::kStateBytes];
    if (!effect->saveState(state)) return V3_FALSE;
    return writeFully(stream, state, sizeof state) ? V3_OK : V3_FALSE;
}

v3_result Component::arrange(v3_speaker_arrangement* inputs, int32_t inCount,
                             v3_speaker_arrangement* outputs, int32_t outCount) {
    const bool stereo = inCount == 1 && outCount == 1 && inputs && outputs &&
                        inputs[0] == kStereo && outputs[0] == kStereo;
    return stereo ? V3_OK : V3_FALSE;
}

v3_result Component::setup(const v3_process_setup* setup) {
    if (!setup || !effect) return V3_INVALID_ARG;
    if (setup->symbolic_sample_size != V3_SAMPLE_32 || !(setup->sample_rate > 0) ||
        setup->max_block_size <= 0)
        return V3_FALSE;
    effect->setSampleRate(setup->sample_rate);
    effect->setBlockSize(setup->max_block_size);
    return V3_OK;
}

v3_result Component::process(v3_process_data* data) {
    if (!data) return V3_INVALID_ARG;
    if (!effect) return V3_NOT_INITIALIZED;
    if (data->symbolic_sample_size != V3_SAMPLE_32) return V3_INVALID_ARG;
    const int32_t frames = std::max<int32_t>(data->nframes, 0);
    queueChanges(data->input_params, frames);
    if (frames > 0) {
        const float* inputs[2] = {};
        float* outputs[2] = {};
        busChannels(data->inputs, data->num_input_buses, inputs);
        busChannels(data->outputs, data->num_output_buses, outputs);
        effect->process(inputs, outputs, static_cast<std::uint32_t>(frames));
        if (data->num_output_buses > 0 && data->outputs)
            data->outputs[0].channel_silence_bitset = 0;
    }
    reportChanges(data->output_params, frames);
    return V3_OK;
}

// Every point of every queue in the order of its sample, as the effect receives automation
// and MIDI within one block. A block of no samples (a flush) applies each queue's last value.
void Component::queueChanges(v3_param_changes** changes, int32_t frames) {
    if (!changes) return;
    const int32_t count = std::min(api(changes)->get_param_count(changes), kMergedQueues);
    Cursor cursors[kMergedQueues];
    int32_t open = 0;
    for (int32_t i = 0; i < count; ++i) {
        v3_param_value_queue** queue = api(changes)->get_param_data(changes, i);
        if (!queue) continue;
        Cursor& c = cursors[open];
        c = {queue, api(queue)->get_param_id(queue), api(queue)->get_point_count(queue), 0, 0, 0};
        if (frames == 0) {
            const int exposed = exposedForId(c.id);
            if (exposed < 0) continue;
            c.next = c.points - 1;
            if (c.next >= 0 && c.load(1)) effect->setValue(exposed, effectValue(exposed, c.value));
            continue;
        }
        if (c.load(frames)) ++open;
    }
    while (open > 0) {
        int32_t first = 0;
        for (int32_t i = 1; i < open; ++i)
            if (cursors[i].offset < cursors[first].offset) first = i;
        Cursor& c = cursors[first];
        const auto frame = static_cast<std::uint32_t>(c.offset);
        std::uint8_t midi[3];
        if (const int exposed = exposedForId(c.id); exposed >= 0)
            effect->queueValue(exposed, effectValue(exposed, c.value), frame);
        else if (const std::size_t size = midiMessage(c.id, c.value, midi); size > 0)
            effect->queueMidi(midi, size, frame);
        ++c.next;
        if (!c.load(frames)) cursors[first] = cursors[--open];
    }
}

void Component::reportChanges(v3_param_changes** changes, int32_t frames) {
    if (!changes) return;
    const int32_t at = std::max<int32_t>(frames - 1, 0);
    effect->collectChanges([&](std::size_t exposed, float normalised) {
        v3_param_id id = idOfExposed(exposed);
        int32_t index = 0;
        v3_param_value_queue** queue = api(changes)->add_param_data(changes, &id, &index);
        if (queue) api(queue)->add_point(queue, at, hostValue(exposed, normalised), &index);
    });
}

v3_result Component::connect(v3_connection_point** other) {
    if (!other) return V3_INVALID_ARG;
    if (peer) return V3_FALSE;
    // Not referenced: hosts keep both points alive while they are connected.
    peer = other;
    sendLink(peer, this);
    return V3_OK;
}

v3_result Component::disconnect(v3_connection_point** other) {
    if (!peer || other != peer) return V3_INVALID_ARG;
    sendLink(peer, nullptr);
    peer = nullptr;
    return V3_OK;
}

} // namespace orvane::vst3
