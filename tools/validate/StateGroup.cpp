// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and restoring: chunks and parameters round trip exactly, fresh instances agree, and
// chunks that are cut short, too long or random are refused or applied safely.
#include "tools/validate/Audio.h"
#include "tools/validate/Groups.h"
#include "tools/validate/Guarded.h"

#include <cmath>
#include <cstring>
#include <malloc.h>
#include <random>

namespace orvane::validate {

namespace {

using Bytes = std::vector<unsigned char>;

enum ChunkKind { kBank = 0, kProgram = 1 };

const char* kindName(ChunkKind kind) {
    return kind == kBank ? "bank" : "program";
}

Bytes chunkOf(testhost::Plugin& plugin, ChunkKind kind) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, kind, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return Bytes(bytes, bytes + size);
}

// Hands the chunk over in memory that ends where the chunk ends.
VstIntPtr setChunk(testhost::Plugin& plugin, ChunkKind kind, const Bytes& chunk) {
    Guarded copy(chunk.size());
    if (!chunk.empty()) std::memcpy(copy.data(), chunk.data(), chunk.size());
    return plugin.dispatch(effSetChunk, kind, static_cast<VstIntPtr>(chunk.size()), copy.data());
}

std::vector<float> parametersOf(testhost::Plugin& plugin) {
    std::vector<float> values(static_cast<size_t>(plugin.effect()->numParams));
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = plugin.getParameter(static_cast<int>(i));
    return values;
}

// A user's edits: every parameter moved, the last index first, as no host restores them.
void edit(testhost::Plugin& plugin, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int index = plugin.effect()->numParams - 1; index >= 0; --index)
        plugin.setParameter(index, value(random));
}

std::string firstDifference(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size())
        return std::to_string(a.size()) + " bytes, then " + std::to_string(b.size());
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return "byte " + std::to_string(i) + " differs";
    return {};
}

bool servesChunks(const Settings& settings) {
    std::string error;
    auto plugin = loadPlugin(settings, error);
    return plugin && (plugin->effect()->flags & effFlagsProgramChunks);
}

// Uninitialised memory in a fresh instance shows as a difference: each instance's heap is
// filled with a different byte.
Outcome freshInstancesAgree(const Settings& settings, bool chunks) {
    std::string error;
    mallopt(M_PERTURB, 0x5A);
    auto first = startPlugin(settings, error);
    mallopt(M_PERTURB, 0xC3);
    auto second = startPlugin(settings, error);
    mallopt(M_PERTURB, 0);
    if (!first || !second) return fail(error);
    if (!chunks) {
        const auto a = parametersOf(*first);
        const auto b = parametersOf(*second);
        for (size_t i = 0; i < a.size(); ++i)
            if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
                return fail("parameter " + std::to_string(i) + " differs");
        return pass();
    }
    for (ChunkKind kind : {kBank, kProgram}) {
        const std::string difference =
            firstDifference(chunkOf(*first, kind), chunkOf(*second, kind));
        if (!difference.empty()) return fail(std::string(kindName(kind)) + " chunk: " + difference);
    }
    return pass();
}

Outcome chunkRoundTrip(const Settings& settings, ChunkKind kind) {
    std::string error;
    auto saved = startPlugin(settings, error);
    if (!saved) return fail(error);
    edit(*saved, settings.seed);
    const Bytes chunk = chunkOf(*saved, kind);
    if (chunk.empty()) return skip(std::string("no ") + kindName(kind) + " chunk served");
    const std::string twice = firstDifference(chunk, chunkOf(*saved, kind));
    if (!twice.empty()) return fail("the same state saved twice: " + twice);
    auto restored = startPlugin(settings, error);
    if (!restored) return fail(error);
    setChunk(*restored, kind, chunk);
    const std::string difference = firstDifference(chunk, chunkOf(*restored, kind));
    if (!difference.empty()) return fail("restored into a fresh instance: " + difference);
    const auto a = parametersOf(*saved);
    const auto b = parametersOf(*restored);
    for (size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
            return fail("parameter " + std::to_string(i) + " reads " + std::to_string(b[i]) +
                        " after the restore, " + std::to_string(a[i]) + " before the save");
    return pass(std::to_string(chunk.size()) + " bytes");
}

// What a host without chunks does: read every parameter, later write them back in order.
Outcome parameterRoundTrip(const Settings& settings) {
    std::string error;
    auto saved = startPlugin(settings, error);
    auto restored = startPlugin(settings, error);
    if (!saved || !restored) return fail(error);
    edit(*saved, settings.seed);
    const auto before = parametersOf(*saved);
    for (size_t i = 0; i < before.size(); ++i)
        restored->setParameter(static_cast<int>(i), before[i]);
    const auto after = parametersOf(*restored);
    for (size_t i = 0; i < before.size(); ++i)
        if (std::memcmp(&before[i], &after[i], sizeof(float)) != 0)
            return fail("parameter " + std::to_string(i) + " reads " + std::to_string(after[i]) +
                        " after the restore, " + std::to_string(before[i]) + " before");
    return pass();
}

// After a bad chunk the effect must still answer sanely and process finite audio.
std::string healthAfter(testhost::Plugin& plugin, const Settings& settings) {
    for (int i = 0; i < plugin.effect()->numParams; ++i) {
        const float value = plugin.getParameter(i);
        if (!(value >= 0.0f && value <= 1.0f))
            return "parameter " + std::to_string(i) + " reads " + std::to_string(value);
    }
    chunkOf(plugin, kBank);
    return renderProblem(plugin, 4410, settings.outputLimit, settings.seed);
}

Outcome badChunks(const Settings& settings) {
    std::string error;
    auto reference = startPlugin(settings, error);
    if (!reference) return fail(error);
    edit(*reference, settings.seed);
    const Bytes good = chunkOf(*reference, kBank);
    if (good.empty()) return skip("no bank chunk served");
    std::mt19937 random(settings.seed);
    std::vector<std::pair<std::string, Bytes>> cases;
    for (size_t length : {size_t(0), size_t(1), good.size() / 2, good.size() - 1})
        cases.emplace_back("cut to " + std::to_string(length) + " bytes",
                           Bytes(good.begin(), good.begin() + static_cast<long>(length)));
    Bytes longer = good;
    for (int i = 0; i < 4096; ++i)
        longer.push_back(static_cast<unsigned char>(random()));
    cases.emplace_back("4096 bytes too long", longer);
    for (int n = 0; n < settings.randomChunks(); ++n) {
        // Half of them the right length, so they get past a length check.
        const size_t length = n % 2 ? good.size() : random() % (2 * good.size() + 1);
        Bytes noise(length);
        for (auto& byte : noise)
            byte = static_cast<unsigned char>(random());
        cases.emplace_back("random chunk " + std::to_string(n) + " of " + std::to_string(length) +
                               " bytes",
                           noise);
    }
    for (const auto& [what, chunk] : cases)
        for (ChunkKind kind : {kBank, kProgram}) {
            auto plugin = startPlugin(settings, error);
            if (!plugin) return fail(error);
            setChunk(*plugin, kind, chunk);
            const std::string problem = healthAfter(*plugin, settings);
            if (!problem.empty())
                return fail(std::string(kindName(kind)) + " " + what + ": " + problem);
        }
    return pass(std::to_string(cases.size()) + " chunks as bank and as program");
}

} // namespace

void stateGroup(Report& report, const Settings& settings) {
    report.run("state", "two fresh instances have identical parameters",
               [&] { return freshInstancesAgree(settings, false); });
    report.run("state", "parameters written back in order restore the state",
               [&] { return parameterRoundTrip(settings); });
    if (!servesChunks(settings)) {
        report.run("state", "chunks", [] {
            return skip("the plug-in does not save through chunks (effFlagsProgramChunks) for this "
                        "host; --host-vendor and --host-product change what the host says");
        });
        return;
    }
    report.run("state", "two fresh instances give identical chunks",
               [&] { return freshInstancesAgree(settings, true); });
    report.run("state", "bank chunk round trip is byte-identical",
               [&] { return chunkRoundTrip(settings, kBank); });
    report.run("state", "program chunk round trip is byte-identical",
               [&] { return chunkRoundTrip(settings, kProgram); });
    report.run("state", "cut, oversized and random chunks are refused or applied safely",
               [&] { return badChunks(settings); });
}

} // namespace orvane::validate
