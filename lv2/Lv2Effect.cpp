// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/Lv2Effect.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace orvane::lv2 {

using adapter::kExposedCount;

namespace {

const void* feature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

} // namespace

Lv2Effect* Lv2Effect::create(double sampleRate, const LV2_Feature* const* features) {
    auto* map = static_cast<LV2_URID_Map*>(const_cast<void*>(feature(features, LV2_URID__map)));
    if (!map) return nullptr;
    auto* self = new (std::nothrow) Lv2Effect(map);
    if (!self) return nullptr;
    self->driver = adapter::EffectDriver::create(sampleRate);
    if (!self->driver) {
        delete self;
        return nullptr;
    }
    self->effect = self->driver->effect();
    self->driver->setListener(self);
    // Hosts start the ports at their defaults, the effect's own start values: only a port that
    // moves away from them is the host's news.
    for (std::size_t i = 0; i < kExposedCount; ++i)
        self->seen[i] = adapter::toPlain(i, self->driver->value(i));
    return self;
}

Lv2Effect::Lv2Effect(LV2_URID_Map* map)
    : midiEventType(map->map(map->handle, LV2_MIDI__MidiEvent)),
      chunkType(map->map(map->handle, LV2_ATOM__Chunk)),
      stateKey(map->map(map->handle, kStateKeyUri)), portsKey(map->map(map->handle, kPortsKeyUri)) {
}

Lv2Effect::~Lv2Effect() = default;

void Lv2Effect::gesture(std::size_t exposed, bool begin) {
    if (auto* to = ui.load()) to->gesture(exposed, begin);
}

void Lv2Effect::edited(std::size_t exposed, float normalised) {
    if (auto* to = ui.load()) to->edited(exposed, normalised);
}

void Lv2Effect::resized(int width, int height) {
    if (auto* to = ui.load()) to->resized(width, height);
}

void Lv2Effect::connect(std::uint32_t port, void* data) {
    if (port < kMidiInput) {
        audio[port] = static_cast<float*>(data);
    } else if (port == kMidiInput) {
        midi = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port - kFirstControl < kExposedCount) {
        controls[port - kFirstControl] = static_cast<const float*>(data);
    }
}

void Lv2Effect::activate(bool on) {
    driver->setActive(on);
}

// A port tells something new when the host changed it since the plug-in last took it, it is not
// the interface's own report of the effect's value, and it says something else than the effect
// holds: values set by the editor, by MIDI or by a restored state are not overwritten by a port
// that merely still shows them.
float Lv2Effect::newHostValue(std::size_t i) const {
    constexpr float none = std::numeric_limits<float>::quiet_NaN();
    if (!controls[i]) return none;
    const float port = *controls[i];
    if (!std::isfinite(port) || port == seen[i].load() || isEcho(i, port)) return none;
    if (adapter::toPlain(i, driver->value(i)) == port) return none;
    return adapter::toNormalised(i, port);
}

void Lv2Effect::takeControls() {
    for (std::size_t i = 0; i < kExposedCount; ++i) {
        if (!controls[i]) continue;
        const float port = *controls[i];
        const float value = newHostValue(i);
        if (std::isfinite(value)) driver->queueValue(i, value, 0);
        if (std::isfinite(port)) seen[i].store(port);
        // The interface's report has arrived: a later host write of that value is the host's.
        takeEcho(i, port);
    }
}

// Each event goes over at its frame; the driver hands it so that it acts there.
void Lv2Effect::queueMidi(std::uint32_t frames) {
    if (!midi) return;
    LV2_ATOM_SEQUENCE_FOREACH(midi, event) {
        if (event->body.type != midiEventType) continue;
        const std::int64_t frame = event->time.frames;
        if (frame < 0 || frame >= static_cast<std::int64_t>(frames)) continue;
        if (!driver->queueMidi(static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(&event->body)),
                               event->body.size, static_cast<std::uint32_t>(frame)))
            break;
    }
}

void Lv2Effect::run(std::uint32_t frames) {
    takeControls();
    queueMidi(frames);
    const float* inputs[] = {audio[kInputLeft], audio[kInputRight]};
    float* outputs[] = {audio[kOutputLeft], audio[kOutputRight]};
    driver->process(inputs, outputs, frames);
}

// Ports the host set since the last run are what the host shows: the saved state holds them.
// Beside it go the ports' values as the plug-in knows them, so a reopened session can tell a
// port the host moved after this save (some hosts pass their values on only with a run) from
// one that merely still shows an older value.
LV2_State_Status Lv2Effect::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    float unseen[kExposedCount];
    float ports[kExposedCount];
    for (std::size_t i = 0; i < kExposedCount; ++i) {
        unseen[i] = newHostValue(i);
        const float port = controls[i] ? *controls[i] : seen[i].load();
        ports[i] = std::isfinite(port) ? port : seen[i].load();
    }
    unsigned char state[adapter::kStateBytes];
    if (!driver->saveState(state, unseen)) return LV2_STATE_ERR_UNKNOWN;
    unsigned char shown[sizeof ports];
    adapter::putLittleFloats(ports, kExposedCount, shown);
    const std::uint32_t flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    const LV2_State_Status status = store(handle, stateKey, state, sizeof state, chunkType, flags);
    if (status != LV2_STATE_SUCCESS) return status;
    return store(handle, portsKey, shown, sizeof shown, chunkType, flags);
}

// After a restore the state holds the effect's values, and a port is the host's news when it
// differs from what it held at the save. Sessions without that record (older ones, presets)
// compare the ports with what the plug-in last saw, as for any run.
LV2_State_Status Lv2Effect::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    std::size_t size = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    const void* value = retrieve(handle, stateKey, &size, &type, &flags);
    if (!value) return LV2_STATE_ERR_NO_PROPERTY;
    if (type != chunkType || !driver->restoreState(value, size)) return LV2_STATE_ERR_BAD_TYPE;
    const void* shown = retrieve(handle, portsKey, &size, &type, &flags);
    if (shown && type == chunkType && size == kExposedCount * 4) {
        float ports[kExposedCount];
        adapter::getLittleFloats(static_cast<const unsigned char*>(shown), kExposedCount, ports);
        for (std::size_t i = 0; i < kExposedCount; ++i)
            if (std::isfinite(ports[i])) seen[i].store(ports[i]);
    }
    return LV2_STATE_SUCCESS;
}

} // namespace orvane::lv2
