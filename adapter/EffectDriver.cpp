// SPDX-License-Identifier: GPL-3.0-or-later
#include "adapter/EffectDriver.h"

#include "engine/APlugin.h"
#include "engine/VendorCodes.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace orvane::adapter {

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

void copyText(char* text, std::size_t size, const char* from) {
    if (text && size > 0) std::snprintf(text, size, "%s", from);
}

} // namespace

EffectDriver::EffectDriver()
    : eventList(new unsigned char[sizeof(VstEvents) + kMidiCapacity * sizeof(VstEvent*)]) {
    for (std::size_t i = 0; i < kExposedCount; ++i) {
        known[i].store(kNone, std::memory_order_relaxed);
        waiting[i].store(kNone, std::memory_order_relaxed);
    }
    auto* list = reinterpret_cast<VstEvents*>(eventList.get());
    list->reserved = 0;
    for (std::size_t i = 0; i < kMidiCapacity; ++i)
        list->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
}

std::unique_ptr<EffectDriver> EffectDriver::create(double sampleRate) {
    std::unique_ptr<EffectDriver> self(new (std::nothrow) EffectDriver);
    if (!self) return nullptr;
    self->rate = sampleRate;
    self->aeffect = VSTPluginMain(&EffectDriver::hostCallback);
    if (!self->aeffect) return nullptr;
    self->aeffect->user = self.get();
    self->dispatch(effOpen);
    self->setSampleRate(sampleRate);
    // What the host shows at first is what the effect starts with.
    for (std::size_t i = 0; i < kExposedCount; ++i)
        self->known[i].store(self->value(i), std::memory_order_relaxed);
    return self;
}

EffectDriver::~EffectDriver() {
    if (aeffect) dispatch(effClose); // the effect deletes itself
}

VstIntPtr EffectDriver::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt);
}

VstIntPtr EffectDriver::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                     VstIntPtr value, void* ptr, float opt) {
    auto* self = effect ? static_cast<EffectDriver*>(effect->user) : nullptr;
    if (self) return self->answerHost(opcode, index, value, ptr, opt);
    // While the effect is being built: it asks who its host is.
    switch (opcode) {
    case audioMasterVersion:
        return kVstVersion;
    case audioMasterGetVendorString:
        copyText(static_cast<char*>(ptr), kVstMaxVendorStrLen, "Halvick");
        return ptr ? 1 : 0;
    case audioMasterGetProductString:
        copyText(static_cast<char*>(ptr), kVstMaxProductStrLen, "Orvane format adapter");
        return ptr ? 1 : 0;
    default:
        return 0;
    }
}

VstIntPtr EffectDriver::answerHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    const int exposed = exposedForParameter(index);
    Listener* to = listener.load(std::memory_order_acquire);
    switch (opcode) {
    case audioMasterAutomate:
        // Memories, lamps and the name are not exposed: they travel in the state.
        if (exposed < 0 || !to) return 0;
        known[exposed].store(this->value(static_cast<std::size_t>(exposed)),
                             std::memory_order_relaxed);
        to->edited(static_cast<std::size_t>(exposed), opt);
        return 0;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        if (exposed >= 0 && to)
            to->gesture(static_cast<std::size_t>(exposed), opcode == audioMasterBeginEdit);
        return 1;
    case audioMasterSizeWindow:
        if (to) to->resized(index, static_cast<int>(value));
        return 1;
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(rate.load(std::memory_order_relaxed));
    case audioMasterGetBlockSize:
        return blockSize.load(std::memory_order_relaxed);
    case audioMasterUpdateDisplay:
        return 1; // collectChanges finds what changed
    default:
        return hostCallback(nullptr, opcode, index, value, ptr, opt);
    }
}

void EffectDriver::setListener(Listener* to) {
    listener.store(to, std::memory_order_release);
}

void EffectDriver::setSampleRate(double sampleRate) {
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) return;
    rate = sampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
}

void EffectDriver::setBlockSize(int frames) {
    if (frames < 1) return;
    blockSize = frames;
    dispatch(effSetBlockSize, 0, frames);
}

void EffectDriver::setActive(bool active) {
    dispatch(effMainsChanged, 0, active ? 1 : 0);
}

void EffectDriver::setValue(std::size_t exposed, float normalised) {
    if (exposed >= kExposedCount || !std::isfinite(normalised)) return;
    aeffect->setParameter(aeffect, kExposed[exposed].parameter, normalised);
    known[exposed].store(value(exposed), std::memory_order_relaxed);
}

float EffectDriver::value(std::size_t exposed) const {
    if (exposed >= kExposedCount) return 0.0f;
    return aeffect->getParameter(aeffect, kExposed[exposed].parameter);
}

bool EffectDriver::queueValue(std::size_t exposed, float normalised, std::uint32_t frame) {
    if (exposed >= kExposedCount || !std::isfinite(normalised)) return true;
    if (valueCount == kValueCapacity) return false;
    // Kept in frame order; changes at the same frame keep the order they came in.
    std::size_t at = valueCount++;
    for (; at > 0 && values[at - 1].frame > frame; --at)
        values[at] = values[at - 1];
    values[at] = {frame, static_cast<std::uint32_t>(exposed), normalised};
    waiting[exposed].store(normalised, std::memory_order_relaxed);
    return true;
}

bool EffectDriver::queueMidi(const std::uint8_t* bytes, std::size_t size, std::uint32_t frame) {
    if (!bytes || size < 1 || size > 3) return true; // not a message the effect reads
    if (midiCount == kMidiCapacity) return false;
    VstMidiEvent& event = midi[midiCount];
    event = VstMidiEvent{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    std::memcpy(event.midiData, bytes, size);
    midiFrames[midiCount++] = frame;
    return true;
}

void EffectDriver::apply(const QueuedValue& change) {
    aeffect->setParameter(aeffect, kExposed[change.exposed].parameter, change.normalised);
    known[change.exposed].store(value(change.exposed), std::memory_order_relaxed);
}

// The effect counts an event's offset down once per sample across its process calls, and acts on
// offset d before sample d - 1: every event of the block goes over at once, stamped f + 1.
void EffectDriver::handOverMidi(std::uint32_t frames) {
    auto* list = reinterpret_cast<VstEvents*>(eventList.get());
    VstInt32 count = 0;
    for (std::size_t i = 0; i < midiCount; ++i) {
        if (midiFrames[i] >= frames) continue;
        midi[i].deltaFrames = static_cast<VstInt32>(midiFrames[i]) + 1;
        list->events[count++] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    midiCount = 0;
    if (count == 0) return;
    list->numEvents = count;
    dispatch(effProcessEvents, 0, 0, list);
}

void EffectDriver::runSpan(const float* const* inputs, float* const* outputs, std::uint32_t begin,
                           std::uint32_t end) {
    if (end <= begin) return;
    float* in[] = {const_cast<float*>(inputs[0]) + begin, const_cast<float*>(inputs[1]) + begin};
    float* out[] = {outputs[0] + begin, outputs[1] + begin};
    aeffect->processReplacing(aeffect, in, out, static_cast<VstInt32>(end - begin));
}

void EffectDriver::process(const float* const* inputs, float* const* outputs,
                           std::uint32_t frames) {
    const bool audio = inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
    handOverMidi(audio ? frames : 0);
    std::size_t next = 0;
    for (std::uint32_t at = 0; at < frames && audio;) {
        while (next < valueCount && values[next].frame <= at)
            apply(values[next++]);
        const std::uint32_t end =
            next < valueCount && values[next].frame < frames ? values[next].frame : frames;
        runSpan(inputs, outputs, at, end);
        at = end;
    }
    // Changes stamped past the block, or in a block without audio, still apply.
    for (; next < valueCount; ++next)
        apply(values[next]);
    for (std::size_t i = 0; i < valueCount; ++i)
        waiting[values[i].exposed].store(kNone, std::memory_order_relaxed);
    valueCount = 0;
    if (!audio && outputs)
        for (int ch = 0; ch < 2; ++ch)
            if (outputs[ch]) std::memset(outputs[ch], 0, frames * sizeof(float));
}

bool EffectDriver::saveState(unsigned char (&state)[kStateBytes], const float* unseen) {
    void* served = nullptr;
    if (dispatch(effVendorSpecific, kStateChunkCode, 0, &served) !=
            static_cast<VstIntPtr>(kChunkBytes) ||
        !served)
        return false;
    unsigned char chunk[kChunkBytes];
    std::memcpy(chunk, served, kChunkBytes);
    for (std::size_t i = 0; i < kExposedCount; ++i) {
        float host = waiting[i].load(std::memory_order_relaxed);
        if (unseen && std::isfinite(unseen[i])) host = unseen[i];
        if (!std::isfinite(host)) continue;
        host = host < 0.0f ? 0.0f : host > 1.0f ? 1.0f : host;
        std::memcpy(chunk + 4 * kExposed[i].parameter, &host, sizeof host);
    }
    packState(chunk, state);
    return true;
}

bool EffectDriver::restoreState(const void* state, std::size_t size) {
    unsigned char chunk[kChunkBytes];
    if (!unpackState(state, size, chunk)) return false;
    for (std::size_t i = 0; i < kExposedCount; ++i)
        waiting[i].store(kNone, std::memory_order_relaxed);
    return dispatch(effVendorSpecific, kStateChunkCode, static_cast<VstIntPtr>(kChunkBytes),
                    chunk) == 1;
}

bool EffectDriver::displayText(std::size_t exposed, float normalised, char* text,
                               std::size_t size) {
    if (exposed >= kExposedCount || !text || size == 0) return false;
    char shown[64] = {};
    if (dispatch(effVendorSpecific, kDisplayTextCode, kExposed[exposed].parameter, shown,
                 normalised) != 1)
        return false;
    copyText(text, size, shown);
    return true;
}

bool EffectDriver::parseText(std::size_t exposed, const char* text, float& normalised) {
    if (exposed >= kExposedCount || !text) return false;
    TextValueRequest request{text, 0.0f};
    if (dispatch(effVendorSpecific, kTextValueCode, kExposed[exposed].parameter, &request) != 1)
        return false;
    normalised = request.value;
    return true;
}

int EffectDriver::programCount() const {
    return kNumFactoryPrograms;
}

bool EffectDriver::programName(int program, char* text, std::size_t size) {
    if (program < 0 || program >= kNumFactoryPrograms || !text || size == 0) return false;
    copyText(text, size, DEMO_NAME_STR[program]);
    return true;
}

void EffectDriver::selectProgram(int program) {
    if (program >= 0 && program < kNumFactoryPrograms)
        dispatch(effVendorSpecific, kFactoryProgramCode, program);
}

int EffectDriver::currentProgram() {
    return static_cast<int>(dispatch(effVendorSpecific, kFactoryProgramCode, -1));
}

} // namespace orvane::adapter
