// The parameter model: storage, names and display texts, typed entry.
#include "engine/APlugin.h"

#include "editor/uEditor.h"

#include "platform/Dialogs.h"
#include "platform/TextUtils.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const float MONO_FREQ_MULT[4] = {2.90689063f, 3.90689063f, 4.64385605f, 10.0f};

namespace {

constexpr const char* kUnnamed = "~~~";

const char* const kParameterNames[] = {
    kUnnamed,
    "Main Volume",
    "Air On / Off",
    "Air Amount",
    "Air Frequency",
    "Mono / Stereo Split On / Off",
    "Mono / Stereo Split Solo On / Off",
    "Mono / Stereo Split Frequency",
    "Mono / Stereo Frequency / Note",
    "Mono Split Range",
    "Mono Type",
    "Mono Note Value",
};
constexpr int kNamedLast = kMonoNote;

constexpr int kAnswerCapacity = 512;

bool validIndex(VstInt32 index) {
    return static_cast<std::uint32_t>(index) < kNumParams;
}

// NaN (a typed frequency of 0 or below has no logarithm) counts as the low end.
float clamp01(float v) {
    if (!(v >= 0.0f)) return 0.0f;
    if (v > 1.0f) return 1.0f;
    return v;
}

int limitedIndex(float value, float multiplier, int count) {
    int i = static_cast<int>(multiplier * value + 0.1f);
    if (i < 0) i = 0;
    if (i > count - 1) i = count - 1;
    return i;
}

void formatFrequency(char* out, size_t size, float hz) {
    if (hz < 1000.0f)
        std::snprintf(out, size, "%.0f Hz", hz);
    else
        std::snprintf(out, size, "%.1f kHz", hz / 1000.0f);
}

float airFrequency(float v) {
    return 30000.0f * std::pow(2.0f, 0.41503757f * v);
}

const char* onOff(float v) {
    return v > 0.5f ? "On" : "Off";
}

// The typed answer as a number: stripped to digits and signs first, non-numbers read as 0.
float answerNumber(char* answer) {
    stripAllButNum(answer);
    return static_cast<float>(std::atof(answer));
}

} // namespace

void APlugin::setParameter(VstInt32 index, float value) {
    // NaN cannot be ordered by the clamp and infinity is no intended value: keep the previous one.
    if (!std::isfinite(value)) return;
    // Hosts restore a saved state by writing every index back in order; reloading the factory
    // program on that last write would wipe what they just restored. Only a real change reloads.
    if (index == kReloadProgram &&
        std::fabs(clamp01(value) - paramValues[kReloadProgram]) > 0.0001f) {
        loadFactoryValues(factoryIndex);
        resetCapture();
    }
    if (!validIndex(index)) return;
    const float v = clamp01(value);
    paramValues[index] = v;
    programRecord.values[index] = v;
    editValues[index] = v;
    if (std::fabs(v - lastSetValues[index]) > 0.0001f) {
        lastSetValues[index] = v;
        const float recalled = recallValues[index];
        if (recalled > -0.5f && std::fabs(v - recalled) > 0.0001f) programEdited = true;
    }
    if (index == kReloadProgram) editorRefreshPending = true;
    if (isEditorOpen()) ownEditor->setParameter(index, v);
}

float APlugin::getParameter(VstInt32 index) {
    return validIndex(index) ? paramValues[index].load() : 0.0f;
}

void APlugin::getParameterName(VstInt32 index, char* text) {
    if (!text) return;
    const bool named = (index >= 0 && index <= kNamedLast);
    std::strcpy(text, index == kBypass ? "Bypass" : named ? kParameterNames[index] : kUnnamed);
}

void APlugin::getParameterLabel(VstInt32, char* label) {
    if (label) std::strcpy(label, " ");
}

void APlugin::getParameterDisplay(VstInt32 index, char* text) {
    if (!text) return;
    text[0] = 0;
    const float v = getParameter(index);
    constexpr size_t size = kVstMaxParamStrLen * 4; // hosts give at least this much in practice
    switch (index) {
    case kMainVolume:
    case kAirAmount:
        std::snprintf(text, size, "%.1f dB", index == kMainVolume ? 40.0f * v - 20.0f : 6.0f * v);
        break;
    case kAirOn:
    case kSplitOn:
    case kSplitSolo:
    case kBypass:
        std::strcpy(text, onOff(v));
        break;
    case kAirFrequency:
        formatFrequency(text, size, airFrequency(v));
        break;
    case kSplitFrequency:
        formatFrequency(text, size,
                        20.0f * std::pow(2.0f, clamp01(v) * MONO_FREQ_MULT[getMonoSplitRange()]));
        break;
    case kSplitNoteMode:
        std::strcpy(text, v > 0.5f ? "Note" : "Frequency");
        break;
    case kSplitRange:
        std::strcpy(text, MONO_SPLIT_RANGE_STR[getMonoSplitRange()]);
        break;
    case kMonoType:
        std::strcpy(text, MONO_TYPE_STR[getMonoType()]);
        break;
    case kMonoNote:
        std::strcpy(text, MIDI_NOTE_STR[limitedIndex(v, 127.99f, 113)]);
        break;
    default:
        break;
    }
}

bool APlugin::getIsOn(int index) {
    return validIndex(index) && getParameter(index) >= 0.5f;
}

int APlugin::getMonoType() {
    return limitedIndex(paramValues[kMonoType], 19.99f, 4);
}

int APlugin::getMonoSplitRange() {
    return limitedIndex(paramValues[kSplitRange], 3.99f, 4);
}

int APlugin::getLimitedValue(int index, float multiplier, int count) {
    if (!validIndex(index)) return 0;
    return limitedIndex(paramValues[index], multiplier, count);
}

void APlugin::getLimitedValue(int index, float, float multiplier, int count,
                              const char* const* list) {
    if (!validIndex(index) || !list || count < 1) return;
    char title[128] = {};
    getParameterName(index, title);
    char answer[kAnswerCapacity];
    std::snprintf(answer, sizeof answer, "%d",
                  static_cast<int>(paramValues[index] * multiplier + 0.1f) + 1);
    char prompt[256];
    std::snprintf(prompt, sizeof prompt, "1 [%s] to %d [%s]", list[0], count, list[count - 1]);
    inputBox(prompt, title, answer, sizeof answer);
    if (!answer[0]) return;
    const float number = answerNumber(answer);
    setParameter(index, clamp01((number - 1.0f + 0.1f) / multiplier));
}

void APlugin::setNumValue(int index) {
    char title[128] = {};
    getParameterName(index, title);
    if (!validIndex(index)) return;
    const float v = paramValues[index];
    char answer[kAnswerCapacity] = {};
    auto ask = [&](const char* prompt) {
        inputBox(prompt, title, answer, sizeof answer);
        return answer[0] != 0;
    };
    auto askSwitch = [&](const char* prompt) {
        std::strcpy(answer, v >= 0.5f ? "On" : "Off");
        inputBox(prompt, title, answer, sizeof answer);
        stripAllButNum(answer);
        if (!answer[0]) return;
        setParameter(index, std::atof(answer) >= 0.5 ? 1.0f : 0.0f);
    };
    switch (index) {
    case kMainVolume:
        std::snprintf(answer, sizeof answer, "%.1f", 40.0f * v - 20.0f);
        if (ask("-20 to 20 db")) setParameter(index, clamp01(answerNumber(answer) / 40.0f + 0.5f));
        break;
    case kAirOn:
    case kSplitOn:
    case kSplitSolo:
    case kBypass:
        askSwitch("0 for Off, 1 for On");
        break;
    case kAirAmount:
        std::snprintf(answer, sizeof answer, "%.1f", 6.0f * v);
        if (ask("0 to 6 db")) setParameter(index, clamp01(answerNumber(answer) / 6.0f));
        break;
    case kAirFrequency:
        std::snprintf(answer, sizeof answer, "%.0f hz", airFrequency(v));
        if (ask("30000hz to 40000hz"))
            setParameter(index, clamp01(std::log(answerNumber(answer) / 30000.0f) / 0.28765607f));
        break;
    case kSplitFrequency: {
        static const char* const prompts[4] = {"20hz to 150hz", "20hz to 300hz", "20hz to 500hz",
                                               "20hz to 20500z"};
        const int r = getMonoSplitRange();
        std::snprintf(answer, sizeof answer, "%.0f hz",
                      20.0f * std::pow(2.0f, MONO_FREQ_MULT[r] * v));
        if (ask(prompts[r]))
            setParameter(index, clamp01(std::log(answerNumber(answer) / 20.0f) /
                                        (MONO_FREQ_MULT[r] * 0.6931472f)));
        break;
    }
    case kSplitNoteMode:
        askSwitch("0 for Frequency, 1 for Note");
        break;
    case kMonoType:
        getLimitedValue(index, v, 19.99f, 4, MONO_TYPE_STR);
        break;
    default:
        break;
    }
}

const char* APlugin::ToFilterStr(int index, float octaves) {
    static char text[32];
    formatFrequency(text, sizeof text, 20.0f * std::pow(2.0f, octaves * getParameter(index)));
    return text;
}

const char* APlugin::ToFilterStr(int index) {
    static char text[32];
    formatFrequency(text, sizeof text, 20.0f * std::pow(2.0f, 10.0f * getParameter(index)));
    return text;
}

const char* APlugin::ToFilterStr(int index, float low, float high, bool lowerCase) {
    static char text[32];
    const float hz = low * std::pow(2.0f, std::log2(high / low) * getParameter(index));
    if (lowerCase)
        std::snprintf(text, sizeof text, "%.0f hz", hz);
    else
        formatFrequency(text, sizeof text, hz);
    return text;
}

const char* APlugin::ToFilterStr(float value, bool lowerCase) {
    static char text[32];
    const float hz = 20.0f * std::pow(2.0f, 10.0f * value);
    if (hz >= 1000.0f && !lowerCase)
        std::snprintf(text, sizeof text, "%.1f khz", hz / 1000.0f);
    else
        std::snprintf(text, sizeof text, "%.0f hz", hz);
    return text;
}
