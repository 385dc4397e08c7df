// SPDX-License-Identifier: GPL-3.0-or-later
// Our VST 2.4 interface header checked against an independently written one: the clean-room
// header from Debian's dpf-source. Every number and layout the module relies on is compared at
// compile time; where that header has no counterpart, or is known to be wrong, the published value
// is asserted instead and the difference is named.
#include "host/vst2.h"

#include <cstddef> // the clean-room header uses size_t without including it
#ifndef __cdecl
#define __cdecl // the clean-room header spells its calling convention the Windows way
#endif
#include <xaymar-vst2/vst.h>

#include <tuple>
#include <type_traits>

namespace {

static_assert(sizeof(void*) == 8, "the literal offsets below are the LP64 ones");

// That header spells its magic as the multi-character constant 'VstP' (hence -Wno-multichar on
// this target); GCC packs it first byte highest, the same order as the published CCONST.
constexpr VstInt32 cleanRoomMagic = VST_MAGICNUMBER;

template <class A, class B> constexpr bool sameNumber(A a, B b) {
    return static_cast<long long>(a) == static_cast<long long>(b);
}

template <class F> struct Signature;
template <class R, class... A> struct Signature<R (*)(A...)> {
    using Result = R;
    using Args = std::tuple<A...>;
};
template <class F, std::size_t I> using Arg = std::tuple_element_t<I, typename Signature<F>::Args>;
template <class F> constexpr std::size_t arity = std::tuple_size_v<typename Signature<F>::Args>;

// Passed the same way on x86-64: same width and same register class.
template <class A, class B> constexpr bool sameAbi() {
    return sizeof(A) == sizeof(B) && std::is_floating_point_v<A> == std::is_floating_point_v<B>;
}
template <class Ours, class Theirs, std::size_t... I>
constexpr bool argsAbiMatch(std::index_sequence<I...>) {
    return (sameAbi<Arg<Ours, I>, Arg<Theirs, I>>() && ...);
}
template <class Ours, class Theirs> constexpr bool callsAbiMatch() {
    return arity<Ours> == arity<Theirs> &&
           std::is_same_v<typename Signature<Ours>::Result, typename Signature<Theirs>::Result> &&
           argsAbiMatch<Ours, Theirs>(std::make_index_sequence<arity<Ours>>{});
}

} // namespace

#define SAME_NUMBER(ours, theirs) static_assert(sameNumber(ours, theirs), #ours " != " #theirs)
#define PUBLISHED(ours, value) static_assert(sameNumber(ours, value), #ours " != " #value)
#define SAME_FIELD(Ours, ours, Theirs, theirs)                                                     \
    static_assert(offsetof(Ours, ours) == offsetof(Theirs, theirs), #Ours "::" #ours " offset");   \
    static_assert(sizeof(Ours::ours) == sizeof(Theirs::theirs), #Ours "::" #ours " size")
#define PUBLISHED_FIELD(Ours, ours, offset, size)                                                  \
    static_assert(offsetof(Ours, ours) == (offset), #Ours "::" #ours " offset");                   \
    static_assert(sizeof(Ours::ours) == (size), #Ours "::" #ours " size")

// --- AEffect ---------------------------------------------------------------------------------
SAME_NUMBER(kEffectMagic, cleanRoomMagic);
SAME_NUMBER(kVstVersion, VST_VERSION_2_4_0_0);
static_assert(sizeof(AEffect) == sizeof(vst_effect) && sizeof(AEffect) == 192);
SAME_FIELD(AEffect, magic, vst_effect, magic_number);
SAME_FIELD(AEffect, dispatcher, vst_effect, control);
SAME_FIELD(AEffect, process, vst_effect, process);
SAME_FIELD(AEffect, setParameter, vst_effect, set_parameter);
SAME_FIELD(AEffect, getParameter, vst_effect, get_parameter);
SAME_FIELD(AEffect, numPrograms, vst_effect, num_programs);
SAME_FIELD(AEffect, numParams, vst_effect, num_params);
SAME_FIELD(AEffect, numInputs, vst_effect, num_inputs);
SAME_FIELD(AEffect, numOutputs, vst_effect, num_outputs);
SAME_FIELD(AEffect, flags, vst_effect, flags);
SAME_FIELD(AEffect, resvd1, vst_effect, _unknown_ptr_00[0]);
SAME_FIELD(AEffect, resvd2, vst_effect, _unknown_ptr_00[1]);
SAME_FIELD(AEffect, initialDelay, vst_effect, delay);
SAME_FIELD(AEffect, realQualities, vst_effect, _unknown_int32_00[0]);
SAME_FIELD(AEffect, offQualities, vst_effect, _unknown_int32_00[1]);
SAME_FIELD(AEffect, ioRatio, vst_effect, _unknown_float_00);
SAME_FIELD(AEffect, object, vst_effect, effect_internal);
SAME_FIELD(AEffect, user, vst_effect, host_internal);
SAME_FIELD(AEffect, uniqueID, vst_effect, unique_id);
SAME_FIELD(AEffect, version, vst_effect, version);
SAME_FIELD(AEffect, processReplacing, vst_effect, process_float);
SAME_FIELD(AEffect, processDoubleReplacing, vst_effect, process_double);
SAME_FIELD(AEffect, future, vst_effect, _unknown);
PUBLISHED_FIELD(AEffect, processDoubleReplacing, 128, 8);

// The entry points are passed the same way. Type differences that do not change the call:
// that header types the opcode as its enum, the parameter index as unsigned, and the inputs
// as const; the published types are VstInt32, VstInt32 and float**/double**.
static_assert(callsAbiMatch<AEffectDispatcherProc, decltype(vst_effect::control)>());
static_assert(callsAbiMatch<AEffectProcessProc, decltype(vst_effect::process)>());
static_assert(callsAbiMatch<AEffectProcessProc, decltype(vst_effect::process_float)>());
static_assert(callsAbiMatch<AEffectProcessDoubleProc, decltype(vst_effect::process_double)>());
static_assert(callsAbiMatch<AEffectSetParameterProc, decltype(vst_effect::set_parameter)>());
static_assert(callsAbiMatch<AEffectGetParameterProc, decltype(vst_effect::get_parameter)>());

// Disagreement: that header types the host callback's last argument as an integer; the
// published `opt` is a float (parameter value for audioMasterAutomate), which travels in a
// floating-point register. The first five arguments agree.
static_assert(std::is_same_v<Arg<audioMasterCallback, 5>, float>);
static_assert(std::is_integral_v<Arg<vst_host_callback, 5>>,
              "the clean-room host callback now takes a float: replace this with callsAbiMatch");
static_assert(arity<audioMasterCallback> == 6 && arity<vst_host_callback> == 6);
static_assert(argsAbiMatch<audioMasterCallback, vst_host_callback>(std::make_index_sequence<5>{}));
static_assert(std::is_same_v<Signature<audioMasterCallback>::Result, VstIntPtr>);

// Bits 1, 5 and 13 (counted from 1) are the ones that header documents, in a comment only.
PUBLISHED(effFlagsHasEditor, 1 << 0);
PUBLISHED(effFlagsHasClip, 1 << 1);
PUBLISHED(effFlagsHasVu, 1 << 2);
PUBLISHED(effFlagsCanMono, 1 << 3);
PUBLISHED(effFlagsCanReplacing, 1 << 4);
PUBLISHED(effFlagsProgramChunks, 1 << 5);
PUBLISHED(effFlagsIsSynth, 1 << 8);
PUBLISHED(effFlagsNoSoundInStop, 1 << 9);
PUBLISHED(effFlagsExtIsAsync, 1 << 10);
PUBLISHED(effFlagsExtHasBuffer, 1 << 11);
PUBLISHED(effFlagsCanDoubleReplacing, 1 << 12);

// --- Effect opcodes (host to plug-in) ----------------------------------------------------------
// Named there where it knows the meaning, numbered otherwise; either way every implicit step of
// our enumerations is pinned.
SAME_NUMBER(effOpen, VST_EFFECT_OPCODE_CREATE);
SAME_NUMBER(effClose, VST_EFFECT_OPCODE_DESTROY);
SAME_NUMBER(effSetProgram, VST_EFFECT_OPCODE_02);
SAME_NUMBER(effGetProgram, VST_EFFECT_OPCODE_03);
SAME_NUMBER(effSetProgramName, VST_EFFECT_OPCODE_04);
SAME_NUMBER(effGetProgramName, VST_EFFECT_OPCODE_05);
SAME_NUMBER(effGetParamLabel, VST_EFFECT_OPCODE_PARAM_GETLABEL);
SAME_NUMBER(effGetParamDisplay, VST_EFFECT_OPCODE_PARAM_GETVALUE);
SAME_NUMBER(effGetParamName, VST_EFFECT_OPCODE_PARAM_GETNAME);
SAME_NUMBER(effGetVu, VST_EFFECT_OPCODE_09);
SAME_NUMBER(effSetSampleRate, VST_EFFECT_OPCODE_SET_SAMPLE_RATE);
SAME_NUMBER(effSetBlockSize, VST_EFFECT_OPCODE_SET_BLOCK_SIZE);
SAME_NUMBER(effMainsChanged, VST_EFFECT_OPCODE_SUSPEND);
SAME_NUMBER(effEditGetRect, VST_EFFECT_OPCODE_WINDOW_GETRECT);
SAME_NUMBER(effEditOpen, VST_EFFECT_OPCODE_WINDOW_CREATE);
SAME_NUMBER(effEditClose, VST_EFFECT_OPCODE_WINDOW_DESTROY);
SAME_NUMBER(effEditDraw, VST_EFFECT_OPCODE_10);
SAME_NUMBER(effEditMouse, VST_EFFECT_OPCODE_11);
SAME_NUMBER(effEditKey, VST_EFFECT_OPCODE_12);
SAME_NUMBER(effEditIdle, VST_EFFECT_OPCODE_13);
SAME_NUMBER(effEditTop, VST_EFFECT_OPCODE_14);
SAME_NUMBER(effEditSleep, VST_EFFECT_OPCODE_15);
SAME_NUMBER(effIdentify, VST_EFFECT_OPCODE_16);
SAME_NUMBER(effGetChunk, VST_EFFECT_OPCODE_17);
SAME_NUMBER(effSetChunk, VST_EFFECT_OPCODE_18);
SAME_NUMBER(effNumOpcodes, VST_EFFECT_OPCODE_19);
SAME_NUMBER(effProcessEvents, VST_EFFECT_OPCODE_19);
SAME_NUMBER(effCanBeAutomated, VST_EFFECT_OPCODE_PARAM_ISAUTOMATABLE);
SAME_NUMBER(effString2Parameter, VST_EFFECT_OPCODE_1B);
SAME_NUMBER(effGetNumProgramCategories, VST_EFFECT_OPCODE_1C);
SAME_NUMBER(effGetProgramNameIndexed, VST_EFFECT_OPCODE_1D);
SAME_NUMBER(effCopyProgram, VST_EFFECT_OPCODE_1E);
SAME_NUMBER(effConnectInput, VST_EFFECT_OPCODE_1F);
SAME_NUMBER(effConnectOutput, VST_EFFECT_OPCODE_20);
SAME_NUMBER(effGetInputProperties, VST_EFFECT_OPCODE_INPUT_CHANNEL_NAME);
SAME_NUMBER(effGetOutputProperties, VST_EFFECT_OPCODE_OUTPUT_CHANNEL_NAME);
SAME_NUMBER(effGetPlugCategory, VST_EFFECT_OPCODE_EFFECT_CATEGORY);
SAME_NUMBER(effGetCurrentPosition, VST_EFFECT_OPCODE_24);
SAME_NUMBER(effGetDestinationBuffer, VST_EFFECT_OPCODE_25);
SAME_NUMBER(effOfflineNotify, VST_EFFECT_OPCODE_26);
SAME_NUMBER(effOfflinePrepare, VST_EFFECT_OPCODE_27);
SAME_NUMBER(effOfflineRun, VST_EFFECT_OPCODE_28);
SAME_NUMBER(effProcessVarIo, VST_EFFECT_OPCODE_29);
SAME_NUMBER(effSetSpeakerArrangement, VST_EFFECT_OPCODE_SET_SPEAKER_ARRANGEMENT);
SAME_NUMBER(effSetBlockSizeAndSampleRate, VST_EFFECT_OPCODE_2B);
SAME_NUMBER(effSetBypass, VST_EFFECT_OPCODE_BYPASS);
SAME_NUMBER(effGetEffectName, VST_EFFECT_OPCODE_EFFECT_NAME);
SAME_NUMBER(effGetErrorText, VST_EFFECT_OPCODE_TRANSLATE_ERROR);
SAME_NUMBER(effGetVendorString, VST_EFFECT_OPCODE_VENDOR_NAME);
SAME_NUMBER(effGetProductString, VST_EFFECT_OPCODE_PRODUCT_NAME);
SAME_NUMBER(effGetVendorVersion, VST_EFFECT_OPCODE_VENDOR_VERSION);
SAME_NUMBER(effVendorSpecific, VST_EFFECT_OPCODE_CUSTOM);
SAME_NUMBER(effCanDo, VST_EFFECT_OPCODE_SUPPORTS);
SAME_NUMBER(effGetTailSize, VST_EFFECT_OPCODE_TAIL_SAMPLES);
SAME_NUMBER(effIdle, VST_EFFECT_OPCODE_35);
SAME_NUMBER(effGetIcon, VST_EFFECT_OPCODE_36);
SAME_NUMBER(effSetViewPosition, VST_EFFECT_OPCODE_37);
SAME_NUMBER(effGetParameterProperties, VST_EFFECT_OPCODE_38);
SAME_NUMBER(effKeysRequired, VST_EFFECT_OPCODE_39);
SAME_NUMBER(effGetVstVersion, VST_EFFECT_OPCODE_VST_VERSION);
SAME_NUMBER(effEditKeyDown, VST_EFFECT_OPCODE_3B);
SAME_NUMBER(effEditKeyUp, VST_EFFECT_OPCODE_3C);
SAME_NUMBER(effSetEditKnobMode, VST_EFFECT_OPCODE_3D);
SAME_NUMBER(effGetMidiProgramName, VST_EFFECT_OPCODE_3E);
SAME_NUMBER(effGetCurrentMidiProgram, VST_EFFECT_OPCODE_3F);
SAME_NUMBER(effGetMidiProgramCategory, VST_EFFECT_OPCODE_40);
SAME_NUMBER(effHasMidiProgramsChanged, VST_EFFECT_OPCODE_41);
SAME_NUMBER(effGetMidiKeyName, VST_EFFECT_OPCODE_42);
SAME_NUMBER(effBeginSetProgram, VST_EFFECT_OPCODE_43);
SAME_NUMBER(effEndSetProgram, VST_EFFECT_OPCODE_44);
SAME_NUMBER(effGetSpeakerArrangement, VST_EFFECT_OPCODE_GET_SPEAKER_ARRANGEMENT);
SAME_NUMBER(effShellGetNextPlugin, VST_EFFECT_OPCODE_46);
SAME_NUMBER(effStartProcess, VST_EFFECT_OPCODE_PROCESS_BEGIN);
SAME_NUMBER(effStopProcess, VST_EFFECT_OPCODE_PROCESS_END);
SAME_NUMBER(effSetTotalSampleToProcess, VST_EFFECT_OPCODE_49);
SAME_NUMBER(effSetPanLaw, VST_EFFECT_OPCODE_4A);
SAME_NUMBER(effBeginLoadBank, VST_EFFECT_OPCODE_4B);
SAME_NUMBER(effBeginLoadProgram, VST_EFFECT_OPCODE_4C);
SAME_NUMBER(effSetProcessPrecision, VST_EFFECT_OPCODE_4D);
SAME_NUMBER(effGetNumMidiInputChannels, VST_EFFECT_OPCODE_4E);
SAME_NUMBER(effGetNumMidiOutputChannels, VST_EFFECT_OPCODE_4F);
SAME_NUMBER(effGetNumMidiOutputChannels + 1, VST_EFFECT_OPCODE_MAX);

// Disagreement: that header names 57 (effKeysRequired) as its parameter-properties opcode; the
// published effGetParameterProperties is 56, between effSetViewPosition and effKeysRequired.
PUBLISHED(effGetParameterProperties, 56);
static_assert(sameNumber(VST_EFFECT_OPCODE_GET_PARAMETER_PROPERTIES, effGetParameterProperties + 1),
              "the clean-room header is no longer off by one here: compare with SAME_NUMBER");

// --- Host opcodes (plug-in to host) ------------------------------------------------------------
// Meanings there: 0x00 automate, 0x2B/0x2C a parameter gains/loses focus (begin/end edit).
// Its table ends at 47; 48 and 49 are asserted at their published numbers.
SAME_NUMBER(audioMasterAutomate, VST_HOST_OPCODE_00);
SAME_NUMBER(audioMasterVersion, VST_HOST_OPCODE_01);
SAME_NUMBER(audioMasterCurrentId, VST_HOST_OPCODE_02);
SAME_NUMBER(audioMasterIdle, VST_HOST_OPCODE_03);
SAME_NUMBER(audioMasterPinConnected, VST_HOST_OPCODE_04);
SAME_NUMBER(audioMasterWantMidi, VST_HOST_OPCODE_06);
SAME_NUMBER(audioMasterGetTime, VST_HOST_OPCODE_07);
SAME_NUMBER(audioMasterProcessEvents, VST_HOST_OPCODE_08);
SAME_NUMBER(audioMasterSetTime, VST_HOST_OPCODE_09);
SAME_NUMBER(audioMasterTempoAt, VST_HOST_OPCODE_0A);
SAME_NUMBER(audioMasterGetNumAutomatableParameters, VST_HOST_OPCODE_0B);
SAME_NUMBER(audioMasterGetParameterQuantization, VST_HOST_OPCODE_0C);
SAME_NUMBER(audioMasterIOChanged, VST_HOST_OPCODE_0D);
SAME_NUMBER(audioMasterNeedIdle, VST_HOST_OPCODE_0E);
SAME_NUMBER(audioMasterSizeWindow, VST_HOST_OPCODE_0F);
SAME_NUMBER(audioMasterGetSampleRate, VST_HOST_OPCODE_10);
SAME_NUMBER(audioMasterGetBlockSize, VST_HOST_OPCODE_11);
SAME_NUMBER(audioMasterGetInputLatency, VST_HOST_OPCODE_12);
SAME_NUMBER(audioMasterGetOutputLatency, VST_HOST_OPCODE_13);
SAME_NUMBER(audioMasterGetPreviousPlug, VST_HOST_OPCODE_14);
SAME_NUMBER(audioMasterGetNextPlug, VST_HOST_OPCODE_15);
SAME_NUMBER(audioMasterWillReplaceOrAccumulate, VST_HOST_OPCODE_16);
SAME_NUMBER(audioMasterGetCurrentProcessLevel, VST_HOST_OPCODE_17);
SAME_NUMBER(audioMasterGetAutomationState, VST_HOST_OPCODE_18);
SAME_NUMBER(audioMasterOfflineStart, VST_HOST_OPCODE_19);
SAME_NUMBER(audioMasterOfflineRead, VST_HOST_OPCODE_1A);
SAME_NUMBER(audioMasterOfflineWrite, VST_HOST_OPCODE_1B);
SAME_NUMBER(audioMasterOfflineGetCurrentPass, VST_HOST_OPCODE_1C);
SAME_NUMBER(audioMasterOfflineGetCurrentMetaPass, VST_HOST_OPCODE_1D);
SAME_NUMBER(audioMasterSetOutputSampleRate, VST_HOST_OPCODE_1E);
SAME_NUMBER(audioMasterGetOutputSpeakerArrangement, VST_HOST_OPCODE_1F);
SAME_NUMBER(audioMasterGetVendorString, VST_HOST_OPCODE_20);
SAME_NUMBER(audioMasterGetProductString, VST_HOST_OPCODE_21);
SAME_NUMBER(audioMasterGetVendorVersion, VST_HOST_OPCODE_22);
SAME_NUMBER(audioMasterVendorSpecific, VST_HOST_OPCODE_23);
SAME_NUMBER(audioMasterSetIcon, VST_HOST_OPCODE_24);
SAME_NUMBER(audioMasterCanDo, VST_HOST_OPCODE_25);
SAME_NUMBER(audioMasterGetLanguage, VST_HOST_OPCODE_26);
SAME_NUMBER(audioMasterOpenWindow, VST_HOST_OPCODE_27);
SAME_NUMBER(audioMasterCloseWindow, VST_HOST_OPCODE_28);
SAME_NUMBER(audioMasterGetDirectory, VST_HOST_OPCODE_29);
SAME_NUMBER(audioMasterUpdateDisplay, VST_HOST_OPCODE_2A);
SAME_NUMBER(audioMasterBeginEdit, VST_HOST_OPCODE_2B);
SAME_NUMBER(audioMasterEndEdit, VST_HOST_OPCODE_2C);
SAME_NUMBER(audioMasterOpenFileSelector, VST_HOST_OPCODE_2D);
SAME_NUMBER(audioMasterCloseFileSelector, VST_HOST_OPCODE_2E);
SAME_NUMBER(audioMasterEditFile, VST_HOST_OPCODE_2F);
PUBLISHED(audioMasterGetChunkFile, 48);
PUBLISHED(audioMasterGetInputSpeakerArrangement, 49);

// --- Plug-in categories and string lengths -----------------------------------------------------
SAME_NUMBER(kPlugCategUnknown, VST_CATEGORY_UNCATEGORIZED);
SAME_NUMBER(kPlugCategEffect, VST_CATEGORY_01);
SAME_NUMBER(kPlugCategSynth, VST_CATEGORY_02);
SAME_NUMBER(kPlugCategAnalysis, VST_CATEGORY_03);
SAME_NUMBER(kPlugCategMastering, VST_CATEGORY_04);
SAME_NUMBER(kPlugCategSpacializer, VST_CATEGORY_05);
SAME_NUMBER(kPlugCategRoomFx, VST_CATEGORY_06);
SAME_NUMBER(kPlugSurroundFx, VST_CATEGORY_07);
SAME_NUMBER(kPlugCategRestoration, VST_CATEGORY_RESTORATION);
SAME_NUMBER(kPlugCategOfflineProcess, VST_CATEGORY_09);
SAME_NUMBER(kPlugCategShell, VST_CATEGORY_CONTAINER);
SAME_NUMBER(kPlugCategGenerator, VST_CATEGORY_0B);
SAME_NUMBER(kPlugCategMaxCount, VST_CATEGORY_MAX);

SAME_NUMBER(kVstMaxProgNameLen, VST_BUFFER_24);
SAME_NUMBER(kVstMaxParamStrLen, VST_BUFFER_8);
SAME_NUMBER(kVstMaxVendorStrLen, VST_VENDOR_BUFFER_SIZE);
SAME_NUMBER(kVstMaxProductStrLen, VST_PRODUCT_BUFFER_SIZE);
SAME_NUMBER(kVstMaxEffectNameLen, VST_EFFECT_BUFFER_SIZE);
SAME_NUMBER(kVstMaxNameLen, VST_NAME_BUFFER_SIZE);
SAME_NUMBER(kVstMaxLabelLen, sizeof(vst_parameter_properties::name));
SAME_NUMBER(kVstMaxShortLabelLen, sizeof(vst_parameter_properties::label));
SAME_NUMBER(kVstMaxCategLabelLen, sizeof(vst_parameter_properties::category_label));
SAME_NUMBER(kVstMaxFileNameLen, VST_BUFFER_100);

// --- ERect -------------------------------------------------------------------------------------
static_assert(sizeof(ERect) == sizeof(vst_rect) && sizeof(ERect) == 8);
SAME_FIELD(ERect, top, vst_rect, top);
SAME_FIELD(ERect, left, vst_rect, left);
SAME_FIELD(ERect, bottom, vst_rect, bottom);
SAME_FIELD(ERect, right, vst_rect, right);

// --- Records and constants that header does not define: published values -----------------------
static_assert(sizeof(VstEvent) == 32);
PUBLISHED_FIELD(VstEvent, type, 0, 4);
PUBLISHED_FIELD(VstEvent, byteSize, 4, 4);
PUBLISHED_FIELD(VstEvent, deltaFrames, 8, 4);
PUBLISHED_FIELD(VstEvent, flags, 12, 4);
PUBLISHED_FIELD(VstEvent, data, 16, 16);

static_assert(sizeof(VstEvents) == 32);
PUBLISHED_FIELD(VstEvents, numEvents, 0, 4);
PUBLISHED_FIELD(VstEvents, reserved, 8, 8);
PUBLISHED_FIELD(VstEvents, events, 16, 16);

static_assert(sizeof(VstMidiEvent) == sizeof(VstEvent));
PUBLISHED_FIELD(VstMidiEvent, type, 0, 4);
PUBLISHED_FIELD(VstMidiEvent, byteSize, 4, 4);
PUBLISHED_FIELD(VstMidiEvent, deltaFrames, 8, 4);
PUBLISHED_FIELD(VstMidiEvent, flags, 12, 4);
PUBLISHED_FIELD(VstMidiEvent, noteLength, 16, 4);
PUBLISHED_FIELD(VstMidiEvent, noteOffset, 20, 4);
PUBLISHED_FIELD(VstMidiEvent, midiData, 24, 4);
PUBLISHED_FIELD(VstMidiEvent, detune, 28, 1);
PUBLISHED_FIELD(VstMidiEvent, noteOffVelocity, 29, 1);
PUBLISHED_FIELD(VstMidiEvent, reserved1, 30, 1);
PUBLISHED_FIELD(VstMidiEvent, reserved2, 31, 1);

PUBLISHED(kVstMidiType, 1);
PUBLISHED(kVstSysExType, 6);

static_assert(sizeof(VstPinProperties) == 128);
PUBLISHED_FIELD(VstPinProperties, label, 0, 64);
PUBLISHED_FIELD(VstPinProperties, flags, 64, 4);
PUBLISHED_FIELD(VstPinProperties, arrangementType, 68, 4);
PUBLISHED_FIELD(VstPinProperties, shortLabel, 72, 8);
PUBLISHED_FIELD(VstPinProperties, future, 80, 48);
PUBLISHED(kVstPinIsActive, 1);
PUBLISHED(kVstPinIsStereo, 2);
PUBLISHED(kVstPinUseSpeaker, 4);

static_assert(sizeof(VstKeyCode) == 8);
PUBLISHED_FIELD(VstKeyCode, character, 0, 4);
PUBLISHED_FIELD(VstKeyCode, virt, 4, 1);
PUBLISHED_FIELD(VstKeyCode, modifier, 5, 1);
// Anchors at every run boundary of the implicit key enumeration.
PUBLISHED(VKEY_BACK, 1);
PUBLISHED(VKEY_RETURN, 4);
PUBLISHED(VKEY_ESCAPE, 6);
PUBLISHED(VKEY_SPACE, 7);
PUBLISHED(VKEY_LEFT, 11);
PUBLISHED(VKEY_DOWN, 14);
PUBLISHED(VKEY_ENTER, 19);
PUBLISHED(VKEY_DELETE, 22);
PUBLISHED(VKEY_NUMPAD0, 24);
PUBLISHED(VKEY_NUMPAD9, 33);
PUBLISHED(VKEY_DIVIDE, 39);
PUBLISHED(VKEY_F1, 40);
PUBLISHED(VKEY_F12, 51);
PUBLISHED(VKEY_SHIFT, 54);
PUBLISHED(VKEY_EQUALS, 57);
PUBLISHED(MODIFIER_SHIFT, 1);
PUBLISHED(MODIFIER_ALTERNATE, 2);
PUBLISHED(MODIFIER_COMMAND, 4);
PUBLISHED(MODIFIER_CONTROL, 8);

