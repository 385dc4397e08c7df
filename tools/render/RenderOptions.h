// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of orvane-render.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A mistake on the command line: reported with a hint to --help, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct RenderOptions {
    std::string input;                    // a single render's; empty with --demo and with -o
    std::string output;                   // the output file; empty with -o
    std::string outputDir;                // -o DIR: one output per input, named after it
    std::vector<std::string> batchInputs; // with -o
    std::optional<double> demoSeconds;
    std::optional<int> program;
    // Applied in this order: --program, every --param, every --set.
    std::vector<std::pair<int, float>> params;                 // index, normalised value
    std::vector<std::pair<std::string, std::string>> settings; // name, text
    int block = 512;
    int jobs = 0;       // files rendered at once; 0: one per core
    std::string format; // as given to --format; empty keeps the input's
    std::string plugin; // empty: the module this build produced
    bool help = false;
    bool version = false;
    bool listParams = false;
};

RenderOptions parseRenderOptions(const std::vector<std::string>& args);
const char* renderUsage();
