// SPDX-License-Identifier: GPL-3.0-or-later
// ECS files: a file is accepted only as 128 bindings in 0..127, read the same from disk as from
// memory, and written back it reads as the same bindings.
#include "engine/EcsFile.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    int parsed[kEcsEntries];
    std::fill(std::begin(parsed), std::end(parsed), -1);
    const bool accepted = parseEcs(text, size, parsed);

    static const std::string path = fuzzScratch() + "/fuzz.ecs";
    writeWhole(path, data, size);
    int read[kEcsEntries];
    FUZZ_CHECK(readEcsFile(path.c_str(), read) == accepted);
    if (!accepted) {
        FUZZ_CHECK(std::count(std::begin(parsed), std::end(parsed), -1) == kEcsEntries);
        return 0;
    }
    for (int i = 0; i < kEcsEntries; ++i)
        FUZZ_CHECK(parsed[i] >= 0 && parsed[i] < 128 && read[i] == parsed[i]);
    const std::string written = formatEcs(parsed);
    int again[kEcsEntries];
    FUZZ_CHECK(parseEcs(written.data(), written.size(), again));
    FUZZ_CHECK(std::equal(std::begin(again), std::end(again), std::begin(parsed)));
    return 0;
}
