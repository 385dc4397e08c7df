// Command line of orvane-render.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A mistake on the command line: reported with a hint to --help, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One --param (index and normalised value) or --set (name and text), applied in the order given.
struct ParameterSetting {
    int index = -1; // -1: by name
    float value = 0.0f;
    std::string name, text;
};

struct RenderOptions {
    std::vector<std::string> inputs; // empty with --demo
    std::string output;              // the output file; empty with -o
    std::string outputDir;           // -o DIR: one output per input, named after it
    std::optional<double> demoSeconds;
    std::optional<int> program;
    std::vector<ParameterSetting> settings;
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
