// SPDX-License-Identifier: GPL-3.0-or-later
// Construction and the effect's answers to the host.
#include "engine/APlugin.h"

#include "host/AEffEditor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const char* const kCanDo[] = {"receiveVstEvents",
                              "receiveVstMidiEvent",
                              "receiveVstTimeInfo",
                              "plugAsChannelInsert",
                              "1in1out",
                              "1in2out",
                              "2in2out"};

constexpr const char* kEffectName = "Orvane";

} // namespace

APlugin::APlugin(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : AudioEffectX(audioMaster, 1, kNumParams) {
    splitFilter.init(44100.0f);
    airFilter.init(44100.0f);
    isSynth(false);
    suspend();
    getDirectoryPaths();
    setDefaultSettings();
    initVariables();
    editorReady = false;
    if (makeEditor) ownEditor = makeEditor(*this);
    setNumInputs(2);
    setNumOutputs(2);
    canProcessReplacing(true);
    detectChunkHost();
    setUniqueID(vstFourCC('H', 'K', 'O', 'V'));
    initMidi();
    factoryIndex = 0;
    for (int i = 0; i < kNumParams; ++i) {
        editValues[i] = DEMOVAR[0][i];
        paramValues[i] = DEMOVAR[0][i];
        programRecord.values[i] = DEMOVAR[0][i];
    }
    setProgram(0);
    factoryIndex = 0;
}

APlugin::~APlugin() {
    // Before anything goes: a dialog the editor started may still be using the effect.
    delete editor;
    editor = nullptr;
    ownEditor = nullptr;
    releaseMidi();
}

void APlugin::suspend() {}

bool APlugin::isEditorOpen() {
    return editor && editorReady && editor->isOpen();
}

void APlugin::editorResume() {
    if (!isEditorOpen()) return;
    editorRefreshPending = false;
    ownEditor->requestResume();
}

// Controls without a parameter carry tags such as 9999; hosts index their tables with what they
// receive, so only real parameter indices are passed on.
bool APlugin::beginEdit(VstInt32 index) {
    if (ownEditor) ownEditor->setEditTag(index);
    return index >= 0 && index < kNumParams && AudioEffectX::beginEdit(index);
}

bool APlugin::endEdit(VstInt32 index) {
    if (ownEditor) ownEditor->setEditTag(-1);
    return index >= 0 && index < kNumParams && AudioEffectX::endEdit(index);
}

bool APlugin::getOutputProperties(VstInt32 index, VstPinProperties* properties) {
    if (!properties || index < 0 || index > 1) return false;
    std::snprintf(properties->label, sizeof properties->label, "%s %d", kEffectName, index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool APlugin::getEffectName(char* name) {
    if (!name) return false;
    std::strcpy(name, kEffectName);
    return true;
}

bool APlugin::getVendorString(char* text) {
    if (!text) return false;
    std::strcpy(text, "Halvick");
    return true;
}

bool APlugin::getProductString(char* text) {
    if (!text) return false;
    std::strcpy(text, "HKOV");
    return true;
}

VstInt32 APlugin::getVendorVersion() {
    return 0x10001;
}

VstIntPtr APlugin::vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg) {
    VstIntPtr answer = 0;
    if (answerAdapter(lArg, lArg2, ptrArg, floatArg, answer)) return answer;
    const bool wheel =
        lArg == vstFourCC('s', 't', 'C', 'A') && lArg2 == vstFourCC('W', 'h', 'e', 'e');
    if (!wheel || !editor || !std::isfinite(floatArg)) return 0;
    return editor->onWheel(floatArg) ? 1 : 0;
}

VstInt32 APlugin::canDo(char* text) {
    if (!text) return 0;
    for (const char* supported : kCanDo)
        if (std::strcmp(text, supported) == 0) return 1;
    return 0;
}

float APlugin::getVu() {
    return spareVu.exchange(0.0f);
}
