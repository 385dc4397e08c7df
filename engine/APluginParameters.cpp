// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter model: storage, names and display texts, typed entry.
#include "engine/APlugin.h"

#include "platform/Dialogs.h"
#include "platform/TextUtils.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

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

constexpr float kSplitRangeMultiplier = 3.99f;
constexpr float kMonoTypeMultiplier = 19.99f;
constexpr float kMonoNoteMultiplier = 127.99f;

// The entries a list parameter chooses from, and the multiplier that reads its value as one.
struct ChoiceList {
    const char* const* names = nullptr;
    int count = 0;
    float multiplier = 1.0f;
};

ChoiceList choiceList(int index) {
    switch (index) {
    case kSplitRange:
        return {MONO_SPLIT_RANGE_STR, 4, kSplitRangeMultiplier};
    case kMonoType:
        return {MONO_TYPE_STR, 4, kMonoTypeMultiplier};
    case kMonoNote:
        return {MIDI_NOTE_STR, 113, kMonoNoteMultiplier};
    default:
        return {};
    }
}

// Entry number (counted from 1, as the entry dialog counts) to the value that selects it.
float listEntryValue(float number, float multiplier) {
    return (number - 1.0f + 0.1f) / multiplier;
}

bool isSwitch(int index) {
    return index == kAirOn || index == kSplitOn || index == kSplitSolo || index == kBypass ||
           index == kSplitNoteMode;
}

// Text entry is forgiving about case and spaces: "l+r" names "L + R", "35khz" is "35 kHz".
std::string looseText(const char* text) {
    std::string loose;
    for (; *text; ++text)
        if (!std::isspace(static_cast<unsigned char>(*text)))
            loose += static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
    return loose;
}

std::string trailingLetters(const std::string& text) {
    size_t start = text.size();
    while (start > 0 && std::isalpha(static_cast<unsigned char>(text[start - 1])))
        --start;
    return text.substr(start);
}

// A typed value may land a rounding error outside the range (40000 Hz reads as 1.00009).
constexpr float kEntrySlack = 0.001f;

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
double answerNumber(char* answer) {
    stripAllButNum(answer);
    return std::atof(answer);
}

} // namespace

void APlugin::setParameter(VstInt32 index, float value) {
    // NaN cannot be ordered by the clamp and infinity is no intended value: keep the previous one.
    if (!std::isfinite(value)) return;
    // Slot 127 is an action, not a setting: a write above 0 reloads the current factory program
    // and the slot goes back to 0. Hosts restore a state by writing every index back in order,
    // so a stored non-zero value would wipe what they had just restored.
    if (index == kReloadProgram) {
        if (clamp01(value) > 0.0001f) {
            loadFactoryValues(factoryIndex);
            resetCapture();
        }
        value = 0.0f;
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
    if (index >= kNameFirst && index <= kNameLast) adoptProgramNamedInSlots();
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
    displayText(index, getParameter(index), text);
}

void APlugin::displayText(VstInt32 index, float v, char* text) {
    text[0] = 0;
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
        std::strcpy(text, MONO_SPLIT_RANGE_STR[limitedIndex(v, kSplitRangeMultiplier, 4)]);
        break;
    case kMonoType:
        std::strcpy(text, MONO_TYPE_STR[limitedIndex(v, kMonoTypeMultiplier, 4)]);
        break;
    case kMonoNote:
        std::strcpy(text, MIDI_NOTE_STR[limitedIndex(v, kMonoNoteMultiplier, 113)]);
        break;
    default:
        break;
    }
}

bool APlugin::getIsOn(int index) {
    return validIndex(index) && getParameter(index) >= 0.5f;
}

int APlugin::getMonoType() {
    return limitedIndex(paramValues[kMonoType], kMonoTypeMultiplier, 4);
}

int APlugin::getMonoSplitRange() {
    return limitedIndex(paramValues[kSplitRange], kSplitRangeMultiplier, 4);
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
    const float number = static_cast<float>(answerNumber(answer));
    setParameter(index, clamp01(listEntryValue(number, multiplier)));
}

void APlugin::setNumValue(int index) {
    char title[128] = {};
    getParameterName(index, title);
    if (!validIndex(index)) return;
    const float v = paramValues[index];
    char answer[kAnswerCapacity] = {};
    const char* prompt = nullptr;
    switch (index) {
    case kMainVolume:
        std::snprintf(answer, sizeof answer, "%.1f", 40.0f * v - 20.0f);
        prompt = "-20 to 20 db";
        break;
    case kAirOn:
    case kSplitOn:
    case kSplitSolo:
    case kBypass:
    case kSplitNoteMode:
        std::strcpy(answer, v >= 0.5f ? "On" : "Off");
        prompt = index == kSplitNoteMode ? "0 for Frequency, 1 for Note" : "0 for Off, 1 for On";
        break;
    case kAirAmount:
        std::snprintf(answer, sizeof answer, "%.1f", 6.0f * v);
        prompt = "0 to 6 db";
        break;
    case kAirFrequency:
        std::snprintf(answer, sizeof answer, "%.0f hz", airFrequency(v));
        prompt = "30000hz to 40000hz";
        break;
    case kSplitFrequency: {
        static const char* const prompts[4] = {"20hz to 150hz", "20hz to 300hz", "20hz to 500hz",
                                               "20hz to 20500z"};
        const int r = getMonoSplitRange();
        std::snprintf(answer, sizeof answer, "%.0f hz",
                      20.0f * std::pow(2.0f, MONO_FREQ_MULT[r] * v));
        prompt = prompts[r];
        break;
    }
    case kMonoType: {
        const ChoiceList list = choiceList(index);
        getLimitedValue(index, v, list.multiplier, list.count, list.names);
        return;
    }
    default:
        return;
    }
    inputBox(prompt, title, answer, sizeof answer);
    // A switch's answer is stripped before the emptiness test, so confirming "On" changes nothing.
    if (isSwitch(index)) stripAllButNum(answer);
    if (!answer[0]) return;
    setParameter(index, clamp01(typedEntryValue(index, answerNumber(answer))));
}

float APlugin::typedEntryValue(int index, double number) {
    const float n = static_cast<float>(number);
    switch (index) {
    case kMainVolume:
        return n / 40.0f + 0.5f;
    case kAirOn:
    case kSplitOn:
    case kSplitSolo:
    case kBypass:
    case kSplitNoteMode:
        return number >= 0.5 ? 1.0f : 0.0f;
    case kAirAmount:
        return n / 6.0f;
    case kAirFrequency:
        return std::log(n / 30000.0f) / 0.28765607f;
    case kSplitFrequency:
        return std::log(n / 20.0f) / (MONO_FREQ_MULT[getMonoSplitRange()] * 0.6931472f);
    case kMonoType:
        return listEntryValue(n, kMonoTypeMultiplier);
    default:
        return std::numeric_limits<float>::quiet_NaN();
    }
}

bool APlugin::textValue(int index, const char* text, float& value) {
    if (!text || !validIndex(index)) return false;
    const std::string typed = looseText(text);
    const ChoiceList list = choiceList(index);
    for (int k = 0; k < list.count; ++k)
        if (typed == looseText(list.names[k])) {
            value = listEntryValue(static_cast<float>(k + 1), list.multiplier);
            return true;
        }
    if (isSwitch(index))
        for (const float v : {0.0f, 1.0f}) {
            char shown[kVstMaxParamStrLen * 4];
            displayText(index, v, shown);
            if (typed == looseText(shown)) {
                value = v;
                return true;
            }
        }

    char* end = nullptr;
    double number = std::strtod(typed.c_str(), &end);
    if (end == typed.c_str() || !std::isfinite(number)) return false;
    const std::string unit = end;
    char lowest[kVstMaxParamStrLen * 4];
    displayText(index, 0.0f, lowest);
    const std::string shownUnit = trailingLetters(looseText(lowest));
    const bool frequency = shownUnit == "hz" || shownUnit == "khz";
    // The entry reads Hz. Where even the lowest readout is in kHz, a bare number below 1000 can
    // only mean kHz: "35" is the 35.0 kHz the readout shows.
    if (unit == "khz" ? frequency : unit.empty() && shownUnit == "khz" && std::fabs(number) < 1000)
        number *= 1000.0;
    else if (!unit.empty() && !(unit == "hz" && frequency) && !(unit == "db" && unit == shownUnit))
        return false;
    if (list.count > 0 && (number != std::floor(number) || number < 1 || number > list.count))
        return false;
    const float v = typedEntryValue(index, number);
    if (!(v >= -kEntrySlack && v <= 1.0f + kEntrySlack)) return false;
    value = clamp01(v);
    return true;
}

bool APlugin::enterText(int index, const char* text) {
    float value;
    if (!textValue(index, text, value)) return false;
    setParameter(index, value);
    return true;
}

const char* APlugin::ToFilterStr(int index, float octaves) {
    thread_local char text[32]; // editors of two instances may run on two threads
    formatFrequency(text, sizeof text, 20.0f * std::pow(2.0f, octaves * getParameter(index)));
    return text;
}

const char* APlugin::ToFilterStr(int index) {
    thread_local char text[32]; // editors of two instances may run on two threads
    formatFrequency(text, sizeof text, 20.0f * std::pow(2.0f, 10.0f * getParameter(index)));
    return text;
}

const char* APlugin::ToFilterStr(int index, float low, float high, bool lowerCase) {
    thread_local char text[32]; // editors of two instances may run on two threads
    const float hz = low * std::pow(2.0f, std::log2(high / low) * getParameter(index));
    if (lowerCase)
        std::snprintf(text, sizeof text, "%.0f hz", hz);
    else
        formatFrequency(text, sizeof text, hz);
    return text;
}

const char* APlugin::ToFilterStr(float value, bool lowerCase) {
    thread_local char text[32]; // editors of two instances may run on two threads
    const float hz = 20.0f * std::pow(2.0f, 10.0f * value);
    if (hz >= 1000.0f && !lowerCase)
        std::snprintf(text, sizeof text, "%.1f khz", hz / 1000.0f);
    else
        std::snprintf(text, sizeof text, "%.0f hz", hz);
    return text;
}
