// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/Batch.h"

#include "tools/render/DemoSignal.h"
#include "tools/render/Progress.h"
#include "tools/render/SoundFiles.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

bool isUsageError(const std::exception& error) {
    return dynamic_cast<const UsageError*>(&error) != nullptr;
}

std::string decibels(float peak) {
    if (peak <= 0.0f) return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(peak));
    return text;
}

long framesOf(const RenderOptions& options, const RenderJob& job) {
    if (job.input.empty()) return DemoSignal(*options.demoSeconds).totalFrames();
    try {
        return InputFile(job.input).info().frames;
    } catch (const std::exception&) {
        return 0; // reported when its render fails
    }
}

// Shared by the workers: the next job to take, the outcome so far and the terminal.
struct Board {
    std::mutex mutex;
    std::condition_variable changed;
    size_t next = 0, finished = 0, rendered = 0;
    int status = kOk;
};

} // namespace

int exitStatusOf(const std::exception& error) {
    return isUsageError(error) ? kUsage : kFailed;
}

std::string errorLine(const std::exception& error) {
    return isUsageError(error)
               ? std::string("orvane-render: ") + error.what() + " (see orvane-render --help)\n"
               : std::string("orvane-render: error: ") + error.what() + "\n";
}

std::vector<RenderJob> planJobs(const RenderOptions& options) {
    if (options.outputDir.empty()) return {{options.input, options.output}};
    const std::string container = containerNamed(options.format);
    std::vector<RenderJob> jobs;
    std::set<fs::path> outputs;
    for (const std::string& input : options.batchInputs) {
        fs::path name = fs::path(input).filename();
        if (!container.empty()) name.replace_extension(container);
        const fs::path output = fs::path(options.outputDir) / name;
        if (!outputs.insert(fs::weakly_canonical(output)).second)
            throw UsageError("two inputs would both be written to " + output.string());
        if (sameFile(input, output))
            throw UsageError("the output would overwrite the input " + input);
        jobs.push_back({input, output.string()});
    }
    std::error_code error;
    fs::create_directories(options.outputDir, error);
    if (!fs::is_directory(options.outputDir))
        throw RenderError("cannot make the folder " + options.outputDir +
                          (error ? ": " + error.message() : ""));
    return jobs;
}

int renderAll(const RenderOptions& options, const std::vector<RenderJob>& jobs,
              const std::atomic<bool>& stop) {
    long totalFrames = 0;
    for (const RenderJob& job : jobs)
        totalFrames += framesOf(options, job);
    Progress progress(totalFrames, jobs.size(), isatty(STDERR_FILENO));
    std::atomic<long> framesDone{0};
    Board board;

    const auto report = [&](int status, const std::string& line) {
        std::lock_guard<std::mutex> lock(board.mutex);
        progress.clear();
        std::fputs(line.c_str(), status == kOk ? stdout : stderr);
        std::fflush(status == kOk ? stdout : stderr);
        board.status = std::max(board.status, status);
        ++board.finished;
        if (status == kOk) ++board.rendered;
        board.changed.notify_all();
    };
    const auto work = [&] {
        for (;;) {
            size_t taken;
            {
                std::lock_guard<std::mutex> lock(board.mutex);
                if (board.next == jobs.size() || stop) return;
                taken = board.next++;
            }
            const RenderJob& job = jobs[taken];
            try {
                const RenderResult r = renderJob(options, job, framesDone, stop);
                char line[256];
                std::snprintf(line, sizeof line,
                              "%ld frames at %d Hz (%.1f s) in %.2f s, %.0fx real time, "
                              "output peak %s -> ",
                              r.frames, r.rate, r.frames / static_cast<double>(r.rate), r.seconds,
                              r.seconds > 0.0 ? r.frames / static_cast<double>(r.rate) / r.seconds
                                              : 0.0,
                              decibels(r.peak).c_str());
                report(kOk, line + job.output + "\n");
            } catch (const std::exception& error) {
                report(exitStatusOf(error), errorLine(error));
            }
        }
    };

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers =
        std::min(jobs.size(), static_cast<size_t>(options.jobs > 0 ? options.jobs : cores));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < workers; ++i)
        threads.emplace_back(work);
    {
        std::unique_lock<std::mutex> lock(board.mutex);
        while (board.finished < jobs.size() && !(stop && board.finished == board.next)) {
            board.changed.wait_for(lock, kProgressInterval);
            progress.update(framesDone, board.finished);
        }
        progress.clear();
    }
    for (std::thread& thread : threads)
        thread.join();
    if (!stop) return board.status;
    // Said unless every render already reported its own failure: an interruption that came
    // after the last output was written still must not pass for success.
    if (board.finished < jobs.size() || board.status == kOk)
        std::fprintf(stderr, "orvane-render: error: interrupted; %zu of %zu files rendered\n",
                     board.rendered, jobs.size());
    return std::max(board.status, static_cast<int>(kFailed));
}
