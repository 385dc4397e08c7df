// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point, the AEffect record and every opcode with null and odd arguments.
#include "tools/validate/Audio.h"
#include "tools/validate/Groups.h"
#include "tools/validate/Guarded.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace orvane::validate {

namespace {

const char* const kOpcodeNames[] = {"effOpen",
                                    "effClose",
                                    "effSetProgram",
                                    "effGetProgram",
                                    "effSetProgramName",
                                    "effGetProgramName",
                                    "effGetParamLabel",
                                    "effGetParamDisplay",
                                    "effGetParamName",
                                    "effGetVu",
                                    "effSetSampleRate",
                                    "effSetBlockSize",
                                    "effMainsChanged",
                                    "effEditGetRect",
                                    "effEditOpen",
                                    "effEditClose",
                                    "effEditDraw",
                                    "effEditMouse",
                                    "effEditKey",
                                    "effEditIdle",
                                    "effEditTop",
                                    "effEditSleep",
                                    "effIdentify",
                                    "effGetChunk",
                                    "effSetChunk",
                                    "effProcessEvents",
                                    "effCanBeAutomated",
                                    "effString2Parameter",
                                    "effGetNumProgramCategories",
                                    "effGetProgramNameIndexed",
                                    "effCopyProgram",
                                    "effConnectInput",
                                    "effConnectOutput",
                                    "effGetInputProperties",
                                    "effGetOutputProperties",
                                    "effGetPlugCategory",
                                    "effGetCurrentPosition",
                                    "effGetDestinationBuffer",
                                    "effOfflineNotify",
                                    "effOfflinePrepare",
                                    "effOfflineRun",
                                    "effProcessVarIo",
                                    "effSetSpeakerArrangement",
                                    "effSetBlockSizeAndSampleRate",
                                    "effSetBypass",
                                    "effGetEffectName",
                                    "effGetErrorText",
                                    "effGetVendorString",
                                    "effGetProductString",
                                    "effGetVendorVersion",
                                    "effVendorSpecific",
                                    "effCanDo",
                                    "effGetTailSize",
                                    "effIdle",
                                    "effGetIcon",
                                    "effSetViewPosition",
                                    "effGetParameterProperties",
                                    "effKeysRequired",
                                    "effGetVstVersion",
                                    "effEditKeyDown",
                                    "effEditKeyUp",
                                    "effSetEditKnobMode",
                                    "effGetMidiProgramName",
                                    "effGetCurrentMidiProgram",
                                    "effGetMidiProgramCategory",
                                    "effHasMidiProgramsChanged",
                                    "effGetMidiKeyName",
                                    "effBeginSetProgram",
                                    "effEndSetProgram",
                                    "effGetSpeakerArrangement",
                                    "effShellGetNextPlugin",
                                    "effStartProcess",
                                    "effStopProcess",
                                    "effSetTotalSampleToProcess",
                                    "effSetPanLaw",
                                    "effBeginLoadBank",
                                    "effBeginLoadProgram",
                                    "effSetProcessPrecision",
                                    "effGetNumMidiInputChannels",
                                    "effGetNumMidiOutputChannels"};
constexpr int kLastOpcode = 89;

std::string opcodeName(int opcode) {
    const int known = static_cast<int>(sizeof kOpcodeNames / sizeof *kOpcodeNames);
    return "opcode " + std::to_string(opcode) + " " +
           (opcode < known ? kOpcodeNames[opcode] : "(undefined)");
}

struct Arguments {
    VstInt32 index;
    VstIntPtr value;
    bool scratch; // ptr to zeroed memory instead of null
    float opt;
    const char* description;
};

const Arguments kArgumentSets[] = {
    {0, 0, false, 0.0f, "zero arguments, null ptr"},
    {-1, -1, false, NAN, "index -1, value -1, null ptr, opt NaN"},
    {INT_MAX, 1 << 20, false, INFINITY, "index INT_MAX, value 2^20, null ptr, opt inf"},
    {0, 0, true, 0.0f, "zero arguments, ptr to zeroed memory"},
    {1, 1, true, -1.0f, "index 1, value 1, ptr to zeroed memory, opt -1"},
};

// Calls one opcode the odd ways; the effect must survive each and still process finite audio.
Outcome sweepOpcode(const Settings& settings, int opcode) {
    std::string error;
    auto plugin = startPlugin(settings, error, 44100, 512);
    if (!plugin) return fail(error);
    // These two take a pointer in value too.
    const bool valueIsPointer =
        opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
    for (const Arguments& args : kArgumentSets) {
        Guarded scratch(8192);
        Guarded second(8192);
        void* ptr = args.scratch ? scratch.data() : nullptr;
        const VstIntPtr value = !valueIsPointer ? args.value
                                : args.scratch  ? reinterpret_cast<VstIntPtr>(second.data())
                                                : 0;
        plugin->dispatch(opcode, args.index, value, ptr, args.opt);
        if (opcode == effMainsChanged) plugin->dispatch(effMainsChanged, 0, 1);
        const std::string problem =
            renderProblem(*plugin, 512, settings.outputLimit, settings.seed);
        if (!problem.empty())
            return fail(std::string("after ") + args.description + ", output " + problem);
    }
    return pass();
}

Outcome effectFields(const Settings& settings) {
    std::string error;
    auto plugin = loadPlugin(settings, error);
    if (!plugin) return fail(error);
    const AEffect& e = *plugin->effect();
    if (!e.dispatcher || !e.setParameter || !e.getParameter) return fail("a null function");
    if (!(e.flags & effFlagsCanReplacing) || !e.processReplacing)
        return fail("no processReplacing (effFlagsCanReplacing)");
    if ((e.flags & effFlagsCanDoubleReplacing) && !e.processDoubleReplacing)
        return fail("effFlagsCanDoubleReplacing without processDoubleReplacing");
    if (e.numInputs < 0 || e.numInputs > 64 || e.numOutputs < 1 || e.numOutputs > 64)
        return fail("pin counts " + std::to_string(e.numInputs) + " in, " +
                    std::to_string(e.numOutputs) + " out");
    if (e.numInputs != 2 || e.numOutputs != 2)
        return skip("the checks here drive two inputs and two outputs; the plug-in has " +
                    std::to_string(e.numInputs) + " and " + std::to_string(e.numOutputs));
    if (e.numParams < 0 || e.numParams > 100000)
        return fail("numParams " + std::to_string(e.numParams));
    if (e.numPrograms < 0 || e.numPrograms > 100000)
        return fail("numPrograms " + std::to_string(e.numPrograms));
    if (e.initialDelay < 0) return fail("negative initialDelay");
    if (e.uniqueID == 0) return fail("uniqueID 0");
    return pass(std::to_string(e.numParams) + " parameters, " + std::to_string(e.numPrograms) +
                " programs, flags " + std::to_string(e.flags));
}

// The effect's own names: terminated within the VST 2.4 lengths, nothing written beyond.
Outcome names(const Settings& settings) {
    std::string error;
    auto plugin = loadPlugin(settings, error);
    if (!plugin) return fail(error);
    const struct {
        VstInt32 opcode;
        std::size_t limit;
        const char* what;
    } queries[] = {{effGetEffectName, kVstMaxEffectNameLen, "effect name"},
                   {effGetVendorString, kVstMaxVendorStrLen, "vendor string"},
                   {effGetProductString, kVstMaxProductStrLen, "product string"},
                   {effGetProgramName, kVstMaxProgNameLen, "program name"},
                   {effShellGetNextPlugin, kVstMaxProductStrLen, "shell plug-in name"}};
    for (const auto& query : queries) {
        char text[512];
        std::memset(text, kFill, sizeof text);
        plugin->dispatch(query.opcode, 0, 0, text);
        if (static_cast<unsigned char>(text[0]) == kFill) continue; // nothing written: not served
        if (const char* problem = textProblem(text, sizeof text, query.limit))
            return fail(std::string(query.what) + " " + problem);
    }
    return pass();
}

} // namespace

void entryGroup(Report& report, const Settings& settings) {
    report.run("entry", "VSTPluginMain gives an effect", [&] {
        std::string error;
        return loadPlugin(settings, error) ? pass() : fail(error);
    });
    report.run("entry", "AEffect fields", [&] { return effectFields(settings); });
    report.run("entry", "effect, vendor, product and program names",
               [&] { return names(settings); });
    for (int opcode = 0; opcode <= kLastOpcode; ++opcode) {
        // effClose ends the instance and effEditOpen needs a real window: both have their checks.
        if (opcode == effClose || opcode == effEditOpen) continue;
        report.run("entry", opcodeName(opcode), [&] { return sweepOpcode(settings, opcode); });
    }
    report.run("entry", "effClose then unload", [&] {
        std::string error;
        auto plugin = startPlugin(settings, error);
        if (!plugin) return fail(error);
        plugin.reset();
        return pass();
    });
}

} // namespace orvane::validate
