// SPDX-License-Identifier: GPL-3.0-or-later
// The CLAP module's audio path against the VST 2.4 module's, in the same run: both load the same
// effect, so the ratio shows what the adapter's event and dispatch work costs.
#include "bench/ModuleBench.h"
#include "tools/claphost/ClapHost.h"

#include <deque>

namespace {

// With automation the host sends a Main Volume value inside every block, as a lane plays.
void BM_ClapModule(benchmark::State& state) {
    const bool automated = state.range(0) != 0;
    orvane::claphost::HostOptions options;
    options.sampleRate = kRate;
    options.maxFrames = kBlock;
    std::string error;
    auto plugin =
        orvane::claphost::ClapPlugin::load(orvane::claphost::builtClapPath(), options, &error);
    if (!plugin) throw std::runtime_error(error);
    std::deque<orvane::claphost::InputEvents> lists;
    for (int i = 0; i < 7; ++i)
        lists.emplace_back(automated
                               ? std::vector<orvane::claphost::Event>{orvane::claphost::valueEvent(
                                     100, 1, i - 3.0)}
                               : std::vector<orvane::claphost::Event>{});
    orvane::claphost::OutputEvents out;
    long block = 0;
    runBlocks(state, [&](const float* inL, const float* inR, float* outL, float* outR) {
        float* inputs[2] = {const_cast<float*>(inL), const_cast<float*>(inR)};
        float* outputs[2] = {outL, outR};
        clap_audio_buffer_t input{inputs, nullptr, 2, 0, 0};
        clap_audio_buffer_t output{outputs, nullptr, 2, 0, 0};
        out.events.clear();
        plugin->process({-1, kBlock, nullptr, &input, &output, 1, 1,
                         lists[static_cast<std::size_t>(block++ % 7)].list(), out.list()});
    });
}

BENCHMARK(BM_Vst2Module)->ArgName("automated")->Arg(0)->Arg(1);
BENCHMARK(BM_ClapModule)->ArgName("automated")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv) {
    return runAgainstVst2(argc, argv);
}
