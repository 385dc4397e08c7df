// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-render's command line, one argument per NUL-separated piece of the input: either a usage
// error or options within their documented ranges.
#include "tests/fuzz/FuzzCheck.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/SoundFiles.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size && args.size() <= 16; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    RenderOptions options;
    try {
        options = parseRenderOptions(args);
    } catch (const UsageError&) {
        return 0;
    }
    if (options.help) return 0;
    FUZZ_CHECK(options.block >= 1 && options.block <= 65536);
    FUZZ_CHECK(!options.demoSeconds || (*options.demoSeconds > 0 && *options.demoSeconds <= 3600));
    FUZZ_CHECK(!options.program || (*options.program >= 0 && *options.program < 8));
    FUZZ_CHECK(!options.demoSeconds || options.input.empty());
    for (const auto& [index, value] : options.params)
        FUZZ_CHECK(index >= 0 && index < 128 && value >= 0.0f && value <= 1.0f);
    try {
        const int format =
            outputFormat(SF_FORMAT_WAV | SF_FORMAT_PCM_16, options.format, options.output, 44100);
        FUZZ_CHECK(format != 0);
    } catch (const UsageError&) {
    }
    return 0;
}
