// SPDX-License-Identifier: GPL-3.0-or-later
// The module's two exported entry points.
#include "host/AudioEffect.h"

#include <new>

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

// Out-of-memory marker: false unless something outside the effect sets it.
bool oome = false;

// Each module says which effect it builds (host/PluginInstance.cpp for the plug-in modules).
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

namespace {
bool hostAnswersVersion(audioMasterCallback audioMaster) {
    return audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0) != 0;
}
} // namespace

ORVANE_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (!hostAnswersVersion(audioMaster)) return nullptr;
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}

ORVANE_EXPORT AEffect* main_macho(audioMasterCallback audioMaster) {
    if (!hostAnswersVersion(audioMaster)) return nullptr;
    AudioEffect* effect = createEffectInstance(audioMaster);
    if (!effect) return nullptr;
    if (oome) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}
