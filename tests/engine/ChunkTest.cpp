// SPDX-License-Identifier: GPL-3.0-or-later
// The state chunk as each host family sees it through the module.
#include "tests/host/LoadPlugin.h"

#include <cmath>
#include <cstring>
#include <vector>

using orvane::test::loadPlugin;
using orvane::testhost::HostConfig;
using orvane::testhost::Plugin;

namespace {

HostConfig host(const char* vendor, const char* product) {
    HostConfig config;
    config.vendor = vendor;
    config.product = product;
    return config;
}

struct Family {
    const char* label;
    HostConfig config;
    bool program; // whether program chunks are served too
};

std::vector<Family> families() {
    return {
        {"maschine", host("Some Vendor", "Maschine Host"), false},
        {"kore", host("Some Vendor", "Kore Player"), false},
        {"vantro", host("Some Vendor", "HK-Vantro"), false},
        {"prop vendor", host("propellor works", "Some Host"), true},
    };
}

std::vector<unsigned char> takeChunk(Plugin& plugin, bool program) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return {bytes, bytes + size};
}

VstIntPtr giveChunk(Plugin& plugin, std::vector<unsigned char> chunk, bool program) {
    return plugin.dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(chunk.size()),
                           chunk.data());
}

} // namespace

// Only the chunk host families get chunks: a bank chunk each, a program chunk only some.
TEST(ChunkHosts, FamiliesRestoreEveryValueAndTheNameByteForByte) {
    auto plain = loadPlugin(host("Orvane Test", "Some Host"));
    EXPECT_EQ(plain->effect()->flags & ~effFlagsHasEditor, effFlagsCanReplacing);
    EXPECT_TRUE(takeChunk(*plain, false).empty());
    EXPECT_EQ(giveChunk(*plain, std::vector<unsigned char>(544), false), 1);
    for (const Family& family : families()) {
        auto source = loadPlugin(family.config);
        EXPECT_EQ(source->effect()->flags & ~effFlagsHasEditor,
                  effFlagsCanReplacing | effFlagsProgramChunks)
            << family.label;
        EXPECT_EQ(takeChunk(*source, true).size(), family.program ? 544u : 0u) << family.label;
        for (auto [index, value] : {std::pair{3, 0.123f}, {10, 0.1f}, {40, 1.0f}, {77, 0.4f}})
            source->setParameter(index, value);
        const auto chunk = takeChunk(*source, false);
        ASSERT_EQ(chunk.size(), 544u) << family.label;

        auto target = loadPlugin(family.config);
        EXPECT_EQ(giveChunk(*target, chunk, false), 1) << family.label;
        EXPECT_EQ(takeChunk(*target, false), chunk) << family.label;
        EXPECT_FLOAT_EQ(target->getParameter(3), 0.123f);
        EXPECT_FLOAT_EQ(target->getParameter(77), 0.4f);
        EXPECT_EQ(target->programName(), "Nice Start");
    }
}

TEST(ChunkHosts, TheNameSlotsSelectTheFactoryProgramUnderTheRestoredValues) {
    auto source = loadPlugin(host("Orvane Test", "HK-VANTRO"));
    auto chunk = takeChunk(*source, false);
    ASSERT_EQ(chunk.size(), 544u);
    float values[128];
    std::memcpy(values, chunk.data(), sizeof values);
    const char* name = "Vocal lift";
    for (int i = 0; i < 28; ++i)
        values[90 + i] = i < 10 ? static_cast<float>(name[i]) / 255.0f : 0.0f;
    values[3] = 0.77f;
    std::memcpy(chunk.data(), values, sizeof values);

    auto target = loadPlugin(host("Orvane Test", "HK-VANTRO"));
    ASSERT_EQ(giveChunk(*target, chunk, false), 1);
    EXPECT_EQ(target->programName(), "Vocal lift");
    EXPECT_FLOAT_EQ(target->getParameter(3), 0.77f);
    EXPECT_FLOAT_EQ(target->getParameter(4), 1.0f) << "restored over the factory program's 0.45";
}

TEST(ChunkHosts, ShortNullUnterminatedAndProgramChunksAreSafe) {
    auto plugin = loadPlugin(host("Orvane Test", "MASCHINE HOST"));
    plugin->setParameter(3, 0.3f);
    EXPECT_EQ(plugin->dispatch(effSetChunk, 0, 544, nullptr), 0);
    EXPECT_EQ(giveChunk(*plugin, std::vector<unsigned char>(543, 0x40), false), 0);
    EXPECT_EQ(plugin->dispatch(effGetChunk, 0, 0, nullptr), 0);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.3f);

    std::vector<unsigned char> garbage(544, 0xFF); // NaN values and a name with no terminator
    EXPECT_EQ(giveChunk(*plugin, garbage, false), 1);
    EXPECT_EQ(plugin->programName(), "Nice Start");
    const auto back = takeChunk(*plugin, false);
    ASSERT_EQ(back.size(), 544u);
    EXPECT_EQ(back[512 + 31], 0) << "the name is cut to 31 characters";
    for (int i = 0; i < 128; ++i)
        EXPECT_TRUE(std::isfinite(plugin->getParameter(i)));

    // Program chunks: Maschine ignores them, the other families refuse them.
    plugin->setParameter(3, 0.3f);
    EXPECT_EQ(giveChunk(*plugin, std::vector<unsigned char>(544, 0), true), 1);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.3f);
    EXPECT_EQ(giveChunk(*loadPlugin(host("x", "KORE 2")), std::vector<unsigned char>(544, 0), true),
              0);
}
