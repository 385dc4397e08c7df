#include "lv2/Lv2Effect.h"

#include "lv2/HostIdentity.h"
#include "lv2/StateFormat.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace orvane::lv2 {

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
    self->effect = VSTPluginMain(&Lv2Effect::hostCallback);
    if (!self->effect) {
        delete self;
        return nullptr;
    }
    self->effect->user = static_cast<InstanceLink*>(self);
    self->dispatch(effOpen);
    self->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    return self;
}

Lv2Effect::Lv2Effect(LV2_URID_Map* map)
    : midiEventType(map->map(map->handle, LV2_MIDI__MidiEvent)),
      chunkType(map->map(map->handle, LV2_ATOM__Chunk)),
      stateKey(map->map(map->handle, kStateKeyUri)),
      eventList(new unsigned char[sizeof(VstEvents) + kEventCapacity * sizeof(VstEvent*)]) {
    // No value seen yet: the first run compares every port with the effect itself.
    for (float& value : lastPort)
        value = std::numeric_limits<float>::quiet_NaN();
    auto* list = reinterpret_cast<VstEvents*>(eventList.get());
    for (int i = 0; i < kEventCapacity; ++i)
        list->events[i] = reinterpret_cast<VstEvent*>(&midiEvents[i]);
}

Lv2Effect::~Lv2Effect() {
    if (effect) dispatch(effClose); // the effect deletes itself
}

VstIntPtr Lv2Effect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

VstIntPtr Lv2Effect::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
    VstIntPtr answer = 0;
    if (answerIdentity(opcode, ptr, answer)) return answer;
    auto* self = effect ? static_cast<InstanceLink*>(effect->user) : nullptr;
    const EditorLink* editor = self ? self->editor.load() : nullptr;
    if (!editor) return 0;
    switch (opcode) {
    case audioMasterAutomate:
        editor->automate(editor->ui, index, opt);
        return 0;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        editor->gesture(editor->ui, index, opcode == audioMasterBeginEdit);
        return 1;
    case audioMasterSizeWindow:
        editor->resize(editor->ui, index, static_cast<int>(value));
        return 1;
    default:
        return 0;
    }
}

void Lv2Effect::connect(std::uint32_t port, void* data) {
    if (port < kMidiInput) {
        audio[port] = static_cast<float*>(data);
    } else if (port == kMidiInput) {
        midi = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port - kFirstControl < kControlCount) {
        controls[port - kFirstControl] = static_cast<const float*>(data);
    }
}

void Lv2Effect::activate(bool on) {
    dispatch(effMainsChanged, 0, on ? 1 : 0);
}

// A port applies when the host changed it and it says something else than the effect holds,
// so values set by the editor, by MIDI or by a restored state are not overwritten by a port
// that merely still shows them.
void Lv2Effect::applyControls() {
    const bool adopt = adoptPorts.exchange(false, std::memory_order_acquire);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (!controls[i]) continue;
        const float port = *controls[i];
        if (adopt) lastPort[i] = port;
        if (!std::isfinite(port) || port == lastPort[i]) continue;
        lastPort[i] = port;
        const ParameterPort& p = kParameterPorts[i];
        const float held = effect->getParameter(effect, p.parameter);
        if (toPortValue(p, kPortShapes[i], held) == port) continue;
        effect->setParameter(effect, p.parameter, toNormalised(p, kPortShapes[i], port));
    }
}

// The effect acts on an event with offset d before sample d - 1, so an event stamped for
// frame f is handed over with offset f + 1.
void Lv2Effect::deliverMidi(std::uint32_t frames) {
    if (!midi) return;
    int count = 0;
    LV2_ATOM_SEQUENCE_FOREACH(midi, event) {
        if (count == kEventCapacity) break;
        if (event->body.type != midiEventType || event->body.size < 1 || event->body.size > 3)
            continue;
        const std::int64_t frame = event->time.frames;
        if (frame < 0 || frame >= static_cast<std::int64_t>(frames)) continue;
        VstMidiEvent& out = midiEvents[count++];
        out = VstMidiEvent{};
        out.type = kVstMidiType;
        out.byteSize = sizeof(VstMidiEvent);
        out.deltaFrames = static_cast<VstInt32>(frame) + 1;
        std::memcpy(out.midiData, LV2_ATOM_BODY_CONST(&event->body), event->body.size);
    }
    if (count == 0) return;
    auto* list = reinterpret_cast<VstEvents*>(eventList.get());
    list->numEvents = count;
    dispatch(effProcessEvents, 0, 0, list);
}

void Lv2Effect::run(std::uint32_t frames) {
    applyControls();
    deliverMidi(frames);
    float* inputs[] = {audio[kInputLeft], audio[kInputRight]};
    float* outputs[] = {audio[kOutputLeft], audio[kOutputRight]};
    if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) {
        for (float* out : outputs)
            if (out) std::memset(out, 0, frames * sizeof(float));
        return;
    }
    effect->processReplacing(effect, inputs, outputs, static_cast<VstInt32>(frames));
}

LV2_State_Status Lv2Effect::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    void* chunk = nullptr;
    if (dispatch(effGetChunk, 0, 0, &chunk) != static_cast<VstIntPtr>(kChunkBytes) || !chunk)
        return LV2_STATE_ERR_UNKNOWN;
    unsigned char state[kStateBytes];
    packState(static_cast<const unsigned char*>(chunk), state);
    return store(handle, stateKey, state, sizeof state, chunkType,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Effect::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    std::size_t size = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    const void* value = retrieve(handle, stateKey, &size, &type, &flags);
    if (!value) return LV2_STATE_ERR_NO_PROPERTY;
    unsigned char chunk[kChunkBytes];
    if (type != chunkType || !unpackState(value, size, chunk)) return LV2_STATE_ERR_BAD_TYPE;
    dispatch(effSetChunk, 0, kChunkBytes, chunk);
    adoptPorts.store(true, std::memory_order_release);
    return LV2_STATE_SUCCESS;
}

} // namespace orvane::lv2
