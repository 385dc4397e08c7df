// SPDX-License-Identifier: GPL-3.0-or-later
// Factory programs, the edit/recall comparison and clear preset.
#include "engine/APlugin.h"


#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kNameSlots = kNameLast - kNameFirst + 1;
constexpr int kClearPresetCount = kNameFirst; // clear preset leaves the name slots and above alone

const char* displayName(int n) {
    return (n >= 0 && n < kNumFactoryPrograms) ? DEMO_NAME_STR[n] : "None";
}

// The name held in the name slots of a value array: one character per slot, 0 ends it.
// Values from outside (a chunk) may be anything; a slot that is not a positive number ends it.
void decodeName(const Relaxed<float>* values, char (&name)[kNameSlots + 1]) {
    int length = 0;
    for (; length < kNameSlots; ++length) {
        const float value = values[kNameFirst + length];
        if (!(value > 0.0f)) break;
        const int code = static_cast<int>((value < 1.0f ? value : 1.0f) * 255.99f + 0.1f);
        if (code <= 0) break;
        name[length] = static_cast<char>(code > 255 ? 255 : code);
    }
    name[length] = 0;
}

// The factory program whose display name the slots hold (the last one if several), or -1.
int programNamedIn(const Relaxed<float>* values) {
    char name[kNameSlots + 1];
    decodeName(values, name);
    int named = -1;
    for (int n = 1; n < kNumFactoryPrograms; ++n)
        if (std::strcmp(name, DEMO_NAME_STR[n]) == 0) named = n;
    return named;
}

} // namespace

void APlugin::setDefaultSettings() {
    for (int i = 0; i < kNumParams; ++i)
        defaultValues[i] = CLEAR_PRESET_VALUES[i];
}

void APlugin::loadFactoryValues(int program) {
    for (int i = 0; i < kNumParams; ++i) {
        paramValues[i] = DEMOVAR[program][i];
        programRecord.values[i] = DEMOVAR[program][i];
    }
}

// Hosts outside the chunk families restore a session by writing every parameter back. Once the
// name slots spell a factory program's name, that program is the one the restored values came
// from: the menu shows it, and EDIT and RECALL compare with it. No value is reloaded.
void APlugin::adoptProgramNamedInSlots() {
    const int named = programNamedIn(paramValues);
    if (named < 0) return;
    if (named != factoryIndex) editorRefreshPending = true;
    factoryIndex = named;
    bool edited = false;
    for (int i = 0; i < kNumParams; ++i) {
        recallValues[i] = DEMOVAR[named][i];
        edited = edited || std::fabs(paramValues[i] - DEMOVAR[named][i]) > 0.0001f;
    }
    programEdited = edited;
}

void APlugin::copyIntoLive(const Relaxed<float>* source, int count) {
    for (int i = 0; i < count; ++i) {
        paramValues[i] = source[i];
        programRecord.values[i] = source[i];
    }
}

void APlugin::getProgramName(char* name) {
    if (name) std::strcpy(name, displayName(factoryIndex));
}

void APlugin::setProgramName(char*) {}

bool APlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index != 0 || !text) return false;
    std::strcpy(text, displayName(factoryIndex));
    return true;
}

// The constant name itself: a shared copy would be written by editors of two instances opening
// on two threads at once.
const char* APlugin::getPresetName(int n) {
    return displayName(n);
}

void APlugin::setDemoProgram(int n) {
    if (n < 0 || n >= kNumFactoryPrograms) return;
    factoryIndex = n;
    loadFactoryValues(n);
    setProgram(0);
}

void APlugin::changeDemoProgramDelta(int delta) {
    int n = factoryIndex + delta;
    if (n < 0) n = 0;
    if (n > kNumFactoryPrograms - 1) n = kNumFactoryPrograms - 1;
    setDemoProgram(n);
}

void APlugin::setProgram(VstInt32 program) {
    if (editorBuilding) return;
    programEdited = false;
    if (program > 0) return;

    const int selected = std::max(programNamedIn(programRecord.values), 0);
    factoryIndex = selected;
    loadFactoryValues(selected);

    for (int i = 0; i < kNumParams; ++i) {
        editValues[i] = paramValues[i];
        recallValues[i] = paramValues[i];
        lastSetValues[i] = paramValues[i];
    }
    for (int i = 0; i < kNumParams; ++i)
        setParameter(i, programRecord.values[i]);

    editorRefreshPending = true;
    if (ownEditor) ownEditor->setPresetUndo();
    // The host is not called from the processing thread: a program change received over MIDI
    // asks for the refresh at the next dispatcher call instead.
    if (programChangeFromMidi)
        displayUpdatePending = true;
    else
        updateDisplay();
    resetEverything();
    resetCapture();
}

void APlugin::doPresetCommand(int command) {
    switch (command) {
    case 6:
        for (int i = 0; i < kClearPresetCount; ++i) {
            paramValues[i] = defaultValues[i];
            programRecord.values[i] = defaultValues[i];
        }
        resetCapture();
        break;
    case 7:
        recallProgram();
        break;
    case 9:
        editProgram();
        break;
    default:
        break;
    }
}

void APlugin::recallProgram() {
    if (!programEdited) return;
    copyIntoLive(recallValues, kNumParams);
    resetCapture();
    programEdited = false;
    editorResume();
}

void APlugin::editProgram() {
    if (programEdited) return;
    copyIntoLive(editValues, kNumParams);
    resetCapture();
    editorResume();
    programEdited = true;
}
