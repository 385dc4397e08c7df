// SPDX-License-Identifier: GPL-3.0-or-later
// State chunks as each chunk-saving host family hands them back: any bytes, bank or program, any
// size. A chunk must be refused or applied safely at any rate, and what the effect then saves
// must restore to itself exactly.
#include "tests/fuzz/FuzzEffect.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static fuzz::Effect families[4] = {fuzz::Effect(), fuzz::Effect({"Fuzz", "MASCHINE HOST"}),
                                       fuzz::Effect({"Fuzz", "HK-Vantro"}),
                                       fuzz::Effect({"Fuzz", "Kore 2"})};
    fuzz::Effect& effect = families[data[0] >> 6];
    const bool isPreset = data[0] & 1;
    // Restored values meet the filters at any rate a host may run.
    static const float rates[8] = {44100, 8000, 11025, 22050, 48000, 96000, 192000, 768000};
    effect.dispatch(effSetSampleRate, 0, 0, nullptr, rates[(data[0] >> 1) & 7]);
    // The host's buffer holds exactly the bytes it claims.
    std::vector<std::uint8_t> chunk(data + 1, data + size);
    effect.dispatch(effSetChunk, isPreset, static_cast<VstIntPtr>(chunk.size()), chunk.data());
    effect.checkParameters();
    effect.checkProcessing();

    void* saved = nullptr;
    const VstIntPtr length = effect.dispatch(effGetChunk, isPreset, 0, &saved);
    FUZZ_CHECK(length == 0 || (length == 544 && saved != nullptr));
    if (length == 0) return 0;
    const std::vector<std::uint8_t> first(static_cast<std::uint8_t*>(saved),
                                          static_cast<std::uint8_t*>(saved) + length);
    FUZZ_CHECK(effect.dispatch(effSetChunk, isPreset, length, saved) == 1);
    FUZZ_CHECK(effect.dispatch(effGetChunk, isPreset, 0, &saved) == length);
    FUZZ_CHECK(std::memcmp(saved, first.data(), first.size()) == 0);
    return 0;
}
