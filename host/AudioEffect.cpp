// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/AudioEffect.h"

#include "host/AEffEditor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

AudioEffect* objectOf(AEffect* e) {
    return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

VstIntPtr dispatchEffect(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) {
    AudioEffect* effect = objectOf(e);
    if (!effect) return 0;
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void processDeprecated(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    if (AudioEffect* effect = objectOf(e)) effect->__processDeprecated(inputs, outputs, frames);
}

void processReplacingTrampoline(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    if (AudioEffect* effect = objectOf(e)) effect->processReplacing(inputs, outputs, frames);
}

void processDoubleReplacingTrampoline(AEffect* e, double** inputs, double** outputs,
                                      VstInt32 frames) {
    if (AudioEffect* effect = objectOf(e)) effect->processDoubleReplacing(inputs, outputs, frames);
}

void setParameterTrampoline(AEffect* e, VstInt32 index, float value) {
    if (AudioEffect* effect = objectOf(e)) effect->setParameter(index, value);
}

float getParameterTrampoline(AEffect* e, VstInt32 index) {
    AudioEffect* effect = objectOf(e);
    return effect ? effect->getParameter(index) : 0.0f;
}

void writeBounded(char* text, VstInt32 maxLen, const char* value) {
    if (!text || maxLen < 1) return;
    std::snprintf(text, static_cast<size_t>(maxLen) + 1, "%s", value);
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffect;
    cEffect.process = processDeprecated;
    cEffect.setParameter = setParameterTrampoline;
    cEffect.getParameter = getParameterTrampoline;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = vstFourCC('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingTrampoline;
    cEffect.processDoubleReplacing = processDoubleReplacingTrampoline;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::canProcessReplacing(bool state) {
    setFlag(effFlagsCanReplacing, state);
}

void AudioEffect::canDoubleReplacing(bool state) {
    setFlag(effFlagsCanDoubleReplacing, state);
}

void AudioEffect::programsAreChunks(bool state) {
    setFlag(effFlagsProgramChunks, state);
}

VstInt32 AudioEffect::getMasterVersion() {
    const VstIntPtr version = callHost(audioMasterVersion);
    return version ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0) {
        writeBounded(text, maxLen, "-oo");
        return;
    }
    char work[32];
    std::snprintf(work, sizeof work, "%.2f", 20.0 * std::log10(value));
    writeBounded(text, maxLen, work);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    if (samples == 0) {
        writeBounded(text, maxLen, "0");
        return;
    }
    char work[32];
    std::snprintf(work, sizeof work, "%d", static_cast<int>(getSampleRate() / samples));
    writeBounded(text, maxLen, work);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    char work[32];
    std::snprintf(work, sizeof work, "%.3f", samples * 1000.0 / getSampleRate());
    writeBounded(text, maxLen, work);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    char work[32];
    std::snprintf(work, sizeof work, "%.3f", value);
    writeBounded(text, maxLen, work);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    char work[32];
    std::snprintf(work, sizeof work, "%d", value);
    writeBounded(text, maxLen, work);
}
