// The fuzzed effect: the engine alone, without an editor, so the targets link no GUI.
#include "engine/APlugin.h"

#include <new>

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new (std::nothrow) APlugin(audioMaster);
}
