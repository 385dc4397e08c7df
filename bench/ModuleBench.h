// SPDX-License-Identifier: GPL-3.0-or-later
// What the format modules' benchmarks share: the block loop and the VST 2.4 module as the
// baseline every other module's audio path is measured against in the same run.
#pragma once

#include "bench/NoiseSignal.h"
#include "bench/RatioReporter.h"
#include "tools/testhost/TestHost.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

constexpr std::uint32_t kBlock = 512;
constexpr float kRate = 48000;

// Frames through the block loop, for any module; the first factory program has every stage on.
template <typename Process> void runBlocks(benchmark::State& state, Process&& process) {
    const Signal& in = noise();
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    int offset = 0;
    for (auto _ : state) {
        process(in.left.data() + offset, in.right.data() + offset, outLeft.data(), outRight.data());
        benchmark::DoNotOptimize(outLeft.data());
        offset = (offset + kBlock) % kSignalFrames;
    }
    const double frames = static_cast<double>(state.iterations()) * kBlock;
    state.counters["x_realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

inline void BM_Vst2Module(benchmark::State& state) {
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    if (!plugin) throw std::runtime_error(error);
    plugin->start(kRate, kBlock);
    runBlocks(state, [&](const float* inL, const float* inR, float* outL, float* outR) {
        const float* inputs[2] = {inL, inR};
        float* outputs[2] = {outL, outR};
        plugin->process(const_cast<float* const*>(inputs), outputs, kBlock);
    });
}

// The main of a module benchmark: each case's throughput as a share of the VST 2.4 module's.
inline int runAgainstVst2(int argc, char** argv) {
    return RatioReporter::run(argc, argv, RatioReporter("/ VST 2.4", [](const std::string&) {
                                  return std::string("BM_Vst2Module");
                              }));
}
