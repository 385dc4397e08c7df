// A ten-minute 44.1 kHz file rendered as orvane-render renders it, against the audio path alone
// on the same audio measured in the same run: the file work should hide behind the effect.
#include "tools/render/RenderJob.h"
#include "tools/testhost/TestHost.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <chrono>
#include <cstdio>
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
// The file repeats this much noise, so the audio path alone can run on it from memory.
constexpr long kPattern = 1L << 16;

struct Fixture {
    fs::path dir = fs::temp_directory_path() / ("orvane-render-bench-" + std::to_string(getpid()));
    fs::path input = dir / "in.wav", output = dir / "out.wav";
    std::vector<float> left, right;
    double audioPathSeconds = 0.0;

    Fixture() : left(kPattern), right(kPattern) {
        fs::create_directories(dir);
        std::mt19937 random(1);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        std::vector<float> interleaved(2 * kPattern);
        for (long i = 0; i < kPattern; ++i) {
            // Exactly representable in 24 bits, so the file holds what is processed from memory.
            left[i] = std::round(uniform(random) * 8388608.0f) / 8388608.0f;
            right[i] = std::round(uniform(random) * 8388608.0f) / 8388608.0f;
            interleaved[2 * i] = left[i];
            interleaved[2 * i + 1] = right[i];
        }
        SF_INFO info{};
        info.samplerate = kRate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
        SNDFILE* file = sf_open(input.c_str(), SFM_WRITE, &info);
        if (!file) throw std::runtime_error(sf_strerror(nullptr));
        for (long done = 0; done < kFrames; done += kPattern)
            sf_writef_float(file, interleaved.data(), std::min(kPattern, kFrames - done));
        sf_close(file);
    }
    ~Fixture() { fs::remove_all(dir); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_AudioPathAlone(benchmark::State& state) {
    Fixture& f = fixture();
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        auto plugin =
            orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
        if (!plugin) throw std::runtime_error(error);
        plugin->start(kRate, kBlock);
        std::vector<float> outLeft(kBlock), outRight(kBlock);
        float* outputs[2] = {outLeft.data(), outRight.data()};
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (long done = 0; done < kFrames; done += kBlock) {
            const long offset = done % kPattern;
            float* inputs[2] = {f.left.data() + offset, f.right.data() + offset};
            plugin->process(inputs, outputs,
                            static_cast<int>(std::min<long>(kBlock, kFrames - done)));
            benchmark::DoNotOptimize(outLeft.data());
        }
        f.audioPathSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
}

void BM_RenderFile(benchmark::State& state) {
    Fixture& f = fixture();
    RenderOptions options;
    std::atomic<long> done{0};
    const std::atomic<bool> stop{false};
    double seconds = 0.0;
    for (auto _ : state) {
        const RenderResult result =
            renderJob(options, {f.input.string(), f.output.string()}, done, stop);
        seconds = result.seconds;
        if (result.frames != kFrames) state.SkipWithError("the render lost frames");
    }
    if (f.audioPathSeconds > 0.0) state.counters["x_audio_path"] = seconds / f.audioPathSeconds;
}

// Alternating, so each render is compared with the audio path measured just before it.
BENCHMARK(BM_AudioPathAlone)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_RenderFile)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_AudioPathAlone)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_RenderFile)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
