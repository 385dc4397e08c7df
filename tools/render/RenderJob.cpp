// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/RenderJob.h"

#include "tools/render/BlockQueue.h"
#include "tools/render/DemoSignal.h"
#include "tools/render/FactoryProgram.h"
#include "tools/render/ModulePath.h"
#include "tools/render/NamedParameters.h"
#include "tools/render/SoundFiles.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Frames handed between the threads at once: large enough that handing over costs nothing
// next to the work, a whole number of processing blocks so the effect sees the same calls.
constexpr long kChunkFrames = 32768;
// Enough that reading can run well ahead and writing lag behind when other work on the
// machine holds a stage up for a while, without stalling the effect.
constexpr size_t kChunks = 16;
constexpr size_t kFileBatch = 4;
// Fewer blocks could leave every stage waiting for a batch that cannot fill.
static_assert(kChunks > 2 * (kFileBatch - 1));

RenderError interrupted(const std::string& destination) {
    return RenderError("interrupted; " + destination + " left as it was");
}

// Where the frames come from: a file (mono or stereo) or the demo signal (stereo).
class Source {
public:
    explicit Source(const RenderOptions& options, const std::string& input) {
        if (input.empty())
            demo = std::make_unique<DemoSignal>(*options.demoSeconds);
        else
            file = std::make_unique<InputFile>(input);
    }
    int sampleRate() const { return file ? file->info().samplerate : DemoSignal::kSampleRate; }
    int channels() const { return file ? file->info().channels : 2; }
    int format() const { return file ? file->info().format : kDemoFormat; }
    long read(float* interleaved, long frames) {
        return file ? file->read(interleaved, frames) : demo->read(interleaved, frames);
    }

private:
    std::unique_ptr<InputFile> file;
    std::unique_ptr<DemoSignal> demo;
};

// The largest magnitude among the samples, as the bits of a float. For numbers the larger
// magnitude has the larger bit pattern once the sign is cleared, and a maximum over integers
// vectorises where one over floats does not.
std::uint32_t magnitudeBits(const float* samples, long count) {
    std::uint32_t largest = 0;
    for (long i = 0; i < count; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &samples[i], sizeof bits);
        largest = std::max(largest, bits & 0x7fffffffu);
    }
    return largest;
}

struct Chunk {
    explicit Chunk(long frames)
        : interleaved(2 * frames), inLeft(frames), inRight(frames), outLeft(frames),
          outRight(frames) {}
    std::vector<float> interleaved; // as read, mono or stereo
    std::vector<float> inLeft, inRight, outLeft, outRight;
    long frames = 0;
};

// The three stages and the queues between them: free chunks go to the reader, read ones to
// the effect, processed ones to the writer and back to the reader.
class Pipeline {
public:
    Pipeline(Source& from, orvane::testhost::Plugin& effect, PendingOutput& to, int block,
             std::atomic<long>& framesDone, const std::atomic<bool>& stop,
             const std::string& outputName)
        : source(from), plugin(effect), output(to), blockFrames(block), done(framesDone),
          stopped(stop), destination(outputName),
          chunkFrames(std::max(1L, kChunkFrames / block) * block) {
        for (size_t i = 0; i < kChunks; ++i)
            chunks.emplace_back(chunkFrames);
    }

    // The frames written and their peak.
    std::pair<long, float> run() {
        for (Chunk& chunk : chunks)
            unused.push(&chunk);
        std::thread reader([this] { guarded([this] { readAll(); }, read); });
        std::thread writer([this] { guarded([this] { writeAll(); }, unused); });
        processAll();
        reader.join();
        writer.join();
        if (failure) std::rethrow_exception(failure);
        float peak;
        std::memcpy(&peak, &peakBits, sizeof peak);
        return {written, peak};
    }

private:
    // A stage that fails stops every stage; the first failure is the one reported.
    template <typename Stage> void guarded(Stage stage, BlockQueue<Chunk*>& next) {
        try {
            stage();
            next.close();
        } catch (...) {
            {
                std::lock_guard<std::mutex> lock(failureMutex);
                if (!failure) failure = std::current_exception();
            }
            unused.abandon();
            read.abandon();
            processed.abandon();
        }
    }

    void readAll() {
        const int channels = source.channels();
        for (Chunk* chunk; unused.pop(chunk);) {
            if (stopped) throw interrupted(destination);
            chunk->frames = source.read(chunk->interleaved.data(), chunkFrames);
            if (chunk->frames == 0) return;
            const float* in = chunk->interleaved.data();
            for (long i = 0; i < chunk->frames; ++i) {
                chunk->inLeft[i] = in[i * channels];
                chunk->inRight[i] = in[i * channels + channels - 1];
            }
            read.push(chunk);
        }
    }

    void processAll() {
        for (Chunk* chunk; read.pop(chunk);) {
            for (long start = 0; start < chunk->frames; start += blockFrames) {
                float* inputs[2] = {chunk->inLeft.data() + start, chunk->inRight.data() + start};
                float* outputs[2] = {chunk->outLeft.data() + start, chunk->outRight.data() + start};
                plugin.process(
                    inputs, outputs,
                    static_cast<int>(std::min<long>(blockFrames, chunk->frames - start)));
            }
            processed.push(chunk);
        }
        processed.close();
    }

    void writeAll() {
        for (Chunk* chunk; processed.pop(chunk);) {
            peakBits = std::max({peakBits, magnitudeBits(chunk->outLeft.data(), chunk->frames),
                                 magnitudeBits(chunk->outRight.data(), chunk->frames)});
            output.write(chunk->outLeft.data(), chunk->outRight.data(), chunk->frames);
            done += chunk->frames;
            written += chunk->frames;
            unused.push(chunk);
        }
    }

    Source& source;
    orvane::testhost::Plugin& plugin;
    PendingOutput& output;
    const int blockFrames;
    std::atomic<long>& done;
    const std::atomic<bool>& stopped;
    const std::string& destination;
    const long chunkFrames;
    std::vector<Chunk> chunks;
    // The effect's thread takes each block as it comes; the file threads in batches.
    BlockQueue<Chunk*> unused{kChunks, kFileBatch}, read{kChunks, 1},
        processed{kChunks, kFileBatch};
    std::uint32_t peakBits = 0; // the writer's
    long written = 0;           // the writer's
    std::mutex failureMutex;
    std::exception_ptr failure;
};

} // namespace

std::unique_ptr<orvane::testhost::Plugin> loadEffect(const RenderOptions& options, int rate) {
    const std::string path = options.plugin.empty() ? defaultModulePath() : options.plugin;
    std::string error;
    auto plugin = orvane::testhost::Plugin::load(path, {}, &error);
    if (!plugin) throw RenderError("cannot load " + path + ": " + error);
    plugin->start(static_cast<float>(rate), options.block);
    if (options.program && !selectFactoryProgram(*plugin, *options.program))
        throw RenderError("the plug-in did not load program " +
                          factoryProgramName(*options.program));
    for (const auto& [index, value] : options.params)
        plugin->setParameter(index, value);
    for (const auto& [name, value] : options.settings)
        applySetting(*plugin, name, value);
    return plugin;
}

RenderResult renderJob(const RenderOptions& options, const RenderJob& job,
                       std::atomic<long>& framesDone, const std::atomic<bool>& stop) {
    const auto start = std::chrono::steady_clock::now();
    Source source(options, job.input);
    const int rate = source.sampleRate();
    const int format = outputFormat(source.format(), options.format, job.output, rate);
    if (!job.input.empty() && (job.input == job.output || sameFile(job.input, job.output)))
        throw UsageError("the output would overwrite the input " + job.input);

    auto plugin = loadEffect(options, rate);
    PendingOutput output(job.output, format, rate);
    RenderResult result;
    Pipeline pipeline(source, *plugin, output, options.block, framesDone, stop, job.output);
    std::tie(result.frames, result.peak) = pipeline.run();
    if (!output.commit(stop)) throw interrupted(job.output);
    result.rate = rate;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}
