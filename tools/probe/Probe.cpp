// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-probe PLUGIN.so: prints what a host sees of a VST 2.4 plug-in.
#include "tools/testhost/TestHost.h"

#include <cstdio>
#include <string>

using orvane::testhost::Plugin;

namespace {

std::string fourCC(VstInt32 code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((code >> shift) & 0xff);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::string stringOf(Plugin& plugin, VstInt32 opcode) {
    char text[256] = {};
    plugin.dispatch(opcode, 0, 0, text);
    return text;
}

void printFlags(VstInt32 flags) {
    static const std::pair<VstInt32, const char*> names[] = {
        {effFlagsHasEditor, "HasEditor"},
        {effFlagsCanReplacing, "CanReplacing"},
        {effFlagsProgramChunks, "ProgramChunks"},
        {effFlagsIsSynth, "IsSynth"},
        {effFlagsNoSoundInStop, "NoSoundInStop"},
        {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
    };
    std::printf("flags:          %d", flags);
    for (const auto& [bit, name] : names)
        if (flags & bit) std::printf(" %s", name);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-probe PLUGIN.so\n");
        return 2;
    }
    std::string error;
    auto plugin = Plugin::load(argv[1], {}, &error);
    if (!plugin) {
        std::fprintf(stderr, "orvane-probe: %s\n", error.c_str());
        return 1;
    }
    AEffect* effect = plugin->effect();
    std::printf("effect name:    %s\n", stringOf(*plugin, effGetEffectName).c_str());
    std::printf("vendor:         %s\n", stringOf(*plugin, effGetVendorString).c_str());
    std::printf("product:        %s\n", stringOf(*plugin, effGetProductString).c_str());
    std::printf("vendor version: 0x%lx\n",
                static_cast<unsigned long>(plugin->dispatch(effGetVendorVersion)));
    std::printf("VST version:    %ld\n", static_cast<long>(plugin->dispatch(effGetVstVersion)));
    std::printf("unique ID:      %s (%d)\n", fourCC(effect->uniqueID).c_str(), effect->uniqueID);
    std::printf("version:        %d\n", effect->version);
    printFlags(effect->flags);
    std::printf("programs:       %d\nparameters:     %d\ninputs:         %d\noutputs:        %d\n",
                effect->numPrograms, effect->numParams, effect->numInputs, effect->numOutputs);
    std::printf("program:        %s\n", plugin->programName().c_str());

    static const char* const canDos[] = {"receiveVstEvents",
                                         "receiveVstMidiEvent",
                                         "receiveVstTimeInfo",
                                         "plugAsChannelInsert",
                                         "1in1out",
                                         "1in2out",
                                         "2in2out",
                                         "sendVstEvents",
                                         "sendVstMidiEvent",
                                         "bypass",
                                         "offline",
                                         "midiProgramNames"};
    std::printf("canDo:\n");
    for (const char* what : canDos)
        std::printf("  %-22s %ld\n", what,
                    static_cast<long>(plugin->dispatch(effCanDo, 0, 0, const_cast<char*>(what))));

    std::printf("output pins:\n");
    for (int pin = 0; pin < effect->numOutputs; ++pin) {
        VstPinProperties properties{};
        if (plugin->dispatch(effGetOutputProperties, pin, 0, &properties))
            std::printf("  %d %-10s flags %d\n", pin, properties.label, properties.flags);
    }

    std::printf("parameters (index, name, label, display):\n");
    for (int i = 0; i < effect->numParams; ++i)
        std::printf("  %3d  %-34s [%s]  %s\n", i, plugin->parameterName(i).c_str(),
                    plugin->parameterLabel(i).c_str(), plugin->parameterDisplay(i).c_str());
    return 0;
}
