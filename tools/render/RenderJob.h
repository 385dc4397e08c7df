// SPDX-License-Identifier: GPL-3.0-or-later
// One render: an input file (or the demo signal) through a fresh instance of the effect into
// one output file. Reading, processing and writing run on three threads at once, so the file
// work hides behind the audio path.
#pragma once

#include "tools/render/RenderOptions.h"
#include "tools/testhost/TestHost.h"

#include <atomic>
#include <memory>
#include <string>

struct RenderJob {
    std::string input; // empty: the demo signal
    std::string output;
};

struct RenderResult {
    long frames = 0;
    int rate = 0;
    float peak = 0.0f;
    double seconds = 0.0;
};

// The effect loaded and started at the rate, with --program and every setting applied.
std::unique_ptr<orvane::testhost::Plugin> loadEffect(const RenderOptions& options, int rate);

// Adds the frames written to framesDone as it goes; gives up, leaving the output as it was,
// once stop is set. Throws RenderError, or UsageError for an output the input cannot have.
RenderResult renderJob(const RenderOptions& options, const RenderJob& job,
                       std::atomic<long>& framesDone, const std::atomic<bool>& stop);
