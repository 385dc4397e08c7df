#include "tools/render/RenderOptions.h"

#include "tools/render/FactoryProgram.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kMaxBlock = 65536;
constexpr double kMaxDemoSeconds = 3600.0;

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

} // namespace

RenderOptions parseRenderOptions(const std::vector<std::string>& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
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
        } else if (option == "--block") {
            options.block = integer(option, value());
            if (options.block < 1 || options.block > kMaxBlock)
                throw UsageError("--block takes 1 to 65536 frames");
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
    if (options.help) return options;
    const size_t wanted = options.demoSeconds ? 1 : 2;
    if (positional.size() != wanted)
        throw UsageError(options.demoSeconds ? "--demo takes an OUTPUT file and no input"
                                             : "expected an INPUT and an OUTPUT file");
    if (!options.demoSeconds) options.input = positional[0];
    options.output = positional.back();
    return options;
}

const char* renderUsage() {
    return "Usage: orvane-render [OPTIONS] INPUT OUTPUT\n"
           "       orvane-render --demo SECONDS [OPTIONS] OUTPUT\n"
           "Renders an audio file through the Orvane plug-in (WAV, AIFF or FLAC).\n"
           "\n"
           "  --program N|NAME    factory program 0..7 or its name (\"Only Air\")\n"
           "  --param INDEX=VALUE set a parameter to a normalised value 0..1 (repeatable;\n"
           "                      applied after --program)\n"
           "  --block N           frames per processing call (default 512)\n"
           "  --format FORMAT     output format: wav, aiff or flac and/or 16, 24, 32 or float,\n"
           "                      e.g. flac-24 or float (default: as the input; demo: wav-24)\n"
           "  --demo SECONDS      render a built-in test signal at 44100 Hz instead of a file\n"
           "  --plugin PATH       the Orvane.so to load (default: beside this tool, else the\n"
           "                      installed one: ../lib/vst, $VST_PATH, ~/.vst)\n"
           "  -h, --help          show this help\n"
           "\n"
           "Mono input feeds both inputs; the output is stereo. Exit status: 0 on success,\n"
           "1 when the render fails, 2 on a usage error.\n";
}
