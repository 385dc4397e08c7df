// SPDX-License-Identifier: GPL-3.0-or-later
// A ten-minute 44.1 kHz file rendered as orvane-render renders it, against the audio path alone
// on the same audio measured in the same run: the file work should hide behind the effect.
#include "tools/render/RenderJob.h"
#include "tools/testhost/TestHost.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr long kFrames = 600L * kRate;
constexpr int kBlock = 512;
constexpr long kWriteFrames = 1L << 16;

// The ten minutes of noise in memory, and in a 24-bit file that holds exactly the same samples.
struct Fixture {
    fs::path dir = fs::temp_directory_path() / ("orvane-render-bench-" + std::to_string(getpid()));
    fs::path input = dir / "in.wav", output = dir / "out.wav";
    std::vector<float> left, right;

    Fixture() : left(kFrames), right(kFrames) {
        fs::create_directories(dir);
        std::mt19937 random(1);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (long i = 0; i < kFrames; ++i) {
            left[i] = std::round(uniform(random) * 8388608.0f) / 8388608.0f;
            right[i] = std::round(uniform(random) * 8388608.0f) / 8388608.0f;
        }
        SF_INFO info{};
        info.samplerate = kRate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
        SNDFILE* file = sf_open(input.c_str(), SFM_WRITE, &info);
        if (!file) throw std::runtime_error(sf_strerror(nullptr));
        std::vector<float> interleaved(2 * kWriteFrames);
        for (long done = 0; done < kFrames; done += kWriteFrames) {
            const long count = std::min(kWriteFrames, kFrames - done);
            for (long i = 0; i < count; ++i) {
                interleaved[2 * i] = left[done + i];
                interleaved[2 * i + 1] = right[done + i];
            }
            sf_writef_float(file, interleaved.data(), count);
        }
        sf_close(file);
    }
    ~Fixture() { fs::remove_all(dir); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

double audioPathAlone(Fixture& f) {
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    if (!plugin) throw std::runtime_error(error);
    plugin->start(kRate, kBlock);
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    const auto start = std::chrono::steady_clock::now();
    for (long done = 0; done < kFrames; done += kBlock) {
        float* inputs[2] = {f.left.data() + done, f.right.data() + done};
        plugin->process(inputs, outputs, static_cast<int>(std::min<long>(kBlock, kFrames - done)));
        benchmark::DoNotOptimize(outLeft.data());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each iteration times the audio path alone, then the render; the best of each is compared,
// which keeps other load on the machine out of the ratio as far as it can be.
void BM_RenderAgainstAudioPath(benchmark::State& state) {
    Fixture& f = fixture();
    RenderOptions options;
    std::atomic<long> done{0};
    const std::atomic<bool> stop{false};
    double bestAlone = 1e9, bestRender = 1e9;
    for (auto _ : state) {
        bestAlone = std::min(bestAlone, audioPathAlone(f));
        const RenderResult result =
            renderJob(options, {f.input.string(), f.output.string()}, done, stop);
        if (result.frames != kFrames) state.SkipWithError("the render lost frames");
        bestRender = std::min(bestRender, result.seconds);
        state.SetIterationTime(result.seconds);
    }
    state.counters["audio_path_s"] = bestAlone;
    state.counters["render_s"] = bestRender;
    state.counters["x_audio_path"] = bestRender / bestAlone;
}

BENCHMARK(BM_RenderAgainstAudioPath)->Unit(benchmark::kSecond)->Iterations(3)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
