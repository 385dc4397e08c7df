// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-manual-facts OUT.md IN.md...: joins the manual's chapters and replaces every {{...}}
// with a fact read from the effect itself, so the manual cannot drift from the parameter model.
//   {{Name@v}}            display text of the parameter called Name at normalised value v
//   {{A@x; B@y}}          the same after setting A to x first (e.g. a split range)
//   {{parameters}}        table of the sound parameters, {{programs}} of the factory programs
//   {{mono types}}, {{split ranges}}, {{first note}}, {{last note}}, {{version}}
// An unknown name fails the build instead of leaving a hole in the manual.
#include "engine/APlugin.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const int kSoundParameters[] = {kMainVolume, kAirOn,     kAirAmount,      kAirFrequency,
                                kSplitOn,    kSplitSolo, kSplitFrequency, kSplitNoteMode,
                                kSplitRange, kMonoType,  kMonoNote,       kBypass};

struct Effect : APlugin {
    Effect() : APlugin(nullptr) {}
};

std::string trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

int indexOf(Effect& effect, const std::string& name) {
    for (int index : kSoundParameters) {
        char text[64] = {};
        effect.getParameterName(index, text);
        if (name == text) return index;
    }
    throw std::runtime_error("no parameter is called '" + name + "'");
}

std::string display(Effect& effect, int index) {
    char text[64] = {};
    effect.getParameterDisplay(index, text);
    return text;
}

std::string name(Effect& effect, int index) {
    char text[64] = {};
    effect.getParameterName(index, text);
    return text;
}

// "A@x; B@y": each setting applied in turn on a fresh start; the last one's display is the fact.
std::string displayAfter(const std::string& settings) {
    Effect effect;
    std::stringstream list(settings);
    std::string setting;
    std::string result;
    while (std::getline(list, setting, ';')) {
        const size_t at = setting.rfind('@');
        if (at == std::string::npos) throw std::runtime_error("'" + setting + "' lacks @value");
        const int index = indexOf(effect, trim(setting.substr(0, at)));
        char* end = nullptr;
        const std::string value = trim(setting.substr(at + 1));
        const float v = std::strtof(value.c_str(), &end);
        if (value.empty() || *end) throw std::runtime_error("'" + value + "' is no value");
        effect.setParameter(index, v);
        result = display(effect, index);
    }
    return result;
}

std::string parameterTable() {
    Effect effect;
    std::string table = "| Parameter | From | To | At start |\n|---|---|---|---|\n";
    for (int index : kSoundParameters) {
        const std::string start = display(effect, index);
        const float saved = effect.getParameter(index);
        effect.setParameter(index, 0.0f);
        const std::string low = display(effect, index);
        effect.setParameter(index, 1.0f);
        const std::string high = display(effect, index);
        effect.setParameter(index, saved);
        table += "| " + name(effect, index) + " | " + low + " | " + high + " | " + start + " |\n";
    }
    return table;
}

std::string programTable() {
    Effect effect;
    std::string table = "| Program | Air | Amount | Air Frequency | Split | Split Frequency | "
                        "Range | Mono Type |\n|---|---|---|---|---|---|---|---|\n";
    for (int n = 0; n < kNumFactoryPrograms; ++n) {
        effect.setDemoProgram(n);
        char program[64] = {};
        effect.getProgramName(program);
        table += "| " + std::string(program);
        for (int index :
             {kAirOn, kAirAmount, kAirFrequency, kSplitOn, kSplitFrequency, kSplitRange, kMonoType})
            table += " | " + display(effect, index);
        table += " |\n";
    }
    return table;
}

std::string listOf(const char* const* texts, int count) {
    std::string list;
    for (int i = 0; i < count; ++i)
        list += std::string(i == 0 ? "" : i + 1 == count ? " and " : ", ") + "\"" + texts[i] + "\"";
    return list;
}

std::string splitRanges() {
    std::string list;
    for (int r = 0; r < 4; ++r) {
        char setting[96];
        std::snprintf(setting, sizeof setting,
                      "Mono Split Range@%f; Mono / Stereo Split Frequency@1", r / 3.0);
        list += std::string(r == 0   ? ""
                            : r == 3 ? " and "
                                     : ", ") +
                "\"" + MONO_SPLIT_RANGE_STR[r] + "\" (up to " + displayAfter(setting) + ")";
    }
    return list;
}

std::string fact(const std::string& key) {
    if (key == "parameters") return parameterTable();
    if (key == "programs") return programTable();
    if (key == "mono types") return listOf(MONO_TYPE_STR, 4);
    if (key == "split ranges") return splitRanges();
    if (key == "first note") return MIDI_NOTE_STR[0];
    if (key == "last note") return MIDI_NOTE_STR[112];
    if (key == "version") {
        Effect effect;
        const int v = effect.getVendorVersion();
        return std::to_string((v >> 16) & 0xff) + "." + std::to_string((v >> 8) & 0xff) + "." +
               std::to_string(v & 0xff);
    }
    if (key.find('@') != std::string::npos) return displayAfter(key);
    throw std::runtime_error("unknown fact {{" + key + "}}");
}

std::string substitute(const std::string& text) {
    std::string out;
    size_t at = 0;
    for (size_t open; (open = text.find("{{", at)) != std::string::npos;) {
        const size_t close = text.find("}}", open);
        if (close == std::string::npos) throw std::runtime_error("unclosed {{");
        out += text.substr(at, open - at) + fact(text.substr(open + 2, close - open - 2));
        at = close + 2;
    }
    return out + text.substr(at);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: orvane-manual-facts OUT.md IN.md...\n");
        return 2;
    }
    try {
        std::string manual;
        for (int i = 2; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            if (!in) throw std::runtime_error(std::string("cannot read ") + argv[i]);
            std::stringstream text;
            text << in.rdbuf();
            manual += substitute(text.str()) + "\n";
        }
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out << manual;
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvane-manual-facts: %s\n", error.what());
        return 1;
    }
    return 0;
}
