// SPDX-License-Identifier: GPL-3.0-or-later
// The processing, state, real-time and instances groups for a VST3 bundle, driven through our
// VST3 test host as a host drives it: parameter changes and mapped MIDI inside blocks, odd block
// sizes, state through streams that move few bytes per call.
#include "tools/validate/Audio.h"
#include "tools/validate/Groups.h"
#include "tools/validate/RealtimeCounter.h"
#include "tools/vst3host/Vst3Host.h"

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

namespace orvane::validate {

namespace {

using vst3host::Change;
using vst3host::Vst3Plugin;
using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<Vst3Plugin> loadVst3(const Settings& settings, std::string& error,
                                     double rate = 44100, int maxBlock = 8192) {
    return Vst3Plugin::load(settings.pluginPath, rate, maxBlock, &error);
}

// The ids the controller lists, and hidden MIDI parameters from its mapping.
std::vector<v3_param_id> soundParameters(Vst3Plugin& plugin) {
    std::vector<v3_param_id> ids;
    auto* controller = v3_cpp_obj(plugin.controller());
    for (int32_t i = 0; i < controller->get_parameter_count(plugin.controller()); ++i) {
        v3_param_info info{};
        if (controller->get_parameter_info(plugin.controller(), i, &info) == V3_OK &&
            !(info.flags & (V3_PARAM_IS_HIDDEN | V3_PARAM_PROGRAM_CHANGE)))
            ids.push_back(info.param_id);
    }
    return ids;
}

std::vector<v3_param_id> midiParameters(Vst3Plugin& plugin) {
    std::vector<v3_param_id> ids;
    for (int channel = 0; channel < 16; ++channel)
        for (int controller : {1, 7, 20, 21, 64, 130}) {
            v3_param_id id = 0;
            if (plugin.mapController(channel, controller, id)) ids.push_back(id);
        }
    return ids;
}

// Random changes at random offsets of a block, in time order per parameter.
std::vector<Change> changesFor(const std::vector<v3_param_id>& ids, int frames, int count,
                               std::mt19937& random) {
    std::vector<Change> changes;
    for (int i = 0; i < count && !ids.empty() && frames > 0; ++i)
        changes.push_back({ids[random() % ids.size()], static_cast<int32_t>(random() % frames),
                           static_cast<double>(random() % 1001) / 1000.0});
    std::sort(changes.begin(), changes.end(),
              [](const Change& a, const Change& b) { return a.offset < b.offset; });
    return changes;
}

Stereo renderBlocks(Vst3Plugin& plugin, const Stereo& input, const std::vector<int>& blocks,
                    const std::vector<v3_param_id>& ids, std::uint32_t seed) {
    Stereo output(input.frames());
    std::mt19937 random(seed);
    int at = 0;
    for (std::size_t b = 0; at < input.frames(); ++b) {
        const int frames = std::min(blocks[b % blocks.size()], input.frames() - at);
        plugin.process(input.channel[0].data() + at, input.channel[1].data() + at,
                       output.channel[0].data() + at, output.channel[1].data() + at, frames,
                       changesFor(ids, frames, 3, random));
        at += frames;
    }
    return output;
}

Outcome oddBlocks(const Settings& settings) {
    std::string error;
    auto plugin = loadVst3(settings, error);
    if (!plugin) return fail(error);
    const Stereo input =
        testSignal(static_cast<int>(settings.renderSeconds() * 44100), 44100, settings.seed);
    std::vector<v3_param_id> ids = soundParameters(*plugin);
    const std::vector<v3_param_id> midi = midiParameters(*plugin);
    ids.insert(ids.end(), midi.begin(), midi.end());
    const Stereo output =
        renderBlocks(*plugin, input, {1, 7, 0, 333, 4096, 64, 8191, 2}, ids, settings.seed);
    const std::string problem = outOfBounds(output, settings.outputLimit);
    return problem.empty() ? pass() : fail(problem);
}

Outcome everyRate(const Settings& settings) {
    for (float rate : settings.sampleRates()) {
        std::string error;
        auto plugin = loadVst3(settings, error, rate, 512);
        if (!plugin) return fail(std::to_string(rate) + " Hz: " + error);
        const Stereo input = testSignal(static_cast<int>(rate / 2), rate, settings.seed);
        const std::string problem = outOfBounds(
            renderBlocks(*plugin, input, {512}, soundParameters(*plugin), settings.seed),
            settings.outputLimit);
        if (!problem.empty()) return fail(std::to_string(rate) + " Hz: " + problem);
    }
    return pass();
}

// A block of no samples carries changes only: they apply, and no buffer is touched.
Outcome flush(const Settings& settings) {
    std::string error;
    auto plugin = loadVst3(settings, error);
    if (!plugin) return fail(error);
    const std::vector<v3_param_id> ids = soundParameters(*plugin);
    if (ids.empty()) return skip("no parameters");
    plugin->setProcessing(false);
    const double before = plugin->value(ids[0]);
    const double wanted = before > 0.5 ? 0.0 : 1.0;
    if (plugin->process(nullptr, nullptr, nullptr, nullptr, 0, {{ids[0], 0, wanted}}) != V3_OK)
        return fail("process refused a flush");
    if (plugin->value(ids[0]) == before) return fail("the flush's change did not apply");
    return pass();
}

Outcome stateRoundTrip(const Settings& settings, std::size_t step) {
    std::string error;
    auto edited = loadVst3(settings, error);
    if (!edited) return fail(error);
    const Stereo input = testSignal(4096, 44100, settings.seed);
    renderBlocks(*edited, input, {256}, soundParameters(*edited), settings.seed);
    const Bytes saved = edited->saveState(step);
    if (saved.empty()) return fail("no state");
    auto fresh = loadVst3(settings, error);
    if (!fresh) return fail(error);
    if (!fresh->restoreState(saved, step)) return fail("restore refused its own state");
    const Bytes again = fresh->saveState();
    if (again != saved) return fail("a restored instance saves other bytes");
    for (v3_param_id id : soundParameters(*fresh))
        if (fresh->value(id) != edited->value(id))
            return fail("parameter " + std::to_string(id) + " differs after restore");
    return pass(std::to_string(saved.size()) + " bytes");
}

Outcome badStates(const Settings& settings) {
    std::string error;
    auto plugin = loadVst3(settings, error);
    if (!plugin) return fail(error);
    const Bytes good = plugin->saveState();
    std::mt19937 random(settings.seed);
    std::vector<Bytes> bad = {{}, Bytes(good.begin(), good.begin() + good.size() / 2)};
    for (int i = 0; i < settings.randomChunks(); ++i) {
        Bytes noise(random() % (good.size() * 2));
        for (auto& byte : noise)
            byte = static_cast<std::uint8_t>(random());
        bad.push_back(noise);
    }
    Bytes otherVersion = good;
    otherVersion[0] ^= 0x40;
    bad.push_back(otherVersion);
    for (const Bytes& bytes : bad) {
        const Bytes before = plugin->saveState();
        if (plugin->restoreState(bytes, 3)) continue; // taken: must still process safely
        if (plugin->saveState() != before)
            return fail(std::to_string(bytes.size()) + " refused bytes changed the state");
    }
    const std::string problem = outOfBounds(
        renderBlocks(*plugin, testSignal(4096, 44100, settings.seed), {512}, {}, settings.seed),
        settings.outputLimit);
    return problem.empty() ? pass(std::to_string(bad.size()) + " states") : fail(problem);
}

// process with parameter changes and mapped MIDI inside every block, on a thread of its own.
Outcome realtime(const Settings& settings) {
    RealtimeCounter counter;
    if (!counter.available())
        return skip("the interposer liborvane_rtcheck.so is not loaded (LD_PRELOAD)");
    constexpr int kBlock = 256;
    std::string error;
    auto plugin = loadVst3(settings, error, 44100, kBlock);
    if (!plugin) return fail(error);
    std::vector<v3_param_id> ids = soundParameters(*plugin);
    const std::vector<v3_param_id> midi = midiParameters(*plugin);
    ids.insert(ids.end(), midi.begin(), midi.end());
    std::mt19937 random(settings.seed);
    std::vector<std::vector<Change>> changes;
    for (int i = 0; i < 64; ++i)
        changes.push_back(changesFor(ids, kBlock, 12, random));
    const Stereo input = testSignal(kBlock, 44100, settings.seed);
    Stereo output(kBlock);
    const int blocks = static_cast<int>(settings.renderSeconds() * 44100 / kBlock);
    std::thread audio([&] {
        for (int block = 0; block < blocks; ++block) {
            const std::vector<Change>& these = changes[static_cast<std::size_t>(block) % 64];
            counter.count([&] {
                plugin->process(input.channel[0].data(), input.channel[1].data(),
                                output.channel[0].data(), output.channel[1].data(), kBlock, these);
            });
        }
    });
    audio.join();
    return counter.clean() ? pass(counter.summary()) : fail(counter.summary());
}

Outcome together(const Settings& settings) {
    const Stereo input = testSignal(44100, 44100, settings.seed);
    std::string error;
    auto alone = loadVst3(settings, error);
    if (!alone) return fail(error);
    const Stereo reference = renderBlocks(*alone, input, {512}, {}, settings.seed);
    alone.reset();
    std::vector<std::unique_ptr<Vst3Plugin>> plugins;
    for (int i = 0; i < settings.instanceCount(); ++i) {
        plugins.push_back(loadVst3(settings, error));
        if (!plugins.back()) return fail(error);
    }
    std::vector<Stereo> outputs(plugins.size(), Stereo(input.frames()));
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < plugins.size(); ++i)
        threads.emplace_back(
            [&, i] { outputs[i] = renderBlocks(*plugins[i], input, {512}, {}, settings.seed); });
    for (std::thread& t : threads)
        t.join();
    for (const Stereo& output : outputs)
        if (countDifferences(output, reference) != 0)
            return fail("an instance rendered other samples beside the others");
    return pass(std::to_string(plugins.size()) + " instances");
}

Outcome cycles(const Settings& settings) {
    for (int i = 0; i < settings.loadCycles(); ++i) {
        std::string error;
        auto plugin = loadVst3(settings, error);
        if (!plugin) return fail("cycle " + std::to_string(i) + ": " + error);
        renderBlocks(*plugin, testSignal(1024, 44100, settings.seed), {256}, {}, settings.seed);
    }
    return pass(std::to_string(settings.loadCycles()) + " cycles");
}

} // namespace

void vst3ProcessingGroup(Report& report, const Settings& settings) {
    report.run("processing", "odd block sizes with changes and mapped MIDI inside blocks",
               [&] { return oddBlocks(settings); });
    report.run("processing", "every sample rate", [&] { return everyRate(settings); });
    report.run("processing", "a block of no samples applies its changes",
               [&] { return flush(settings); });
}

void vst3StateGroup(Report& report, const Settings& settings) {
    report.run("state", "a fresh instance restored from the state saves the same bytes",
               [&] { return stateRoundTrip(settings, 1 << 20); });
    report.run("state", "streams that move one byte per call",
               [&] { return stateRoundTrip(settings, 1); });
    report.run("state", "cut, foreign and random states are refused or applied safely",
               [&] { return badStates(settings); });
}

void vst3RealtimeGroup(Report& report, const Settings& settings) {
    report.run("realtime", "process with parameter changes and mapped MIDI inside blocks",
               [&] { return realtime(settings); });
}

void vst3InstancesGroup(Report& report, const Settings& settings) {
    report.run("instances", "instances processing together render as each alone",
               [&] { return together(settings); });
    report.run("instances", "load/unload cycles", [&] { return cycles(settings); });
}

} // namespace orvane::validate
