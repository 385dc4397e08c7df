// The LV2 module's audio path against the VST 2.4 module's, in the same run: both load the same
// effect, so the ratio shows what the adapter's port, MIDI and dispatch work costs.
#include "bench/NoiseSignal.h"
#include "lv2/Ports.h"
#include "tools/lv2host/Lv2Host.h"
#include "tools/testhost/TestHost.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
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

// Console output plus each LV2 case's throughput as a share of the VST 2.4 module's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto found = run.counters.find("x_realtime");
            if (!run.error_occurred && run.run_type == Run::RT_Iteration &&
                found != run.counters.end())
                speeds[run.benchmark_name()] = found->second.value;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto vst = speeds.find("BM_Vst2Module");
        std::printf("\n%-32s %12s %10s\n", "case", "x realtime", "/ VST 2.4");
        for (const auto& [name, speed] : speeds)
            std::printf("%-32s %12.0f %10.3f\n", name.c_str(), speed,
                        vst == speeds.end() ? 0.0 : speed / vst->second);
    }

private:
    std::map<std::string, double> speeds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
