// SPDX-License-Identifier: GPL-3.0-or-later
// Instances do not share what they should not, and loading and unloading leaves nothing behind.
#include "tools/validate/Audio.h"
#include "tools/validate/EditorWindow.h"
#include "tools/validate/Groups.h"
#include "tools/validate/InstanceChecks.h"

#include <memory>

namespace orvane::validate {

namespace {

constexpr int kBlock = 512;

Outcome together(const Settings& settings) {
    return instancesTogether(settings, [&](std::string& error) -> ProcessBlock {
        std::shared_ptr<testhost::Plugin> plugin = startPlugin(settings, error, 44100, kBlock);
        if (!plugin) return {};
        return [plugin](float* const* in, float* const* out, int frames) {
            plugin->process(in, out, frames);
        };
    });
}

Outcome cycles(const Settings& settings) {
    const Stereo input = testSignal(4096, 44100, settings.seed);
    // With a display, every cycle also opens and closes the editor: its connections, fonts and
    // images must go with it.
    EditorWindow window;
    int editors = 0;
    const auto cycle = [&](std::string& error) {
        auto plugin = startPlugin(settings, error, 44100, kBlock);
        if (!plugin) return false;
        renderFixed(*plugin, input, kBlock);
        if (window.problem().empty() && (plugin->effect()->flags & effFlagsHasEditor)) {
            window.open(*plugin);
            for (int i = 0; i < 3; ++i)
                window.idle(*plugin);
            window.close(*plugin);
            ++editors;
        }
        void* chunk = nullptr;
        plugin->dispatch(effGetChunk, 0, 0, &chunk);
        plugin->dispatch(effMainsChanged, 0, 0);
        return true;
    };
    return loadCycles(settings, cycle,
                      [&] { return " (" + std::to_string(editors) + " with the editor)"; });
}

} // namespace

void instancesGroup(Report& report, const Settings& settings) {
    report.run("instances", "instances processing together render as each alone",
               [&] { return together(settings); });
    report.run("instances", "load/unload cycles leave no threads, files or memory behind",
               [&] { return cycles(settings); });
}

} // namespace orvane::validate
