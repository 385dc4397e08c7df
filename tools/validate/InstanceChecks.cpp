// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/InstanceChecks.h"
#include "tools/validate/Audio.h"

#include <algorithm>
#include <dirent.h>
#include <malloc.h>

namespace orvane::validate {

namespace {

constexpr int kBlock = 512;
constexpr int kFrames = 44100;

// Alone, from a copy of the input, so that an instance writing to its input changes nothing.
Stereo renderAlone(const ProcessBlock& process, Stereo input) {
    Stereo output(input.frames());
    for (int done = 0; done < input.frames(); done += kBlock) {
        float* in[2] = {input.channel[0].data() + done, input.channel[1].data() + done};
        float* out[2] = {output.channel[0].data() + done, output.channel[1].data() + done};
        process(in, out, std::min(kBlock, input.frames() - done));
    }
    return output;
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

} // namespace

Outcome instancesTogether(const Settings& settings, const StartInstance& start) {
    const int count = settings.instanceCount();
    std::vector<Stereo> inputs;
    std::vector<Stereo> alone;
    std::string error;
    for (int k = 0; k < count; ++k) {
        inputs.push_back(testSignal(kFrames, 44100, settings.seed + static_cast<unsigned>(k)));
        const ProcessBlock process = start(error);
        if (!process) return fail(error);
        alone.push_back(renderAlone(process, inputs.back()));
    }
    std::vector<ProcessBlock> instances;
    for (int k = 0; k < count; ++k) {
        instances.push_back(start(error));
        if (!instances.back()) return fail(error);
    }
    std::vector<Stereo> outputs(static_cast<size_t>(count), Stereo(kFrames));
    for (int done = 0; done < kFrames; done += kBlock) {
        const int frames = std::min(kBlock, kFrames - done);
        for (size_t k = 0; k < instances.size(); ++k) {
            float* in[2] = {inputs[k].channel[0].data() + done, inputs[k].channel[1].data() + done};
            float* out[2] = {outputs[k].channel[0].data() + done,
                             outputs[k].channel[1].data() + done};
            instances[k](in, out, frames);
        }
    }
    for (size_t k = 0; k < instances.size(); ++k) {
        int first = -1;
        const int differences = countDifferences(alone[k], outputs[k], &first);
        if (differences)
            return fail("instance " + std::to_string(k) + ": " + std::to_string(differences) +
                        " samples differ from its render alone, the first at frame " +
                        std::to_string(first));
    }
    return pass(std::to_string(count) + " instances");
}

Outcome loadCycles(const Settings& settings, const std::function<bool(std::string& error)>& cycle,
                   const std::function<std::string()>& note) {
    const int total = settings.loadCycles();
    const int settle = std::max(2, total / 2);
    Footprint settled;
    std::string error;
    for (int k = 0; k < total; ++k) {
        // The first half may fill caches that live as long as the process (fonts, the X
        // connection's tables); a leak keeps growing through the second.
        if (k == settle) settled = Footprint();
        if (!cycle(error)) return fail("cycle " + std::to_string(k) + ": " + error);
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
    return pass(std::to_string(total) + " cycles" + (note ? note() : "") + ", heap " +
                (grown >= 0 ? "+" : "") + std::to_string(grown) + " bytes");
}

} // namespace orvane::validate
