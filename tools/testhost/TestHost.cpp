// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/testhost/TestHost.h"

#include <cstring>
#include <dlfcn.h>

namespace orvane::testhost {

namespace {

using EntryPoint = AEffect* (*)(audioMasterCallback);

// Which Plugin an AEffect belongs to: kept in the field VST 2.4 reserves for the host, so that
// a callback from the processing thread takes no lock. While the entry point runs the plug-in
// calls back before its AEffect is known to us, so that call is answered for the plug-in being
// loaded.
thread_local Plugin* loading = nullptr;

Plugin* pluginFor(AEffect* effect) {
    if (effect && effect->resvd1) return reinterpret_cast<Plugin*>(effect->resvd1);
    return loading;
}

void copyHostString(void* ptr, const std::string& text) {
    if (!ptr) return;
    std::snprintf(static_cast<char*>(ptr), kVstMaxVendorStrLen, "%s", text.c_str());
}

} // namespace

std::string builtPluginPath() {
    return ORVANE_PLUGIN_PATH;
}

VstIntPtr Plugin::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) {
    Plugin* self = pluginFor(effect);
    if (!self) return opcode == audioMasterVersion ? kVstVersion : 0;
    HostLog& log = self->hostLog;
    switch (opcode) {
    case audioMasterVersion:
        return self->hostConfig.version;
    case audioMasterAutomate:
        log.automate.emplace_back(index, opt);
        return 0;
    case audioMasterBeginEdit:
        log.beginEdit.push_back(index);
        return 1;
    case audioMasterEndEdit:
        log.endEdit.push_back(index);
        return 1;
    case audioMasterUpdateDisplay:
        ++log.updateDisplay;
        return 1;
    case audioMasterWantMidi:
        ++log.wantMidi;
        return 1;
    case audioMasterIdle:
        ++log.idle;
        return 0;
    case audioMasterSizeWindow:
        ++log.sizeWindow;
        return 1;
    case audioMasterGetVendorString:
        copyHostString(ptr, self->hostConfig.vendor);
        return 1;
    case audioMasterGetProductString:
        copyHostString(ptr, self->hostConfig.product);
        return 1;
    case audioMasterGetVendorVersion:
        return 1;
    case audioMasterGetSampleRate:
        return 44100;
    case audioMasterGetBlockSize:
        return 512;
    default:
        (void)value;
        return 0;
    }
}

std::unique_ptr<Plugin> Plugin::load(const std::string& soPath, HostConfig config,
                                     std::string* error) {
    std::unique_ptr<Plugin> plugin(new Plugin());
    plugin->hostConfig = std::move(config);
    plugin->library = dlopen(soPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!plugin->library) {
        if (error) *error = dlerror();
        return nullptr;
    }
    auto entry = reinterpret_cast<EntryPoint>(dlsym(plugin->library, "VSTPluginMain"));
    // Older Linux plug-ins export their entry point under the name "main".
    if (!entry) entry = reinterpret_cast<EntryPoint>(dlsym(plugin->library, "main"));
    if (!entry) {
        if (error) *error = "no VSTPluginMain in " + soPath;
        return nullptr;
    }
    loading = plugin.get();
    plugin->aeffect = entry(&Plugin::hostCallback);
    loading = nullptr;
    if (!plugin->aeffect || plugin->aeffect->magic != kEffectMagic) {
        if (error) *error = "VSTPluginMain gave no effect";
        plugin->aeffect = nullptr;
        return nullptr;
    }
    plugin->aeffect->resvd1 = reinterpret_cast<VstIntPtr>(plugin.get());
    return plugin;
}

Plugin::~Plugin() {
    if (aeffect) {
        aeffect->dispatcher(aeffect, effClose, 0, 0, nullptr, 0);
    }
    if (library) dlclose(library);
}

VstIntPtr Plugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt);
}

void Plugin::start(float sampleRate, int blockSize) {
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

void Plugin::setParameter(int index, float value) {
    aeffect->setParameter(aeffect, index, value);
}

float Plugin::getParameter(int index) {
    return aeffect->getParameter(aeffect, index);
}

std::string Plugin::textOf(VstInt32 opcode, int index) {
    char text[256] = {};
    dispatch(opcode, index, 0, text);
    return text;
}

std::string Plugin::parameterName(int index) {
    return textOf(effGetParamName, index);
}
std::string Plugin::parameterLabel(int index) {
    return textOf(effGetParamLabel, index);
}
std::string Plugin::parameterDisplay(int index) {
    return textOf(effGetParamDisplay, index);
}
std::string Plugin::programName() {
    return textOf(effGetProgramName, 0);
}

void Plugin::process(float* const* inputs, float* const* outputs, int frames) {
    aeffect->processReplacing(aeffect, const_cast<float**>(inputs), const_cast<float**>(outputs),
                              frames);
}

void Plugin::sendEvents(const std::vector<VstMidiEvent>& events) {
    // VstEvents ends in a variable-length pointer array.
    std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(events.size());
    list->reserved = 0;
    std::vector<VstMidiEvent> copies(events);
    VstEvent** slots = list->events;
    for (size_t i = 0; i < copies.size(); ++i)
        slots[i] = reinterpret_cast<VstEvent*>(&copies[i]);
    dispatch(effProcessEvents, 0, 0, list);
}

} // namespace orvane::testhost
