// The LV2 module's audio path against the VST 2.4 module's, in the same run: both load the same
// effect, so the ratio shows what the adapter's port, MIDI and dispatch work costs.
#include "bench/NoiseSignal.h"
#include "bench/RatioReporter.h"
#include "lv2/Ports.h"
#include "tools/lv2host/Lv2Host.h"
#include "tools/testhost/TestHost.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 48000;

// Frames through the block loop, for either module; the first factory program has every
// stage on.
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

void BM_Vst2Module(benchmark::State& state) {
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

BENCHMARK(BM_Vst2Module);
BENCHMARK(BM_Lv2Module)->ArgName("automated")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv) {
    // Each case's throughput as a share of the VST 2.4 module's.
    return RatioReporter::run(argc, argv, RatioReporter("/ VST 2.4", [](const std::string&) {
                                  return std::string("BM_Vst2Module");
                              }));
}
