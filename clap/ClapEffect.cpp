// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapEffect.h"

#include "clap/Descriptor.h"
#include "clap/Extensions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace orvane::clap {

using adapter::kExposed;
using adapter::kExposedCount;

namespace {

constexpr std::uint32_t kEditorTimerMs = 30;
constexpr double kDefaultRate = 44100;

void pushValue(const clap_output_events_t* out, std::size_t exposed, float normalised,
               std::uint32_t flags) {
    clap_event_param_value_t event = {};
    event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, flags};
    event.param_id = static_cast<clap_id>(kExposed[exposed].parameter);
    event.note_id = -1;
    event.port_index = event.channel = event.key = -1;
    event.value = adapter::toPlain(exposed, normalised);
    out->try_push(out, &event.header);
}

void pushGesture(const clap_output_events_t* out, std::size_t exposed, bool begin) {
    clap_event_param_gesture_t event = {};
    event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID,
                    static_cast<std::uint16_t>(begin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                     : CLAP_EVENT_PARAM_GESTURE_END),
                    0};
    event.param_id = static_cast<clap_id>(kExposed[exposed].parameter);
    out->try_push(out, &event.header);
}

template <typename Event> const Event* eventAs(const clap_event_header_t* header) {
    return header->size >= sizeof(Event) ? reinterpret_cast<const Event*>(header) : nullptr;
}

// A host's value for one of our parameters; values that are no number change nothing.
bool hostValue(const clap_event_header_t* header, std::size_t& exposed, float& normalised) {
    if (header->type != CLAP_EVENT_PARAM_VALUE) return false;
    const auto* event = eventAs<clap_event_param_value_t>(header);
    const int found = event ? ClapEffect::exposedFor(event->param_id) : -1;
    if (found < 0 || !std::isfinite(event->value)) return false;
    exposed = static_cast<std::size_t>(found);
    normalised = adapter::toNormalised(exposed, static_cast<float>(event->value));
    return true;
}

} // namespace

ClapEffect::ClapEffect(const clap_host_t* host) : host(host) {
    plugin.desc = &kDescriptor;
    plugin.plugin_data = this;
    plugin.init = [](const clap_plugin_t* p) { return of(p)->init(); };
    plugin.destroy = [](const clap_plugin_t* p) { delete of(p); };
    plugin.activate = [](const clap_plugin_t* p, double rate, std::uint32_t,
                         std::uint32_t maxFrames) { return of(p)->activate(rate, maxFrames); };
    plugin.deactivate = [](const clap_plugin_t* p) { of(p)->deactivate(); };
    plugin.start_processing = [](const clap_plugin_t* p) {
        of(p)->processing.store(true);
        return true;
    };
    plugin.stop_processing = [](const clap_plugin_t* p) { of(p)->processing.store(false); };
    plugin.reset = [](const clap_plugin_t*) {};
    plugin.process = [](const clap_plugin_t* p, const clap_process_t* process) {
        return of(p)->process(process);
    };
    plugin.get_extension = [](const clap_plugin_t* p, const char* id) {
        return of(p)->extension(id);
    };
    plugin.on_main_thread = [](const clap_plugin_t*) {};
}

ClapEffect::~ClapEffect() {
    destroyEditor();
    if (effectDriver) effectDriver->setListener(nullptr);
}

const clap_plugin_t* ClapEffect::create(const clap_host_t* host) {
    auto* self = new (std::nothrow) ClapEffect(host);
    return self ? &self->plugin : nullptr;
}

bool ClapEffect::init() {
    effectDriver = adapter::EffectDriver::create(kDefaultRate);
    if (!effectDriver) return false;
    effectDriver->setListener(this);
    for (std::size_t i = 0; i < kExposedCount; ++i)
        seen[i] = effectDriver->value(i);
    if (host && host->get_extension) {
        hostParams =
            static_cast<const clap_host_params_t*>(host->get_extension(host, CLAP_EXT_PARAMS));
        hostGui = static_cast<const clap_host_gui_t*>(host->get_extension(host, CLAP_EXT_GUI));
        hostTimers = static_cast<const clap_host_timer_support_t*>(
            host->get_extension(host, CLAP_EXT_TIMER_SUPPORT));
    }
    return true;
}

bool ClapEffect::activate(double rate, std::uint32_t maxFrames) {
    if (!effectDriver || !(rate > 0 && rate < 1e7) || maxFrames == 0) return false;
    effectDriver->setSampleRate(rate);
    effectDriver->setBlockSize(static_cast<int>(std::min<std::uint32_t>(maxFrames, 1u << 30)));
    effectDriver->setActive(true);
    return true;
}

void ClapEffect::deactivate() {
    if (effectDriver) effectDriver->setActive(false);
}

int ClapEffect::exposedFor(clap_id id) {
    return id > 0xffff ? -1 : adapter::exposedForParameter(static_cast<int>(id));
}

bool ClapEffect::takeEvents(const clap_input_events_t* in, std::uint32_t frames) {
    bool midiCame = false;
    const std::uint32_t count = in && in->size ? in->size(in) : 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const clap_event_header_t* header = in->get(in, i);
        if (!header || header->space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
        const std::uint32_t frame = frames ? std::min(header->time, frames - 1) : 0;
        std::size_t exposed;
        float normalised;
        if (hostValue(header, exposed, normalised)) {
            effectDriver->queueValue(exposed, normalised, frame);
        } else if (header->type == CLAP_EVENT_MIDI) {
            const auto* event = eventAs<clap_event_midi_t>(header);
            if (event && event->port_index == 0) {
                effectDriver->queueMidi(event->data, sizeof event->data, frame);
                midiCame = true;
            }
        }
    }
    return midiCame;
}

clap_process_status ClapEffect::process(const clap_process_t* p) {
    if (!p || !effectDriver) return CLAP_PROCESS_ERROR;
    const bool midiCame = takeEvents(p->in_events, p->frames_count);
    const float* inputs[2] = {};
    float* outputs[2] = {};
    if (p->audio_inputs_count > 0 && p->audio_inputs && p->audio_inputs[0].data32)
        for (std::uint32_t c = 0; c < std::min(p->audio_inputs[0].channel_count, 2u); ++c)
            inputs[c] = p->audio_inputs[0].data32[c];
    if (p->audio_outputs_count > 0 && p->audio_outputs && p->audio_outputs[0].data32)
        for (std::uint32_t c = 0; c < std::min(p->audio_outputs[0].channel_count, 2u); ++c)
            outputs[c] = p->audio_outputs[0].data32[c];
    effectDriver->process(inputs, outputs, p->frames_count);
    report(p->out_events, midiCame);
    return CLAP_PROCESS_CONTINUE;
}

void ClapEffect::flush(const clap_input_events_t* in, const clap_output_events_t* out) {
    if (!effectDriver) return;
    const std::uint32_t count = in && in->size ? in->size(in) : 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const clap_event_header_t* header = in->get(in, i);
        std::size_t exposed;
        float normalised;
        if (header && header->space_id == CLAP_CORE_EVENT_SPACE_ID &&
            hostValue(header, exposed, normalised))
            effectDriver->setValue(exposed, normalised);
    }
    report(out, false);
}

// The editor's gestures in their order, then every other change the effect made by itself
// (the driver leaves out what the editor reported); a change that came with MIDI is the host's
// to record as MIDI, not as automation.
void ClapEffect::report(const clap_output_events_t* out, bool midiCame) {
    const bool canPush = out && out->try_push;
    Gesture gesture;
    while (gestures.pop(gesture)) {
        if (!canPush || gesture.exposed >= kExposedCount) continue;
        if (gesture.kind == Gesture::Value)
            pushValue(out, gesture.exposed, gesture.normalised, 0);
        else
            pushGesture(out, gesture.exposed, gesture.kind == Gesture::Begin);
    }
    effectDriver->collectChanges([&](std::size_t exposed, float normalised) {
        if (canPush) pushValue(out, exposed, normalised, midiCame ? CLAP_EVENT_DONT_RECORD : 0);
    });
}

void ClapEffect::askForFlush() {
    if (!processing.load() && hostParams && hostParams->request_flush)
        hostParams->request_flush(host);
}

void ClapEffect::restored() {
    askForFlush();
}

void ClapEffect::gesture(std::size_t exposed, bool begin) {
    gestures.push({begin ? Gesture::Begin : Gesture::End, static_cast<std::uint8_t>(exposed), 0});
    askForFlush();
}

void ClapEffect::edited(std::size_t exposed, float normalised) {
    gestures.push({Gesture::Value, static_cast<std::uint8_t>(exposed), normalised});
    askForFlush();
}

void ClapEffect::resized(int width, int height) {
    if (hostGui && hostGui->request_resize && width > 0 && height > 0)
        hostGui->request_resize(host, static_cast<std::uint32_t>(width),
                                static_cast<std::uint32_t>(height));
}

bool ClapEffect::createEditor() {
    if (!effectDriver || editor) return false;
    if (!hostTimers || !hostTimers->register_timer) {
        std::fprintf(stderr, "Orvane: this host offers no timer-support, which the editor needs "
                             "to run; the editor stays closed.\n");
        return false;
    }
    editor = std::make_unique<adapter::EditorEmbedding>(effectDriver->effect());
    return true;
}

bool ClapEffect::openEditor(unsigned long parent) {
    if (!editor || !parent || editor->isOpen() || !editor->open(parent)) return false;
    if (editorTimer == CLAP_INVALID_ID &&
        !hostTimers->register_timer(host, kEditorTimerMs, &editorTimer)) {
        editorTimer = CLAP_INVALID_ID;
        editor->close();
        return false;
    }
    return true;
}

void ClapEffect::destroyEditor() {
    if (editorTimer != CLAP_INVALID_ID && hostTimers && hostTimers->unregister_timer)
        hostTimers->unregister_timer(host, editorTimer);
    editorTimer = CLAP_INVALID_ID;
    editor.reset();
}

bool ClapEffect::editorSize(std::uint32_t& width, std::uint32_t& height) const {
    int w = 0, h = 0;
    if (!editor || !editor->size(w, h) || w <= 0 || h <= 0) return false;
    width = static_cast<std::uint32_t>(w);
    height = static_cast<std::uint32_t>(h);
    return true;
}

// The editor draws and takes its X events here; changes it made without a gesture (a program,
// A/B recall) wait for a flush while the host is not processing.
void ClapEffect::timer(clap_id id) {
    if (id != editorTimer || !editor) return;
    editor->idle();
    bool changed = false;
    for (std::size_t i = 0; i < kExposedCount; ++i) {
        const float now = effectDriver->value(i);
        changed = changed || now != seen[i];
        seen[i] = now;
    }
    if (changed) askForFlush();
}

const void* ClapEffect::extension(const char* id) const {
    if (!id) return nullptr;
    const struct {
        const char* id;
        const void* table;
    } tables[] = {
        {CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
        {CLAP_EXT_NOTE_PORTS, &kNotePorts},
        {CLAP_EXT_LATENCY, &kLatency},
        {CLAP_EXT_PARAMS, &kParams},
        {CLAP_EXT_STATE, &kState},
        {CLAP_EXT_GUI, &kGui},
        {CLAP_EXT_TIMER_SUPPORT, &kTimerSupport},
    };
    for (const auto& table : tables)
        if (std::strcmp(id, table.id) == 0) return table.table;
    return nullptr;
}

} // namespace orvane::clap
