// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/RenderOptions.h"

#include "tools/render/FactoryProgram.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kMaxBlock = 65536;
constexpr double kMaxDemoSeconds = 3600.0;
constexpr int kMaxJobs = 256;

double number(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != 0 || !std::isfinite(value))
        throw UsageError(option + " expects a number, not '" + text + "'");
    return value;
}

int integer(const std::string& option, const std::string& text) {
    const double value = number(option, text);
    if (value != std::floor(value) || std::fabs(value) > 1e9)
        throw UsageError(option + " expects a whole number, not '" + text + "'");
    return static_cast<int>(value);
}

std::pair<int, float> parameterSetting(const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        throw UsageError("--param expects INDEX=VALUE, not '" + text + "'");
    const int index = integer("--param", text.substr(0, equals));
    const double value = number("--param", text.substr(equals + 1));
    if (index < 0 || index > 127)
        throw UsageError("--param index " + std::to_string(index) + " is outside 0..127");
    if (value < 0.0 || value > 1.0)
        throw UsageError("--param value " + text.substr(equals + 1) +
                         " is outside 0..1 (values are normalised)");
    return {index, static_cast<float>(value)};
}

std::pair<std::string, std::string> namedSetting(const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("--set expects \"NAME=VALUE\", not '" + text + "'");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

} // namespace

RenderOptions parseRenderOptions(const std::vector<std::string>& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (optionsEnded) {
            positional.push_back(args[i]);
            continue;
        }
        if (args[i] == "--") {
            optionsEnded = true;
            continue;
        }
        std::string option = args[i];
        std::optional<std::string> attached;
        if (option.rfind("--", 0) == 0 && option.find('=') != std::string::npos) {
            attached = option.substr(option.find('=') + 1);
            option = option.substr(0, option.find('='));
        }
        const auto value = [&]() -> std::string {
            if (attached) return *attached;
            if (i + 1 >= args.size()) throw UsageError(option + " needs a value");
            return args[++i];
        };
        if (option == "-h" || option == "--help") {
            options.help = true;
        } else if (option == "--version") {
            options.version = true;
        } else if (option == "--list-params") {
            options.listParams = true;
        } else if (option == "--demo") {
            const double seconds = number(option, value());
            if (!(seconds > 0.0 && seconds <= kMaxDemoSeconds))
                throw UsageError("--demo takes more than 0 and at most 3600 seconds");
            options.demoSeconds = seconds;
        } else if (option == "--program") {
            const std::string text = value();
            options.program = factoryProgramFromArgument(text);
            if (!options.program)
                throw UsageError("--program '" + text +
                                 "' is neither 0..7 nor the name of a factory program");
        } else if (option == "--param") {
            options.params.push_back(parameterSetting(value()));
        } else if (option == "--set") {
            options.settings.push_back(namedSetting(value()));
        } else if (option == "--block") {
            options.block = integer(option, value());
            if (options.block < 1 || options.block > kMaxBlock)
                throw UsageError("--block takes 1 to 65536 frames");
        } else if (option == "-j" || option == "--jobs") {
            options.jobs = integer(option, value());
            if (options.jobs < 1 || options.jobs > kMaxJobs)
                throw UsageError("--jobs takes 1 to 256 files at once");
        } else if (option == "-o" || option == "--output-dir") {
            options.outputDir = value();
            if (options.outputDir.empty()) throw UsageError(option + " needs a folder");
        } else if (option == "--format") {
            options.format = value();
        } else if (option == "--plugin") {
            options.plugin = value();
        } else if (option.size() > 1 && option[0] == '-') {
            throw UsageError("unknown option " + option);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (options.help || options.version || options.listParams) return options;
    if (options.demoSeconds) {
        if (positional.size() != 1 || !options.outputDir.empty())
            throw UsageError("--demo takes one OUTPUT file and no input");
        options.output = positional[0];
    } else if (!options.outputDir.empty()) {
        if (positional.empty()) throw UsageError("-o DIR expects one or more INPUT files");
        options.batchInputs = positional;
    } else {
        if (positional.size() != 2)
            throw UsageError("expected an INPUT and an OUTPUT file, or -o DIR and INPUT files");
        options.input = positional[0];
        options.output = positional[1];
    }
    return options;
}

const char* renderUsage() {
    return "Usage: orvane-render [OPTIONS] INPUT OUTPUT\n"
           "  or:  orvane-render [OPTIONS] -o DIR INPUT...\n"
           "  or:  orvane-render [OPTIONS] --demo SECONDS OUTPUT\n"
           "  or:  orvane-render [OPTIONS] --list-params\n"
           "Render audio files through the Orvane stereo finishing effect, hosted as a DAW\n"
           "hosts it. Reads and writes WAV, AIFF and FLAC; mono input feeds both inputs and\n"
           "the output is stereo. An output appears only when complete and never replaces\n"
           "its input.\n"
           "\n"
           "Options:\n"
           "  --set \"NAME=VALUE\"    set a parameter as its readout shows it, e.g.\n"
           "                        \"Main Volume=+3\", \"Air Frequency=35\" (kHz),\n"
           "                        \"Mono Type=L + R\", \"Bypass=Off\" (repeatable, applied\n"
           "                        in order: set Mono Split Range before the split\n"
           "                        frequency, which is read within it)\n"
           "  --param INDEX=VALUE   set parameter INDEX to a normalised value 0..1\n"
           "                        (repeatable; applied after --program, before --set)\n"
           "  --program N|NAME      factory program 0..7 or its name (\"Only Air\")\n"
           "  --list-params         list every sound parameter: name, range, current value\n"
           "                        (after --program and --set) and exit\n"
           "  -o, --output-dir DIR  write one output per INPUT into DIR, named after it\n"
           "                        (created when missing)\n"
           "  -j, --jobs N          render N files at once (default: one per processor)\n"
           "  --format FORMAT       output format: wav, aiff or flac and/or 16, 24, 32 or\n"
           "                        float, e.g. flac-24 or float (default: the container\n"
           "                        the OUTPUT's extension names, else the input's, and\n"
           "                        the input's encoding; demo: wav-24); a container\n"
           "                        other than the extension's is an error\n"
           "  --block N             frames per processing call (default 512)\n"
           "  --demo SECONDS        render a built-in test signal at 44100 Hz instead of a\n"
           "                        file\n"
           "  --plugin PATH         the Orvane.so to load (default: beside this tool, else\n"
           "                        the installed one: ../lib/vst, $VST_PATH, ~/.vst)\n"
           "  -h, --help            show this help and exit\n"
           "  --version             show the plug-in's version and exit\n"
           "  --                    end of the options: what follows are files, even when\n"
           "                        they begin with -\n"
           "\n"
           "An interrupt (Ctrl-C, a hang-up, a termination, or a pipe that reads the report\n"
           "closing) stops every render still running: its partial file is removed and its\n"
           "output left as it was. A second Ctrl-C stops at once.\n"
           "\n"
           "Exit status:\n"
           "  0  every output was written\n"
           "  1  a render failed (unreadable input, unwritable output, interrupted); other\n"
           "     files of a batch are still rendered\n"
           "  2  usage error: an unknown option, parameter name or value, an output\n"
           "     format the input cannot take, or a --format other than the extension's\n";
}
