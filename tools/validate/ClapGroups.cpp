// SPDX-License-Identifier: GPL-3.0-or-later
// The processing, state, real-time and instances groups for a CLAP module, driven through the
// CLAP test host.
#include "tools/claphost/ClapHost.h"
#include "tools/validate/Audio.h"
#include "tools/validate/EditorWindow.h"
#include "tools/validate/Groups.h"
#include "tools/validate/InstanceChecks.h"
#include "tools/validate/RealtimeCounter.h"

#include <clap/ext/params.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <memory>
#include <random>
#include <thread>

namespace orvane::validate {
namespace {

using claphost::ClapPlugin;
using claphost::Event;

constexpr std::uint32_t kMaxBlock = 4096;

std::unique_ptr<ClapPlugin> loadClap(const Settings& settings, std::string& error,
                                     double rate = 44100) {
    claphost::HostOptions options;
    options.sampleRate = rate;
    options.maxFrames = kMaxBlock;
    return ClapPlugin::load(settings.pluginPath, options, &error);
}

std::vector<clap_id> parameterIds(const ClapPlugin& plugin) {
    const auto* params =
        static_cast<const clap_plugin_params_t*>(plugin.extension(CLAP_EXT_PARAMS));
    std::vector<clap_id> ids;
    clap_param_info_t info;
    for (std::uint32_t i = 0; params && i < params->count(plugin.plugin()); ++i)
        if (params->get_info(plugin.plugin(), i, &info)) ids.push_back(info.id);
    return ids;
}

// Host values at random frames across the whole render, within each parameter's range.
std::vector<Event> randomValues(const ClapPlugin& plugin, int frames, std::uint32_t seed) {
    const auto* params =
        static_cast<const clap_plugin_params_t*>(plugin.extension(CLAP_EXT_PARAMS));
    std::mt19937 random(seed);
    std::vector<Event> events;
    clap_param_info_t info;
    const std::uint32_t count = params ? params->count(plugin.plugin()) : 0;
    for (int i = 0; count > 0 && i < frames / 100; ++i) {
        if (!params->get_info(plugin.plugin(), random() % count, &info)) continue;
        const double at = static_cast<double>(random() % 1001) / 1000;
        events.push_back(
            claphost::valueEvent(random() % static_cast<unsigned>(frames), info.id,
                                 info.min_value + at * (info.max_value - info.min_value)));
    }
    return events;
}

// Renders with the block sizes nextBlock hands out, each event inside its block at its frame.
Stereo render(ClapPlugin& plugin, const Stereo& input, const std::function<int()>& nextBlock,
              const std::vector<Event>& events = {}, bool inPlace = false) {
    Stereo output = inPlace ? input : Stereo(input.frames());
    for (int done = 0; done < input.frames();) {
        const int frames = std::min(nextBlock(), input.frames() - done);
        std::vector<Event> block;
        for (const Event& e : events)
            if (e.frame >= static_cast<unsigned>(done) &&
                e.frame < static_cast<unsigned>(done + frames)) {
                block.push_back(e);
                block.back().frame -= done;
            }
        const Stereo& source = inPlace ? output : input;
        plugin.process(source.channel[0].data() + done, source.channel[1].data() + done,
                       output.channel[0].data() + done, output.channel[1].data() + done,
                       static_cast<std::uint32_t>(frames), block);
        done += frames;
    }
    return output;
}

Stereo renderFixed(ClapPlugin& plugin, const Stereo& input, int block,
                   const std::vector<Event>& events = {}) {
    return render(
        plugin, input, [=] { return block; }, events);
}

Outcome differences(const Stereo& a, const Stereo& b, const std::string& what) {
    int first = -1;
    const int count = countDifferences(a, b, &first);
    return count ? fail(std::to_string(count) + " samples differ " + what +
                        ", the first at frame " + std::to_string(first))
                 : pass();
}

Outcome blockSizes(const Settings& settings) {
    const int frames = static_cast<int>(settings.renderSeconds() * 44100);
    const Stereo input = testSignal(frames, 44100, settings.seed);
    std::string error;
    auto fixed = loadClap(settings, error);
    auto varied = loadClap(settings, error);
    if (!fixed || !varied) return fail(error);
    const std::vector<Event> events = randomValues(*fixed, frames, settings.seed);
    std::mt19937 random(settings.seed);
    return differences(renderFixed(*fixed, input, 512, events),
                       render(
                           *varied, input, [&] { return 1 + random() % kMaxBlock; }, events),
                       "between random and fixed blocks");
}

Outcome rate(const Settings& settings, float sampleRate) {
    std::string error;
    auto plugin = loadClap(settings, error, sampleRate);
    if (!plugin) return fail(error);
    const int frames = static_cast<int>(sampleRate * settings.renderSeconds() / 2);
    const Stereo input = testSignal(frames, sampleRate, settings.seed);
    const std::string problem =
        outOfBounds(renderFixed(*plugin, input, 512, randomValues(*plugin, frames, settings.seed)),
                    settings.outputLimit);
    return problem.empty() ? pass() : fail(problem);
}

Outcome extreme(const Settings& settings) {
    std::string error;
    auto plugin = loadClap(settings, error);
    if (!plugin) return fail(error);
    Stereo input = testSignal(8192, 44100, settings.seed);
    const float kinds[] = {NAN, INFINITY, -INFINITY, 1e30f, 1e-40f};
    for (int i = 0; i < 4096; ++i)
        input.channel[i % 2][i] = kinds[i % 5];
    const Stereo output = renderFixed(*plugin, input, 256);
    std::string problem = outOfBounds(output, settings.outputLimit);
    if (problem.empty() && !(rms(output, 6144, 8192) > 0))
        problem = "silent after the extreme input ended";
    return problem.empty() ? pass() : fail(problem);
}

Outcome inPlace(const Settings& settings) {
    std::string error;
    auto separate = loadClap(settings, error);
    auto same = loadClap(settings, error);
    if (!separate || !same) return fail(error);
    const Stereo input = testSignal(44100, 44100, settings.seed);
    const auto block = [] { return 333; };
    return differences(render(*separate, input, block), render(*same, input, block, {}, true),
                       "in place");
}

Outcome stateRoundTrip(const Settings& settings) {
    std::string error;
    auto first = loadClap(settings, error);
    auto second = loadClap(settings, error);
    if (!first || !second) return fail(error);
    renderFixed(*first, testSignal(4096, 44100, settings.seed), 512,
                randomValues(*first, 4096, settings.seed));
    const auto saved = first->saveState(3);
    if (saved.empty()) return fail("save failed");
    if (!second->loadState(saved, 5)) return fail("load of a saved state failed");
    if (second->saveState(7) != saved) return fail("the state saved again differs");
    for (clap_id id : parameterIds(*first)) {
        double a = 0, b = 0;
        if (!first->value(id, a) || !second->value(id, b) || a != b)
            return fail("parameter " + std::to_string(id) + " differs after the round trip");
    }
    return pass(std::to_string(saved.size()) + " bytes");
}

Outcome badStates(const Settings& settings) {
    std::string error;
    auto plugin = loadClap(settings, error);
    if (!plugin) return fail(error);
    const auto saved = plugin->saveState();
    std::mt19937 random(settings.seed);
    std::vector<std::vector<std::uint8_t>> bad = {{}, {saved.begin(), saved.end() - 1}, saved};
    bad.back().push_back(0);
    for (int i = 0; i < settings.randomChunks(); ++i) {
        std::vector<std::uint8_t> bytes(saved);
        for (int k = 0; k < 16; ++k)
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        bad.push_back(bytes);
    }
    int taken = 0;
    for (const auto& bytes : bad) {
        taken += plugin->loadState(bytes, 1 + random() % 64);
        const std::string problem =
            outOfBounds(renderFixed(*plugin, testSignal(2048, 44100, settings.seed), 512),
                        settings.outputLimit);
        if (!problem.empty()) return fail(problem);
    }
    return pass(std::to_string(bad.size()) + " states, " + std::to_string(taken) + " taken");
}

enum Mode { kAudioOnly, kWithEvents, kWithEditor };

// Runs on a thread of its own, as a host's processing thread would; with the editor open, the
// host's timer runs it here meanwhile.
Outcome processingThread(const Settings& settings, Mode mode) {
    const bool withEvents = mode != kAudioOnly;
    RealtimeCounter counter;
    if (!counter.available())
        return skip("the interposer liborvane_rtcheck.so is not loaded (LD_PRELOAD)");
    std::string error;
    auto plugin = loadClap(settings, error);
    if (!plugin) return fail(error);
    constexpr std::uint32_t kBlock = 256;
    const int blocks = static_cast<int>(settings.renderSeconds() * 44100 / kBlock);
    Stereo source = testSignal(kBlock, 44100, settings.seed);
    Stereo output(kBlock);
    std::mt19937 random(settings.seed);
    // A block's events made beforehand, as a host's lists are: values, controllers, programs.
    std::deque<claphost::InputEvents> lists;
    for (int i = 0; i < 32; ++i) {
        std::vector<Event> events =
            withEvents ? randomValues(*plugin, 1600, random()) : std::vector<Event>{};
        for (Event& e : events)
            e.frame %= kBlock;
        static const std::uint8_t kStatus[] = {0xB0, 0xB0, 0xC0, 0x90, 0xE0};
        for (int k = 0; withEvents && k < 8; ++k)
            events.push_back(claphost::midiEvent(random() % kBlock,
                                                 kStatus[random() % 5] | random() % 16,
                                                 random() % 128, random() % 128));
        lists.emplace_back(events);
    }
    std::unique_ptr<EditorWindow> window;
    if (mode == kWithEditor) {
        window = std::make_unique<EditorWindow>();
        if (!window->problem().empty()) return skip(window->problem());
        if (!plugin->openEditor(window->id())) return fail("the editor did not open");
    }
    claphost::OutputEvents out;
    std::atomic<bool> finished{false};
    std::thread audio([&] {
        float* in[2] = {source.channel[0].data(), source.channel[1].data()};
        float* outs[2] = {output.channel[0].data(), output.channel[1].data()};
        clap_audio_buffer_t input{in, nullptr, 2, 0, 0};
        clap_audio_buffer_t outputBuffer{outs, nullptr, 2, 0, 0};
        for (int block = 0; block < blocks; ++block) {
            out.events.clear();
            const clap_process_t process{-1,
                                         kBlock,
                                         nullptr,
                                         &input,
                                         &outputBuffer,
                                         1,
                                         1,
                                         lists[block % lists.size()].list(),
                                         out.list()};
            counter.count([&] { plugin->process(process); });
        }
        finished = true;
    });
    while (window && !finished.load()) {
        plugin->runTimers();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    audio.join();
    plugin->closeEditor();
    return counter.clean() ? pass(counter.summary()) : fail(counter.summary());
}

Outcome together(const Settings& settings) {
    return instancesTogether(settings, [&](std::string& error) -> ProcessBlock {
        std::shared_ptr<ClapPlugin> plugin = loadClap(settings, error);
        if (!plugin) return {};
        return [plugin](float* const* in, float* const* out, int frames) {
            plugin->process(in[0], in[1], out[0], out[1], static_cast<std::uint32_t>(frames));
        };
    });
}

Outcome cycles(const Settings& settings) {
    const Stereo input = testSignal(4096, 44100, settings.seed);
    return loadCycles(settings, [&](std::string& error) {
        auto plugin = loadClap(settings, error);
        if (!plugin) return false;
        renderFixed(*plugin, input, 512);
        plugin->saveState();
        return true;
    });
}

} // namespace

void clapProcessingGroup(Report& report, const Settings& settings) {
    report.run("processing",
               "random block sizes 1..4096 with host values inside equal fixed blocks",
               [&] { return blockSizes(settings); });
    for (float sampleRate : settings.sampleRates())
        report.run("processing",
                   "finite output at " + std::to_string(static_cast<int>(sampleRate)) + " Hz",
                   [&] { return rate(settings, sampleRate); });
    report.run("processing", "NaN, infinite, huge and denormal input: bounded output, then normal",
               [&] { return extreme(settings); });
    report.run("processing", "in-place processing equals separate buffers",
               [&] { return inPlace(settings); });
}

void clapStateGroup(Report& report, const Settings& settings) {
    report.run("state", "round trip through streams of a few bytes per call is byte-identical",
               [&] { return stateRoundTrip(settings); });
    report.run("state", "empty, cut, overlong and random states are refused or applied safely",
               [&] { return badStates(settings); });
}

void clapRealtimeGroup(Report& report, const Settings& settings) {
    report.run("realtime", "process", [&] { return processingThread(settings, kAudioOnly); });
    report.run("realtime", "process with parameter values and MIDI (controllers, programs, notes)",
               [&] { return processingThread(settings, kWithEvents); });
    report.run("realtime", "process with values and MIDI while the editor runs on the host's timer",
               [&] { return processingThread(settings, kWithEditor); });
}

void clapInstancesGroup(Report& report, const Settings& settings) {
    report.run("instances", "instances processing together render as each alone",
               [&] { return together(settings); });
    report.run("instances", "load/unload cycles leave no threads, files or memory behind",
               [&] { return cycles(settings); });
}

} // namespace orvane::validate
