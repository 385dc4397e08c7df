// SPDX-License-Identifier: GPL-3.0-or-later
// The module's LV2 entry point.
#include "lv2/Lv2Effect.h"

#include <cstring>

namespace orvane::lv2 {
namespace {

Lv2Effect* self(LV2_Handle handle) {
    return static_cast<Lv2Effect*>(static_cast<InstanceLink*>(handle));
}

// The handle is the InstanceLink, which is what the user interface reads through
// instance-access.
LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
    return static_cast<InstanceLink*>(Lv2Effect::create(rate, features));
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    self(handle)->connect(port, data);
}

void activate(LV2_Handle handle) {
    self(handle)->activate(true);
}

void run(LV2_Handle handle, uint32_t frames) {
    self(handle)->run(frames);
}

void deactivate(LV2_Handle handle) {
    self(handle)->activate(false);
}

void cleanup(LV2_Handle handle) {
    delete self(handle);
}

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state,
                      uint32_t, const LV2_Feature* const*) {
    return self(handle)->save(store, state);
}

LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle state, uint32_t, const LV2_Feature* const*) {
    return self(handle)->restore(retrieve, state);
}

const void* extensionData(const char* uri) {
    static const LV2_State_Interface state = {save, restore};
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

const LV2_Descriptor descriptor = {kPluginUri, instantiate, connectPort, activate,
                                   run,        deactivate,  cleanup,     extensionData};

} // namespace
} // namespace orvane::lv2

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &orvane::lv2::descriptor : nullptr;
}
