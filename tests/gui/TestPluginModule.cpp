// Entry point of the test plug-in module.
#include "tests/gui/TestEffect.h"

#include <new>

extern "C" __attribute__((visibility("default"))) AEffect*
VSTPluginMain(audioMasterCallback audioMaster) {
    if (!audioMaster || !audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0)) return nullptr;
    auto* effect = new (std::nothrow) orvane::guitest::TestEffect(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}
