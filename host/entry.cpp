// The module's two exported entry points.
#include "engine/APlugin.h"

#include <new>

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

// Out-of-memory marker: false unless something outside the effect sets it.
bool oome = false;

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new (std::nothrow) APlugin(audioMaster);
}

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
    AudioEffect* effect = new (std::nothrow) APlugin(audioMaster);
    if (!effect) return nullptr;
    if (oome) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}
