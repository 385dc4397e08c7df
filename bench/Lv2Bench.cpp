// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 module's audio path against the VST 2.4 module's, in the same run: both load the same
// effect, so the ratio shows what the adapter's port, MIDI and dispatch work costs.
#include "bench/ModuleBench.h"
#include "lv2/Ports.h"
#include "tools/lv2host/Lv2Host.h"

namespace {

// With automation the host moves a port every block, as Ardour does while playing a lane.
void BM_Lv2Module(benchmark::State& state) {
    const bool automated = state.range(0) != 0;
    std::string error;
    auto plugin = orvane::lv2host::Lv2Plugin::load(orvane::lv2host::builtBundlePath(),
                                                   orvane::lv2::kPluginUri, kRate, &error);
    if (!plugin) throw std::runtime_error(error);
    long block = 0;
    runBlocks(state, [&](const float* inL, const float* inR, float* outL, float* outR) {
        if (automated) plugin->setControl("main_volume", static_cast<float>(block++ % 7) - 3);
        plugin->run(inL, inR, outL, outR, kBlock);
    });
}

BENCHMARK(BM_Vst2Module)->ArgName("automated")->Arg(0)->Arg(1);
BENCHMARK(BM_Lv2Module)->ArgName("automated")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv) {
    return runAgainstVst2(argc, argv);
}
