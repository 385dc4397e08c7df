// SPDX-License-Identifier: GPL-3.0-or-later
// The effect of test programs that link the entry point: the engine alone, without an editor,
// so they link no GUI.
#include "engine/APlugin.h"

#include <new>

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new (std::nothrow) APlugin(audioMaster);
}
