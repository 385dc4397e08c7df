// SPDX-License-Identifier: GPL-3.0-or-later
// One thread processes without pause while another changes everything a host may change:
// parameters, programs, chunks, rate, block size, suspend and resume, and the editor.
#include "tools/validate/Audio.h"
#include "tools/validate/EditorWindow.h"
#include "tools/validate/Groups.h"
#include "tools/validate/RealtimeCounter.h"

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace orvane::validate {

namespace {

constexpr int kBlock = 256;

class Hammer {
public:
    Hammer(testhost::Plugin& plugin, std::uint32_t seed) : plugin(plugin), random(seed) {
        void* data = nullptr;
        const VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
        if ((plugin.effect()->flags & effFlagsProgramChunks) && size > 0 && data)
            chunk.assign(static_cast<char*>(data), static_cast<char*>(data) + size);
    }

    // One thing a host's user-interface thread might do.
    void strike() {
        AEffect* effect = plugin.effect();
        const int parameters = std::max(effect->numParams, 1);
        char text[512];
        switch (random() % 10) {
        case 0:
            plugin.dispatch(effSetProgram, 0,
                            static_cast<VstIntPtr>(random() % std::max(effect->numPrograms, 1)));
            plugin.dispatch(effGetProgramName, 0, 0, text);
            break;
        case 1:
            if (!chunk.empty()) {
                void* data = nullptr;
                plugin.dispatch(effGetChunk, 0, 0, &data);
                plugin.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data());
            }
            break;
        case 2: {
            static const float rates[] = {44100, 48000, 96000, 22050};
            plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rates[random() % 4]);
            break;
        }
        case 3:
            // Never below the blocks the processing thread hands over.
            plugin.dispatch(effSetBlockSize, 0, kBlock << (random() % 5));
            break;
        case 4:
            plugin.dispatch(effMainsChanged, 0, 0);
            plugin.dispatch(effMainsChanged, 0, 1);
            break;
        default:
            for (int i = 0; i < 16; ++i) {
                const int index = static_cast<int>(random() % static_cast<unsigned>(parameters));
                plugin.setParameter(index, static_cast<float>(random() % 1001) / 1000.0f);
                plugin.getParameter(index);
                plugin.dispatch(effGetParamDisplay, index, 0, text);
            }
        }
    }

private:
    testhost::Plugin& plugin;
    std::mt19937 random;
    std::vector<char> chunk;
};

Outcome processWhileChanging(const Settings& settings, bool withEditor) {
    std::string error;
    auto plugin = startPlugin(settings, error, 44100, kBlock);
    if (!plugin) return fail(error);
    std::unique_ptr<EditorWindow> window;
    if (withEditor) {
        if (!(plugin->effect()->flags & effFlagsHasEditor))
            return skip("no editor (effFlagsHasEditor)");
        window = std::make_unique<EditorWindow>();
        if (!window->problem().empty()) return skip(window->problem());
    }
    RealtimeCounter counter;
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::string problem;
    const Stereo input = testSignal(kBlock, 44100, settings.seed);
    AEffect* effect = plugin->effect();
    std::thread audio([&] {
        Stereo source = input;
        Stereo output(kBlock);
        float* in[2] = {source.channel[0].data(), source.channel[1].data()};
        float* out[2] = {output.channel[0].data(), output.channel[1].data()};
        while (running.load(std::memory_order_relaxed)) {
            // Counted when the interposer is there: a change of rate or block size, a program or
            // a chunk must not make the next block allocate or wait.
            if (counter.available())
                counter.count([&] { effect->processReplacing(effect, in, out, kBlock); });
            else
                effect->processReplacing(effect, in, out, kBlock);
            blocks.fetch_add(1, std::memory_order_relaxed);
            if (problem.empty()) {
                problem = outOfBounds(output, settings.outputLimit);
                if (!problem.empty())
                    problem = "block " + std::to_string(blocks.load()) + ": " + problem;
            }
        }
    });
    Hammer hammer(*plugin, settings.seed);
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(settings.hammerSeconds());
    int editorCycles = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (window) {
            window->open(*plugin);
            for (int i = 0; i < 10; ++i) {
                for (int k = 0; k < 20; ++k)
                    hammer.strike();
                window->idle(*plugin);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            window->close(*plugin);
            ++editorCycles;
        } else {
            hammer.strike();
        }
    }
    running = false;
    audio.join();
    if (!problem.empty()) return fail(problem);
    if (!counter.clean()) return fail("the processing thread made " + counter.summary());
    if (blocks.load() == 0) return fail("the processing thread never finished a block");
    std::string detail = std::to_string(blocks.load()) + " blocks processed";
    if (window) detail += ", editor opened and closed " + std::to_string(editorCycles) + " times";
    return pass(detail);
}

} // namespace

void concurrencyGroup(Report& report, const Settings& settings) {
    report.run("concurrency",
               "processing while parameters, programs, chunks, rate, block size and "
               "suspend/resume change",
               [&] { return processWhileChanging(settings, false); });
    report.run("concurrency", "processing and changes while the editor opens, idles and closes",
               [&] { return processWhileChanging(settings, true); });
}

} // namespace orvane::validate
