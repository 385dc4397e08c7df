// SPDX-License-Identifier: GPL-3.0-or-later
// What a host sees through the built module: entry points, the AEffect record, the dispatcher.
#include "tests/host/LoadPlugin.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

using orvane::test::loadPlugin;
using orvane::testhost::builtPluginPath;
using orvane::testhost::HostConfig;
using orvane::testhost::Plugin;

namespace {

std::string dispatchText(Plugin& plugin, VstInt32 opcode, VstInt32 index = 0) {
    char text[256] = {};
    plugin.dispatch(opcode, index, 0, text);
    return text;
}

VstIntPtr canDo(Plugin& plugin, const char* what) {
    return plugin.dispatch(effCanDo, 0, 0, const_cast<char*>(what));
}

} // namespace

TEST(Entry, ModuleExportsOnlyTheTwoEntryPoints) {
    void* module = dlopen(builtPluginPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_NE(dlsym(module, "VSTPluginMain"), nullptr);
    EXPECT_NE(dlsym(module, "main_macho"), nullptr);
    for (const char* hidden :
         {"createEffectInstance", "oome", "_Z20createEffectInstancePFlP7AEffectiilPvfE",
          "_ZN7APlugin12setParameterEif", "puglUpdate", "itoa"})
        EXPECT_EQ(dlsym(module, hidden), nullptr) << hidden;
    dlclose(module);
}

// main_macho is the same entry under its older name; neither builds an effect for a host that
// does not answer its version.
TEST(Entry, MainMachoBuildsAWorkingEffectOnlyForAnAnsweringHost) {
    HostConfig config;
    config.version = 0;
    EXPECT_EQ(Plugin::load(builtPluginPath(), config), nullptr);

    void* module = dlopen(builtPluginPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr);
    using Entry = AEffect* (*)(audioMasterCallback);
    auto macho = reinterpret_cast<Entry>(dlsym(module, "main_macho"));
    EXPECT_EQ(macho(nullptr), nullptr);
    EXPECT_EQ(
        macho([](AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) -> VstIntPtr { return 0; }),
        nullptr);
    AEffect* effect = macho(&Plugin::hostCallback);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, 1), 0.5f);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0), 1) << "and deletes it";
    dlclose(module);
}

TEST(AEffectRecord, IsFilledAsPublished) {
    auto plugin = loadPlugin();
    AEffect* e = plugin->effect();
    EXPECT_EQ(e->magic, vstFourCC('V', 's', 't', 'P'));
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 128);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->uniqueID, vstFourCC('H', 'K', 'O', 'V'));
    EXPECT_EQ(e->version, 1);
    EXPECT_TRUE(e->flags & effFlagsCanReplacing);
    EXPECT_FALSE(e->flags & (effFlagsIsSynth | effFlagsNoSoundInStop | effFlagsCanDoubleReplacing |
                             effFlagsProgramChunks));
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->process, nullptr);
}

TEST(Dispatcher, AnswersTheOpcodeTable) {
    auto plugin = loadPlugin();
    Plugin& p = *plugin;
    EXPECT_EQ(p.dispatch(effOpen), 0);
    EXPECT_EQ(p.dispatch(effGetProgram), 0);
    EXPECT_EQ(p.dispatch(effIdentify), vstFourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(p.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(p.dispatch(effGetVendorVersion), 0x10001);
    EXPECT_EQ(p.dispatch(effGetPlugCategory), 0);
    EXPECT_EQ(p.dispatch(effGetTailSize), 0);
    EXPECT_EQ(p.dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(p.dispatch(effSetTotalSampleToProcess, 0, 4321), 4321);
    EXPECT_EQ(p.dispatch(effString2Parameter, 1, 0, const_cast<char*>("0.5")), 0);
    EXPECT_EQ(p.dispatch(effGetInputProperties, 0, 0, nullptr), 0);
    for (int index : {0, 1, 40, 127})
        EXPECT_EQ(p.dispatch(effCanBeAutomated, index), 1);
    EXPECT_EQ(dispatchText(p, effGetEffectName), "Orvane");
    EXPECT_EQ(dispatchText(p, effGetVendorString), "Halvick");
    EXPECT_EQ(dispatchText(p, effGetProductString), "HKOV");
    EXPECT_EQ(p.dispatch(effGetEffectName, 0, 0, std::array<char, 64>{}.data()), 1);

    VstSpeakerArrangement* input = reinterpret_cast<VstSpeakerArrangement*>(0x1);
    VstSpeakerArrangement* output = reinterpret_cast<VstSpeakerArrangement*>(0x1);
    EXPECT_EQ(p.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
              0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST(Dispatcher, MainsOnAsksTheHostForMidi) {
    auto plugin = loadPlugin();
    plugin->dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(plugin->log().wantMidi, 0);
    plugin->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(plugin->log().wantMidi, 1);
}

TEST(Dispatcher, BypassAndProgramNumbersAboveZeroAreNotTaken) {
    auto plugin = loadPlugin();
    EXPECT_EQ(plugin->dispatch(effSetBypass, 0, 1), 0);
    EXPECT_FLOAT_EQ(plugin->getParameter(40), 0.0f);
    plugin->setParameter(3, 0.9f);
    plugin->dispatch(effSetProgram, 0, 1);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.9f);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
}

TEST(Capabilities, CanDoAnswersExactlyTheSupportedStrings) {
    auto plugin = loadPlugin();
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo",
                            "plugAsChannelInsert", "1in1out", "1in2out", "2in2out"})
        EXPECT_EQ(canDo(*plugin, yes), 1) << yes;
    for (const char* no : {"sendVstMidiEvent", "sendVstEvents", "bypass", "offline", "",
                           "receiveVstMidiEvents", "2in2out ", "RECEIVEVSTEVENTS"})
        EXPECT_EQ(canDo(*plugin, no), 0) << no;
}

TEST(Capabilities, OutputPinsAreNamedAndStereo) {
    auto plugin = loadPlugin();
    for (int pin : {0, 1}) {
        VstPinProperties properties{};
        properties.arrangementType = 77;
        EXPECT_EQ(plugin->dispatch(effGetOutputProperties, pin, 0, &properties), 1);
        EXPECT_STREQ(properties.label, pin == 0 ? "Orvane 1" : "Orvane 2");
        EXPECT_EQ(properties.flags, kVstPinIsActive | kVstPinIsStereo);
        EXPECT_EQ(properties.arrangementType, 77);
    }
    for (int pin : {2, -1, 1000}) {
        VstPinProperties properties;
        std::memset(&properties, 0xAB, sizeof properties);
        const VstPinProperties before = properties;
        EXPECT_EQ(plugin->dispatch(effGetOutputProperties, pin, 0, &properties), 0);
        EXPECT_EQ(std::memcmp(&properties, &before, sizeof properties), 0);
    }
}

TEST(Lifecycle, TwoInstancesAreIndependent) {
    auto first = loadPlugin();
    auto second = loadPlugin();
    first->setParameter(1, 0.1f);
    second->setParameter(1, 0.9f);
    EXPECT_FLOAT_EQ(first->getParameter(1), 0.1f);
    EXPECT_FLOAT_EQ(second->getParameter(1), 0.9f);
}
