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
    std::string input; // empty with --demo
    std::string output;
    std::optional<double> demoSeconds;
    std::optional<int> program;
    std::vector<std::pair<int, float>> params;
    int block = 512;
    std::string format; // as given to --format; empty keeps the input's
    std::string plugin; // empty: the module this build produced
    bool help = false;
};

RenderOptions parseRenderOptions(const std::vector<std::string>& args);
const char* renderUsage();
