// SPDX-License-Identifier: GPL-3.0-or-later
// The effect: parameters, audio path, programs and state chunk, MIDI control.
// One class, implemented across engine/APlugin*.cpp by concern.
#pragma once

#include "dsp/TFilter.h"
#include "dsp/TParaEQ.h"
#include "engine/EffectEditor.h"
#include "engine/Relaxed.h"
#include "engine/VendorCodes.h"
#include "host/AudioEffectX.h"

#include <array>
#include <cstdint>
#include <memory>

class uEditor;

constexpr int kNumParams = 128;
constexpr int kNumFactoryPrograms = 8;
constexpr int kChunkSize = 544;
constexpr int kMidiQueueSize = 250;
constexpr int kPathCapacity = 1024;

// Parameter indices with a meaning; every other index below 128 is stored but carries nothing.
enum ParamIndex : int {
    kMainVolume = 1,
    kAirOn = 2,
    kAirAmount = 3,
    kAirFrequency = 4,
    kSplitOn = 5,
    kSplitSolo = 6,
    kSplitFrequency = 7,
    kSplitNoteMode = 8,
    kSplitRange = 9,
    kMonoType = 10,
    kMonoNote = 11,
    kMemoryA = 13, // 13..23 hold copies of 1..11
    kMemoryB = 25, // 25..35 hold copies of 1..11
    kBypass = 40,
    kLampA = 41,
    kLampB = 42,
    kNameFirst = 90,
    kNameLast = 117,
    kReloadProgram = 127,
};

extern const float MONO_FREQ_MULT[4];
extern const char* const MONO_TYPE_STR[4];
extern const char* const MONO_SPLIT_RANGE_STR[4];
extern const char* const MIDI_NOTE_STR[113];
extern const std::array<std::array<float, kNumParams>, kNumFactoryPrograms> DEMOVAR;
extern const std::array<float, kNumParams> CLEAR_PRESET_VALUES;
extern const char* const DEMO_NAME_STR[kNumFactoryPrograms];

struct ProgramRecord {
    Relaxed<float> values[kNumParams];
    char name[32] = {};
};

class APlugin : public AudioEffectX {
public:
    // Without makeEditor the effect has no editor (tools, tests).
    explicit APlugin(audioMasterCallback audioMaster, EditorFactory makeEditor = nullptr);
    ~APlugin() override;

    // Host interface
    void suspend() override;
    bool beginEdit(VstInt32 index) override;
    bool endEdit(VstInt32 index) override;
    bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg) override;
    VstInt32 canDo(char* text) override;
    virtual float getVu();
    bool isEditorOpen();
    void editorResume();
    bool getEditChanged() const { return programEdited; }

    // Parameters
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool getIsOn(int index);
    int getMonoType();
    int getMonoSplitRange();
    int getLimitedValue(int index, float multiplier, int count);
    void getLimitedValue(int index, float value, float multiplier, int count,
                         const char* const* list);
    void setNumValue(int index);
    // Text entry without a dialog: a readout's words ("L + R", "On"), or a number in the typed
    // entry's terms with an optional unit ("+3 dB", "35 kHz"). False, and nothing changes, for
    // a text the parameter cannot take. Hosts reach it through kTextEntryCode.
    bool enterText(int index, const char* text);
    // The value enterText would set for text, without setting it.
    bool textValue(int index, const char* text, float& value);
    const char* ToFilterStr(int index, float octaves);
    const char* ToFilterStr(int index);
    const char* ToFilterStr(int index, float low, float high, bool lowerCase);
    const char* ToFilterStr(float value, bool lowerCase);
    void initVariables();

    // Audio path
    void setSampleRate(float rate) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void __processDeprecated(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void resetEverything();

    // Programs and state chunk
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    const char* getPresetName(int n);
    void setDemoProgram(int n);
    void changeDemoProgramDelta(int delta);
    void doPresetCommand(int command);
    void recallProgram();
    void editProgram();
    void setDefaultSettings();

    // MIDI control, learn and ECS files
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;
    void resume() override;
    VstInt32 processEvents(VstEvents* events) override;
    void processMidi();
    void setMidiLatch(int parameter, bool latch);
    void resetMidi();
    void setMidiCCNum(int parameter);
    void setAllMidiControls();
    void updateMidiChannel();
    void updateMidiPreset();
    bool getMidiCapture();
    void resetCapture();
    int getMidiCC(int controller);
    void setMidiCC(int controller, int parameter);
    void LoadECS();
    void SaveECS();
    void getDirectoryPaths();
    const char* getEcsDir() const { return ecsDir; }
    // Looked up afresh each time: the manual may be installed while the host runs.
    const char* getHelpPath();

protected:
    // The editor sets the opening flags and reads the default values.
    friend class uEditor;
    // The editor created by the constructor; the base owns it as its editor.
    EffectEditor* ownEditor = nullptr;

    Relaxed<float> paramValues[kNumParams];

    // Program bookkeeping
    ProgramRecord programRecord;
    Relaxed<float> editValues[kNumParams];
    Relaxed<float> recallValues[kNumParams];
    Relaxed<float> lastSetValues[kNumParams];
    float defaultValues[kNumParams] = {};
    Relaxed<int> factoryIndex{0};
    Relaxed<bool> programEdited{false};
    Relaxed<bool> editorRefreshPending{false};
    Relaxed<bool> editorReady{false};
    Relaxed<bool> editorBuilding{false};
    Relaxed<float> spareVu{0.0f};
    Relaxed<bool> programChangeFromMidi{false};
    Relaxed<bool> displayUpdatePending{false};

    // Audio path state (processing thread unless noted)
    std::uint32_t sampleCounter = 0;
    float inputPair[2] = {};
    float outputPair[2] = {};
    Relaxed<float> meterPair[2];
    float mainGain = 1.0f;
    bool airOn = false;
    bool splitOn = false;
    bool splitSolo = false;
    bool splitFullRange = false;
    bool airReset = false;
    Relaxed<float> workingRate{44100.0f};
    Relaxed<float> hostRate{44098.0f};
    TParaEQ airFilter;
    TFilter splitFilter;

    // Chunk hosts and their staging buffers
    bool hostPropVendor = false;
    bool hostMaschine = false;
    bool hostKore = false;
    bool hostVantro = false;
    unsigned char bankChunkBuffer[kChunkSize] = {};
    unsigned char programChunkBuffer[kChunkSize] = {};

    // MIDI: the queue and midiPending belong to the processing thread; the rest is shared.
    std::unique_ptr<VstMidiEvent[]> midiQueue;
    int midiPending = 0;
    Relaxed<int> ccToParam[kNumParams];
    Relaxed<float> captureReference[kNumParams];
    Relaxed<bool> captureTaken[kNumParams];
    Relaxed<bool> latchArmed{false};
    Relaxed<int> latchTarget{-1};
    Relaxed<int> midiChannelFilter{-1};
    Relaxed<bool> midiProgramChange{false};
    char ecsDir[kPathCapacity] = {};
    char helpPath[kPathCapacity] = {};

private:
    // Filter re-initialisation requested by the dispatcher thread, carried out by the processing
    // thread before its next sample so the blocks are never re-initialised under its feet.
    enum PendingReset : int {
        kNoReset,
        kReinitBlocks,
        kResetProgram,
        kReinitThenReset,
        kResetThenReinit,
    };
    std::atomic<int> pendingReset{kNoReset};
    void requestReset(PendingReset request);
    void applyPendingReset();
    void displayText(VstInt32 index, float v, char* text);
    // What the typed entry stores for a number, before clamping; NaN where it takes none.
    float typedEntryValue(int index, double number);
    void runFrame(float left, float right, float& outLeft, float& outRight);
    void processSound();
    void setAir();
    void setGlobalOften();
    void updateVu();
    void detectChunkHost();
    // The requests of engine/VendorCodes.h other than text entry; false for any other code.
    bool answerAdapter(VstInt32 code, VstIntPtr value, void* ptr, float opt, VstIntPtr& answer);
    void serveChunk(unsigned char* staging);
    void loadFactoryValues(int program);
    void adoptProgramNamedInSlots();
    void copyIntoLive(const Relaxed<float>* source, int count);
    void applyChunk(const unsigned char* chunk, unsigned char* staging);
    void initMidi();
    void releaseMidi();
    void dispatchMidi(const char* data);
    void controlChange(int controller, float value);
    void unbindParameter(int parameter);
};
