// SPDX-License-Identifier: GPL-3.0-or-later
// Processing: block sizes do not change the result, every rate works, extreme input gives
// bounded output and leaves no trace, in-place processing, nothing touched outside the buffers.
#include "tools/validate/Audio.h"
#include "tools/validate/Groups.h"
#include "tools/validate/Guarded.h"

#include <cmath>
#include <cstring>
#include <random>

namespace orvane::validate {

namespace {

constexpr int kMaxBlock = 8192;

Outcome blockSizes(const Settings& settings) {
    std::string error;
    auto fixed = startPlugin(settings, error, 44100, kMaxBlock);
    auto varied = startPlugin(settings, error, 44100, kMaxBlock);
    if (!fixed || !varied) return fail(error);
    const Stereo input =
        testSignal(static_cast<int>(settings.renderSeconds() * 44100), 44100, settings.seed);
    const Stereo expected = renderFixed(*fixed, input, 512);
    std::mt19937 random(settings.seed);
    int blocks = 0;
    const Stereo output = render(*varied, input, [&] {
        ++blocks;
        // Mostly small and odd sizes, now and then empty or the largest.
        switch (random() % 8) {
        case 0:
            return 0;
        case 1:
            return kMaxBlock;
        case 2:
            return 1;
        default:
            return static_cast<int>(random() % (kMaxBlock + 1) / (1 + random() % 64));
        }
    });
    int first = -1;
    const int differences = countDifferences(expected, output, &first);
    if (differences)
        return fail(std::to_string(differences) + " samples differ, the first at frame " +
                    std::to_string(first));
    return pass(std::to_string(blocks) + " blocks of 0 to 8192 frames");
}

Outcome rate(const Settings& settings, float sampleRate) {
    std::string error;
    auto plugin = startPlugin(settings, error, sampleRate, 1024);
    if (!plugin) return fail(error);
    const int frames = static_cast<int>(sampleRate / 2);
    const Stereo output = renderFixed(*plugin, testSignal(frames, sampleRate, settings.seed), 1024);
    const std::string problem = outOfBounds(output, settings.outputLimit);
    return problem.empty() ? pass() : fail(problem);
}

struct Extreme {
    const char* name;
    float (*sample)(int frame, int channel);
};

const Extreme kExtremes[] = {
    {"NaN", [](int, int) { return NAN; }},
    {"+infinity", [](int, int) { return INFINITY; }},
    {"-infinity", [](int, int) { return -INFINITY; }},
    {"NaN and infinities mixed into music",
     [](int i, int ch) {
         return i % 97 == 0   ? NAN
                : i % 89 == 0 ? (ch ? -INFINITY : INFINITY)
                              : 0.3f * std::sin(0.05f * i);
     }},
    {"subnormals", [](int i, int ch) { return ((i + ch) % 2 ? 1 : -1) * 1e-40f; }},
    {"+-1e30", [](int i, int) { return (i / 50) % 2 ? 1e30f : -1e30f; }},
    {"full-scale square", [](int i, int ch) { return ((i + 11 * ch) / 22) % 2 ? 1.0f : -1.0f; }},
    {"DC at full scale", [](int, int) { return 1.0f; }},
};

// The extreme for a quarter second, then silence, then music: bounded output throughout and the
// music as loud as through an instance that never saw the extreme.
Outcome extreme(const Settings& settings, const Extreme& kind) {
    std::string error;
    auto plugin = startPlugin(settings, error, 44100, 512);
    auto untouched = startPlugin(settings, error, 44100, 512);
    if (!plugin || !untouched) return fail(error);
    const int quarter = 11025;
    Stereo input(quarter);
    for (int i = 0; i < quarter; ++i)
        for (int ch = 0; ch < 2; ++ch)
            input.channel[ch][i] = kind.sample(i, ch);
    const Stereo during = renderFixed(*plugin, input, 512);
    std::string problem = outOfBounds(during, settings.outputLimit);
    if (!problem.empty()) return fail("during it: " + problem);
    Stereo after(2 * 44100);
    after.append(testSignal(22050, 44100, settings.seed));
    const Stereo recovered = renderFixed(*plugin, after, 512);
    problem = outOfBounds(recovered, settings.outputLimit);
    if (!problem.empty()) return fail("after it: " + problem);
    const Stereo reference = renderFixed(*untouched, after, 512);
    const double level = rms(recovered, 2 * 44100, recovered.frames());
    const double expected = rms(reference, 2 * 44100, reference.frames());
    // Within 1 dB: the effect works as before, whatever state it keeps.
    if (!(std::fabs(20 * std::log10((level + 1e-12) / (expected + 1e-12))) < 1.0))
        return fail("music afterwards at " + std::to_string(level) + " rms instead of " +
                    std::to_string(expected));
    return pass();
}

Outcome inPlace(const Settings& settings) {
    std::string error;
    auto separate = startPlugin(settings, error, 44100, 512);
    auto shared = startPlugin(settings, error, 44100, 512);
    if (!separate || !shared) return fail(error);
    const Stereo input = testSignal(44100, 44100, settings.seed);
    const Stereo expected = renderFixed(*separate, input, 512);
    const Stereo output = render(
        *shared, input, [] { return 512; }, true);
    int first = -1;
    const int differences = countDifferences(expected, output, &first);
    if (differences)
        return fail(std::to_string(differences) + " samples differ, the first at frame " +
                    std::to_string(first));
    return pass();
}

// Inputs read-only and every buffer against a guard page, on one side and then the other: any
// read or write outside the host's buffers, or a write into the inputs, faults.
Outcome guardPages(const Settings& settings) {
    std::string error;
    auto plugin = startPlugin(settings, error, 44100, kMaxBlock);
    if (!plugin) return fail(error);
    const Stereo signal = testSignal(kMaxBlock, 44100, settings.seed);
    for (Guarded::Edge edge : {Guarded::kGuardAfter, Guarded::kGuardBefore})
        for (int frames : {1, 2, 3, 31, 64, 333, 512, 4096, kMaxBlock}) {
            const size_t bytes = sizeof(float) * static_cast<size_t>(frames);
            Guarded in[2] = {Guarded(bytes, edge), Guarded(bytes, edge)};
            Guarded out[2] = {Guarded(bytes, edge), Guarded(bytes, edge)};
            for (int ch = 0; ch < 2; ++ch) {
                std::memcpy(in[ch].data(), signal.channel[ch].data(), bytes);
                in[ch].makeReadOnly();
            }
            float* inputs[2] = {in[0].floats(), in[1].floats()};
            float* outputs[2] = {out[0].floats(), out[1].floats()};
            for (int repeat = 0; repeat < 3; ++repeat)
                plugin->process(inputs, outputs, frames);
        }
    return pass("blocks of 1 to 8192 frames, guards before and after");
}

} // namespace

void processingGroup(Report& report, const Settings& settings) {
    report.run("processing", "random block sizes 0..8192 equal fixed blocks bit for bit",
               [&] { return blockSizes(settings); });
    for (float sampleRate : settings.sampleRates())
        report.run("processing",
                   "finite output at " + std::to_string(static_cast<int>(sampleRate)) + " Hz",
                   [&] { return rate(settings, sampleRate); });
    for (const Extreme& kind : kExtremes)
        report.run("processing",
                   std::string(kind.name) + " in: bounded output, then back to normal",
                   [&] { return extreme(settings, kind); });
    report.run("processing", "in-place processing equals separate buffers",
               [&] { return inPlace(settings); });
    report.run("processing", "nothing read or written outside the buffers",
               [&] { return guardPages(settings); });
}

} // namespace orvane::validate
