// orvane-render: renders audio through the built Orvane.so, hosted as a DAW hosts it.
#include "tools/render/DemoSignal.h"
#include "tools/render/FactoryProgram.h"
#include "tools/render/ModulePath.h"
#include "tools/render/Progress.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/SoundFiles.h"
#include "tools/testhost/TestHost.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<bool> interrupted{false};

void onSignal(int) {
    interrupted = true;
}

// Where the frames come from: a file (mono or stereo) or the demo signal (stereo).
class Source {
public:
    explicit Source(const RenderOptions& options) {
        if (options.demoSeconds) {
            demo = std::make_unique<DemoSignal>(*options.demoSeconds);
            return;
        }
        file = std::make_unique<InputFile>(options.input);
    }
    int sampleRate() const { return file ? file->info().samplerate : DemoSignal::kSampleRate; }
    int channels() const { return file ? file->info().channels : 2; }
    long totalFrames() const { return file ? file->info().frames : demo->totalFrames(); }
    int format() const { return file ? file->info().format : kDemoFormat; }
    long read(float* interleaved, long frames) {
        return file ? file->read(interleaved, frames) : demo->read(interleaved, frames);
    }

private:
    std::unique_ptr<InputFile> file;
    std::unique_ptr<DemoSignal> demo;
};

std::unique_ptr<orvane::testhost::Plugin> loadEffect(const RenderOptions& options, int rate) {
    const std::string path =
        options.plugin.empty() ? defaultModulePath() : options.plugin;
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(path, {}, &error);
    if (!plugin) throw RenderError("cannot load " + path + ": " + error);
    plugin->start(static_cast<float>(rate), options.block);
    if (options.program && !selectFactoryProgram(*plugin, *options.program))
        throw RenderError("the plug-in did not load program " +
                          factoryProgramName(*options.program));
    for (const auto& [index, value] : options.params)
        plugin->setParameter(index, value);
    return plugin;
}

std::string decibels(float peak) {
    if (peak <= 0.0f) return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(peak));
    return text;
}

int render(const RenderOptions& options) {
    Source source(options);
    const int rate = source.sampleRate();
    const int format = outputFormat(source.format(), options.format, rate);
    if (!options.input.empty() &&
        (options.input == options.output || sameFile(options.input, options.output)))
        throw UsageError("the output would overwrite the input " + options.input);

    auto plugin = loadEffect(options, rate);
    PendingOutput output(options.output, format, rate, 2);

    const int block = options.block;
    const int channels = source.channels();
    std::vector<float> in(static_cast<size_t>(block) * channels), out(2 * block);
    std::vector<float> inLeft(block), inRight(block), outLeft(block), outRight(block);
    float* inputs[2] = {inLeft.data(), inRight.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};

    Progress progress(source.totalFrames(), rate, isatty(STDERR_FILENO));
    long done = 0;
    float peak = 0.0f;
    for (long got; (got = source.read(in.data(), block)) > 0;) {
        if (interrupted) throw RenderError("interrupted; " + options.output + " left as it was");
        for (long i = 0; i < got; ++i) {
            inLeft[i] = in[i * channels];
            inRight[i] = in[i * channels + channels - 1];
        }
        plugin->process(inputs, outputs, static_cast<int>(got));
        for (long i = 0; i < got; ++i) {
            out[2 * i] = outLeft[i];
            out[2 * i + 1] = outRight[i];
            peak = std::max(peak, std::max(std::fabs(outLeft[i]), std::fabs(outRight[i])));
        }
        output.write(out.data(), got);
        done += got;
        progress.update(done);
    }
    output.commit();
    progress.finish();

    const double seconds = progress.elapsedSeconds();
    const double speed = seconds > 0.0 ? done / static_cast<double>(rate) / seconds : 0.0;
    std::printf("%ld frames at %d Hz (%.1f s) in %.2f s, %.0fx real time, output peak %s -> %s\n",
                done, rate, done / static_cast<double>(rate), seconds, speed,
                decibels(peak).c_str(), options.output.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    try {
        options = parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(renderUsage(), stdout);
            return 0;
        }
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        return render(options);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "orvane-render: %s (see orvane-render --help)\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvane-render: error: %s\n", error.what());
        return 1;
    }
}
