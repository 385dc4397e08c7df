// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of processReplacing through the built plug-in, as times real time, against the
// bare recursions it cannot run faster than.
#include "bench/BareRecursions.h"
#include "bench/NoiseSignal.h"
#include "bench/RatioReporter.h"
#include "tools/testhost/TestHost.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 512;

enum Stages { kAllOff, kAllOn, kSplitOnly };

std::unique_ptr<orvane::testhost::Plugin> startPlugin(float rate, Stages stages) {
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    if (!plugin) throw std::runtime_error(error);
    plugin->start(rate, kBlock);
    // The first factory program has every stage on at 0 dB.
    if (stages != kAllOn) plugin->setParameter(2, 0.0f);
    if (stages == kAllOff) plugin->setParameter(5, 0.0f);
    return plugin;
}

void reportRealTime(benchmark::State& state, double rate) {
    const double frames = static_cast<double>(state.iterations()) * kBlock;
    state.counters["x_realtime"] = benchmark::Counter(frames / rate, benchmark::Counter::kIsRate);
}

void BM_Effect(benchmark::State& state) {
    const auto rate = static_cast<float>(state.range(0));
    auto plugin = startPlugin(rate, static_cast<Stages>(state.range(1)));
    const Signal& in = noise();
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    int offset = 0;
    for (auto _ : state) {
        const float* inputs[2] = {in.left.data() + offset, in.right.data() + offset};
        plugin->process(const_cast<float* const*>(inputs), outputs, kBlock);
        benchmark::DoNotOptimize(outLeft.data());
        offset = (offset + kBlock) % kSignalFrames;
    }
    reportRealTime(state, rate);
}

void BM_BareRecursions(benchmark::State& state) {
    const auto rate = static_cast<double>(state.range(0));
    BareRecursions bare(rate);
    const Signal& in = noise();
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    int offset = 0;
    for (auto _ : state) {
        bare.process(in.left.data() + offset, in.right.data() + offset, outLeft.data(),
                     outRight.data(), kBlock);
        benchmark::DoNotOptimize(outLeft.data());
        offset = (offset + kBlock) % kSignalFrames;
    }
    reportRealTime(state, rate);
}

// The split alone (the Air stage's offset would keep the split's states above the subnormal
// range), on signal, or on one block of signal followed by fifteen of silence, during which the
// states decay through the subnormal range: the two should run at the same speed.
void BM_SplitOnly(benchmark::State& state) {
    const auto rate = static_cast<float>(state.range(0));
    const bool silenceAfterSignal = state.range(1) != 0;
    auto plugin = startPlugin(rate, kSplitOnly);
    const Signal& in = noise();
    const std::vector<float> silence(kBlock, 0.0f);
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    long block = 0;
    for (auto _ : state) {
        const int offset = static_cast<int>(block % (kSignalFrames / kBlock)) * kBlock;
        const bool signal = !silenceAfterSignal || block % 16 == 0;
        ++block;
        const float* inputs[2] = {signal ? in.left.data() + offset : silence.data(),
                                  signal ? in.right.data() + offset : silence.data()};
        plugin->process(const_cast<float* const*>(inputs), outputs, kBlock);
        benchmark::DoNotOptimize(outLeft.data());
    }
    reportRealTime(state, rate);
}

BENCHMARK(BM_BareRecursions)->ArgName("rate")->Arg(44100)->Arg(48000)->Arg(96000);
BENCHMARK(BM_Effect)
    ->ArgNames({"rate", "all_stages_on"})
    ->ArgsProduct({{44100, 48000, 96000}, {kAllOn, kAllOff}});
BENCHMARK(BM_SplitOnly)
    ->ArgNames({"rate", "silence_after_signal"})
    ->Args({48000, 0})
    ->Args({48000, 1});

} // namespace

int main(int argc, char** argv) {
    // Each case against the bare recursions at its rate.
    return RatioReporter::run(argc, argv, RatioReporter("/ bare", [](const std::string& name) {
                                  return "BM_BareRecursions/rate:" +
                                         name.substr(name.find("rate:") + 5, 5);
                              }));
}
