// SPDX-License-Identifier: GPL-3.0-or-later
// Instances do not share what they should not, and loading and unloading leaves nothing behind.
#include "tools/validate/Audio.h"
#include "tools/validate/EditorWindow.h"
#include "tools/validate/Groups.h"

#include <algorithm>
#include <dirent.h>
#include <malloc.h>

namespace orvane::validate {

namespace {

constexpr int kBlock = 512;

Outcome together(const Settings& settings) {
    const int count = settings.instanceCount();
    std::vector<Stereo> inputs;
    std::vector<Stereo> alone;
    std::string error;
    for (int k = 0; k < count; ++k) {
        inputs.push_back(testSignal(44100, 44100, settings.seed + static_cast<unsigned>(k)));
        auto plugin = startPlugin(settings, error, 44100, kBlock);
        if (!plugin) return fail(error);
        alone.push_back(renderFixed(*plugin, inputs.back(), kBlock));
    }
    std::vector<std::unique_ptr<testhost::Plugin>> plugins;
    for (int k = 0; k < count; ++k) {
        plugins.push_back(startPlugin(settings, error, 44100, kBlock));
        if (!plugins.back()) return fail(error);
    }
    std::vector<Stereo> outputs(static_cast<size_t>(count), Stereo(44100));
    for (int done = 0; done < 44100; done += kBlock) {
        const int frames = std::min(kBlock, 44100 - done);
        for (size_t k = 0; k < plugins.size(); ++k) {
            float* in[2] = {inputs[k].channel[0].data() + done, inputs[k].channel[1].data() + done};
            float* out[2] = {outputs[k].channel[0].data() + done,
                             outputs[k].channel[1].data() + done};
            plugins[k]->process(in, out, frames);
        }
    }
    for (size_t k = 0; k < plugins.size(); ++k) {
        int first = -1;
        const int differences = countDifferences(alone[k], outputs[k], &first);
        if (differences)
            return fail("instance " + std::to_string(k) + ": " + std::to_string(differences) +
                        " samples differ from its render alone, the first at frame " +
                        std::to_string(first));
    }
    return pass(std::to_string(count) + " instances");
}

int entriesIn(const char* directory) {
    DIR* dir = opendir(directory);
    if (!dir) return -1;
    int count = 0;
    while (readdir(dir))
        ++count;
    closedir(dir);
    return count;
}

struct Footprint {
    int threads = entriesIn("/proc/self/task");
    int files = entriesIn("/proc/self/fd");
    long long heap = [] {
        const struct mallinfo2 info = mallinfo2();
        return static_cast<long long>(info.uordblks + info.hblkhd);
    }();
};

Outcome cycles(const Settings& settings) {
    const int total = settings.loadCycles();
    const int settle = std::max(2, total / 2);
    const Stereo input = testSignal(4096, 44100, settings.seed);
    // With a display, every cycle also opens and closes the editor: its connections, fonts and
    // images must go with it.
    EditorWindow window;
    Footprint settled;
    std::string error;
    int editors = 0;
    for (int cycle = 0; cycle < total; ++cycle) {
        // The first half may fill caches that live as long as the process (fonts, the X
        // connection's tables); a leak keeps growing through the second.
        if (cycle == settle) settled = Footprint();
        auto plugin = startPlugin(settings, error, 44100, kBlock);
        if (!plugin) return fail("cycle " + std::to_string(cycle) + ": " + error);
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
    }
    const Footprint now;
    const long long grown = now.heap - settled.heap;
    if (now.threads > settled.threads)
        return fail(std::to_string(now.threads - settled.threads) + " threads left behind");
    if (now.files > settled.files)
        return fail(std::to_string(now.files - settled.files) + " files left open");
    // Allocator bookkeeping and the X and font libraries' tables move by a few hundred bytes
    // a cycle; a leaked buffer per instance adds up far beyond that.
    if (grown > 1024 * (total - settle) + 4096)
        return fail("the heap grew by " + std::to_string(grown) + " bytes in " +
                    std::to_string(total - settle) + " cycles");
    return pass(std::to_string(total) + " cycles (" + std::to_string(editors) +
                " with the editor), heap " + (grown >= 0 ? "+" : "") + std::to_string(grown) +
                " bytes");
}

} // namespace

void instancesGroup(Report& report, const Settings& settings) {
    report.run("instances", "instances processing together render as each alone",
               [&] { return together(settings); });
    report.run("instances", "load/unload cycles leave no threads, files or memory behind",
               [&] { return cycles(settings); });
}

} // namespace orvane::validate
