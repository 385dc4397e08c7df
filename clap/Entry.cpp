// SPDX-License-Identifier: GPL-3.0-or-later
// The module's CLAP entry point: one factory with one plug-in.
#include "clap/ClapEffect.h"
#include "clap/Descriptor.h"

#include <clap/entry.h>
#include <clap/plugin-factory.h>

#include <cstring>

namespace orvane::clap {
namespace {

const char* const kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_MASTERING,
                                 CLAP_PLUGIN_FEATURE_STEREO, nullptr};

std::uint32_t pluginCount(const clap_plugin_factory_t*) {
    return 1;
}

const clap_plugin_descriptor_t* descriptor(const clap_plugin_factory_t*, std::uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}

const clap_plugin_t* createPlugin(const clap_plugin_factory_t*, const clap_host_t* host,
                                  const char* id) {
    if (!host || !id || !clap_version_is_compatible(host->clap_version) ||
        std::strcmp(id, kDescriptor.id) != 0)
        return nullptr;
    return ClapEffect::create(host);
}

const clap_plugin_factory_t kFactory = {pluginCount, descriptor, createPlugin};

bool init(const char*) {
    return true;
}

void deinit() {}

const void* factory(const char* id) {
    return id && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}

} // namespace

const clap_plugin_descriptor_t kDescriptor = {
    CLAP_VERSION_INIT,
    "com.halvick.orvane",
    "Orvane",
    "Halvick",
    "",
    "",
    "",
    ORVANE_VERSION,
    "Stereo finishing effect for mastering: air, mono low band, main volume, limited output",
    const_cast<const char**>(kFeatures),
};

} // namespace orvane::clap

const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, orvane::clap::init, orvane::clap::deinit,
                                        orvane::clap::factory};
