// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/NamedParameters.h"

#include "engine/APlugin.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* kUnnamed = "~~~";
// Fine enough to meet every entry of the longest list and the ends of every range.
constexpr int kProbeSteps = 4096;
constexpr size_t kMostListed = 8;

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The parameters with a name are the sound parameters.
std::vector<int> soundParameters(orvane::testhost::Plugin& plugin) {
    std::vector<int> indices;
    for (int index = 0; index < plugin.effect()->numParams; ++index)
        if (plugin.parameterName(index) != kUnnamed) indices.push_back(index);
    return indices;
}

int parameterNamed(orvane::testhost::Plugin& plugin, const std::string& name) {
    const std::string wanted = lowerCase(trimmed(name));
    for (int index : soundParameters(plugin))
        if (lowerCase(plugin.parameterName(index)) == wanted) return index;
    return -1;
}

// What the readout can show, found by sweeping the value: the entries of a list, or the ends
// of a range. The parameter keeps its value.
std::string rangeText(orvane::testhost::Plugin& plugin, int index) {
    const float kept = plugin.getParameter(index);
    std::vector<std::string> shown;
    for (int step = 0; step <= kProbeSteps; ++step) {
        plugin.setParameter(index, static_cast<float>(step) / kProbeSteps);
        std::string text = plugin.parameterDisplay(index);
        if (std::find(shown.begin(), shown.end(), text) == shown.end())
            shown.push_back(std::move(text));
    }
    plugin.setParameter(index, kept);
    if (shown.size() > kMostListed) return shown.front() + " to " + shown.back();
    std::string list;
    for (const std::string& entry : shown)
        list += (list.empty() ? "" : ", ") + entry;
    return list;
}

} // namespace

void applySetting(orvane::testhost::Plugin& plugin, const std::string& name,
                  const std::string& value) {
    const int index = parameterNamed(plugin, name);
    if (index < 0)
        throw UsageError("--set: no parameter is named \"" + trimmed(name) +
                         "\"; --list-params shows every name");
    std::string text = trimmed(value);
    if (text.empty() || !plugin.dispatch(effVendorSpecific, kTextEntryCode, index, text.data()))
        throw UsageError("--set: " + plugin.parameterName(index) + " cannot be \"" + text +
                         "\"; it takes " + rangeText(plugin, index));
}

std::string parameterList(orvane::testhost::Plugin& plugin) {
    const std::vector<int> indices = soundParameters(plugin);
    size_t nameWidth = 0, rangeWidth = 0;
    std::vector<std::string> ranges;
    for (int index : indices) {
        nameWidth = std::max(nameWidth, plugin.parameterName(index).size());
        ranges.push_back(rangeText(plugin, index));
        rangeWidth = std::max(rangeWidth, ranges.back().size());
    }
    std::string list;
    char line[512];
    for (size_t i = 0; i < indices.size(); ++i) {
        std::snprintf(line, sizeof line, "%-*s  %-*s  %s\n", static_cast<int>(nameWidth),
                      plugin.parameterName(indices[i]).c_str(), static_cast<int>(rangeWidth),
                      ranges[i].c_str(), plugin.parameterDisplay(indices[i]).c_str());
        list += line;
    }
    return list;
}
