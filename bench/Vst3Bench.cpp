// SPDX-License-Identifier: GPL-3.0-or-later
// The VST3 module's audio path against the VST 2.4 module's, in the same run: both load the same
// effect, so the ratio shows what the VST3 adapter's parameter queues and dispatch cost.
#include "bench/NoiseSignal.h"
#include "bench/RatioReporter.h"
#include "tools/testhost/TestHost.h"
#include "tools/vst3host/Vst3Host.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 48000;

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
void BM_Vst2Module(benchmark::State& state) {
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

void BM_Vst3Module(benchmark::State& state) {
    const bool automated = state.range(0) != 0;
    std::string error;
    auto plugin = orvane::vst3host::Vst3Plugin::load(orvane::vst3host::builtBundlePath(), kRate,
                                                     kBlock, &error);
    if (!plugin) throw std::runtime_error(error);
    long block = 0;
    std::vector<orvane::vst3host::Change> changes(2);
    runBlocks(state, [&](const float* inL, const float* inR, float* outL, float* outR) {
        if (!automated) {
            plugin->process(inL, inR, outL, outR, kBlock);
            return;
        }
        changes[0] = {1, 0, static_cast<double>(block++ % 7) / 8};
        changes[1] = {1, kBlock / 2, 0.5};
        plugin->process(inL, inR, outL, outR, kBlock, changes);
    });
}

BENCHMARK(BM_Vst2Module)->ArgName("automated")->Arg(0)->Arg(1);
BENCHMARK(BM_Vst3Module)->ArgName("automated")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv) {
    // Each case's throughput as a share of the VST 2.4 module's with the same automation.
    return RatioReporter::run(argc, argv, RatioReporter("/ VST 2.4", [](const std::string& name) {
                                  return "BM_Vst2Module" + name.substr(name.find('/'));
                              }));
}
