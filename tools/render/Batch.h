// SPDX-License-Identifier: GPL-3.0-or-later
// Every render the command line asks for, several files at once on the machine's processors,
// each with its own instance of the effect.
#pragma once

#include "tools/render/RenderJob.h"
#include "tools/render/RenderOptions.h"

#include <atomic>
#include <exception>
#include <string>
#include <vector>

// A usage error exits 2 with a hint to --help, any other failure 1; each is one line.
int exitStatusOf(const std::exception& error);
std::string errorLine(const std::exception& error);

// The input and output of each render. With -o DIR an output takes its input's file name (the
// extension follows a container named by --format) and DIR is created when missing. Throws
// UsageError when two inputs would share an output or an output would replace its input.
std::vector<RenderJob> planJobs(const RenderOptions& options);

// Renders the jobs, reporting each on its own line as it ends, and returns the exit status:
// 0 when every output was written, 2 when a job met a usage error, else 1 if any failed.
int renderAll(const RenderOptions& options, const std::vector<RenderJob>& jobs,
              const std::atomic<bool>& stop);
