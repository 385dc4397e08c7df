// SPDX-License-Identifier: GPL-3.0-or-later
// The VST3 module's audio path against the VST 2.4 module's, in the same run: both load the same
// effect, so the ratio shows what the VST3 adapter's parameter queues and dispatch cost.
#include "bench/ModuleBench.h"
#include "tools/vst3host/Vst3Host.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

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
    return runAgainstVst2(argc, argv);
}
