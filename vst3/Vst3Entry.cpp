// SPDX-License-Identifier: GPL-3.0-or-later
// The module's three exported entry points.
#include "vst3/Factory.h"

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

ORVANE_EXPORT v3_plugin_factory** GetPluginFactory() {
    return orvane::vst3::pluginFactory();
}

// The module keeps no state between loads: nothing to set up or tear down.
ORVANE_EXPORT bool ModuleEntry(void*) {
    return true;
}

ORVANE_EXPORT bool ModuleExit() {
    return true;
}
