// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in modules' effect: the engine with its editor attached from construction.
#include "editor/EditorFactory.h"
#include "engine/APlugin.h"

#include <new>

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new (std::nothrow) APlugin(audioMaster, &createEditor);
}
