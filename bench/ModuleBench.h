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

// With automation the host moves Main Volume inside every block; the VST 2.4 host then splits
// the block there, as a sample-accurate host must.
inline void BM_Vst2Module(benchmark::State& state) {
    const bool automated = state.range(0) != 0;
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    if (!plugin) throw std::runtime_error(error);
    plugin->start(kRate, kBlock);
    long block = 0;
    runBlocks(state, [&](const float* inL, const float* inR, float* outL, float* outR) {
        const float* inputs[2] = {inL, inR};
        float* outputs[2] = {outL, outR};
        if (!automated) {
            plugin->process(const_cast<float* const*>(inputs), outputs, kBlock);
            return;
        }
        plugin->setParameter(1, static_cast<float>(block++ % 7) / 8);
        plugin->process(const_cast<float* const*>(inputs), outputs, kBlock / 2);
        const float* secondIn[2] = {inL + kBlock / 2, inR + kBlock / 2};
        float* secondOut[2] = {outL + kBlock / 2, outR + kBlock / 2};
        plugin->setParameter(1, 0.5f);
        plugin->process(const_cast<float* const*>(secondIn), secondOut, kBlock / 2);
    });
}

// The main of a module benchmark: each case's throughput as a share of the VST 2.4 module's
// with the same automation (every case is registered with the "automated" argument).
inline int runAgainstVst2(int argc, char** argv) {
    return RatioReporter::run(argc, argv, RatioReporter("/ VST 2.4", [](const std::string& name) {
                                  return "BM_Vst2Module" + name.substr(name.find('/'));
                              }));
}
