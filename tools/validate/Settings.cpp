// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/Settings.h"

namespace orvane::validate {

std::vector<float> Settings::sampleRates() const {
    if (strictness >= 3)
        return {8000,  11025, 16000,  22050,  32000,  44100,  48000,
                88200, 96000, 176400, 192000, 352800, 384000, 768000};
    if (strictness == 2) return {8000, 22050, 44100, 48000, 96000, 192000, 768000};
    return {8000, 44100, 768000};
}

std::unique_ptr<testhost::Plugin> loadPlugin(const Settings& settings, std::string& error) {
    auto plugin = testhost::Plugin::load(settings.pluginPath, settings.host, &error);
    if (plugin) {
        // A plug-in that automates from its processing thread must not meet our allocations.
        plugin->log().automate.reserve(1 << 16);
        plugin->log().beginEdit.reserve(1 << 12);
        plugin->log().endEdit.reserve(1 << 12);
    }
    return plugin;
}

std::unique_ptr<testhost::Plugin> startPlugin(const Settings& settings, std::string& error,
                                              float rate, int maxBlock) {
    auto plugin = loadPlugin(settings, error);
    if (plugin) plugin->start(rate, maxBlock);
    return plugin;
}

} // namespace orvane::validate
