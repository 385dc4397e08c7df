// SPDX-License-Identifier: GPL-3.0-or-later
// Input files of orvane-render: opened, checked and read to their end exactly as the renderer
// does; a file it cannot use is a RenderError, never a crash.
#include "tests/fuzz/FuzzCheck.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/SoundFiles.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzzScratch() + "/input";
    writeWhole(path, data, size);
    try {
        InputFile input(path);
        const int channels = input.info().channels;
        FUZZ_CHECK(channels == 1 || channels == 2);
        try {
            outputFormat(input.info().format, "", path, input.info().samplerate);
        } catch (const UsageError&) {
        }
        constexpr long kBlock = 512;
        std::vector<float> samples(kBlock * channels);
        // A few bytes of a compressed file may stand for hours of silence; a few seconds do.
        for (long total = 0, got; total < (1 << 18) && (got = input.read(samples.data(), kBlock));
             total += got)
            FUZZ_CHECK(got > 0 && got <= kBlock);
    } catch (const RenderError&) {
    }
    return 0;
}
