// SPDX-License-Identifier: GPL-3.0-or-later
// Every parameter: texts within their buffers, set/get round trips, values no host should send.
#include "tools/validate/Audio.h"
#include "tools/validate/Groups.h"
#include "tools/validate/Guarded.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace orvane::validate {

namespace {

// Hosts give parameter texts a buffer well beyond the 8 characters VST 2.4 names; 64 bytes is
// what plug-ins may use.
constexpr std::size_t kTextLimit = kVstMaxNameLen;

const char* textOf(testhost::Plugin& plugin, VstInt32 opcode, VstInt32 index, char (&text)[512]) {
    std::memset(text, kFill, sizeof text);
    plugin.dispatch(opcode, index, 0, text);
    return textProblem(text, sizeof text, kTextLimit);
}

// Names, labels and display texts of index; empty when all are fine. For an index the plug-in
// does not have, leaving the buffer alone is fine too.
std::string textsOf(testhost::Plugin& plugin, VstInt32 index, bool mayIgnore = false) {
    const struct {
        VstInt32 opcode;
        const char* what;
    } queries[] = {{effGetParamName, "name"},
                   {effGetParamLabel, "label"},
                   {effGetParamDisplay, "display text"}};
    for (const auto& query : queries) {
        char text[512];
        const char* problem = textOf(plugin, query.opcode, index, text);
        if (problem && !(mayIgnore && static_cast<unsigned char>(text[0]) == kFill))
            return "parameter " + std::to_string(index) + " " + query.what + " " + problem;
    }
    return {};
}

std::string valueProblem(int index, float value, const char* after) {
    if (std::isfinite(value) && value >= 0.0f && value <= 1.0f) return {};
    return "parameter " + std::to_string(index) + " reads " + std::to_string(value) + " after " +
           after;
}

Outcome texts(const Settings& settings) {
    std::string error;
    auto plugin = startPlugin(settings, error);
    if (!plugin) return fail(error);
    const int count = plugin->effect()->numParams;
    for (int index = 0; index < count; ++index) {
        // At both ends of the range and in between: texts often grow with the value.
        for (float value : {0.0f, 0.37f, 1.0f}) {
            plugin->setParameter(index, value);
            const std::string problem = textsOf(*plugin, index);
            if (!problem.empty()) return fail(problem + " at value " + std::to_string(value));
        }
    }
    return pass(std::to_string(count) + " parameters at 0, 0.37 and 1");
}

Outcome roundTrips(const Settings& settings) {
    std::string error;
    auto plugin = startPlugin(settings, error);
    if (!plugin) return fail(error);
    const int count = plugin->effect()->numParams;
    for (int index = 0; index < count; ++index)
        for (float value : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
            plugin->setParameter(index, value);
            const float read = plugin->getParameter(index);
            std::string problem = valueProblem(index, read, "setting it in range");
            if (!problem.empty()) return fail(problem);
            // What the plug-in answers is what a host saves: setting it again must hold.
            plugin->setParameter(index, read);
            const float again = plugin->getParameter(index);
            if (std::memcmp(&again, &read, sizeof read) != 0)
                return fail("parameter " + std::to_string(index) + " set to " +
                            std::to_string(value) + " reads " + std::to_string(read) +
                            ", set to that it reads " + std::to_string(again));
        }
    return pass();
}

Outcome nonFinite(const Settings& settings) {
    std::string error;
    auto plugin = startPlugin(settings, error);
    if (!plugin) return fail(error);
    const int count = plugin->effect()->numParams;
    const float odd[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, -0.5f, 1.5f, 1e-42f};
    for (int index = 0; index < count; ++index)
        for (float value : odd) {
            plugin->setParameter(index, value);
            std::string problem = valueProblem(index, plugin->getParameter(index), "an odd value");
            if (problem.empty()) problem = textsOf(*plugin, index);
            if (!problem.empty()) return fail(problem + " (" + std::to_string(value) + ")");
        }
    const std::string problem = renderProblem(*plugin, 22050, settings.outputLimit, settings.seed);
    if (!problem.empty()) return fail("output afterwards: " + problem);
    return pass();
}

Outcome outsideIndices(const Settings& settings) {
    std::string error;
    auto plugin = startPlugin(settings, error);
    if (!plugin) return fail(error);
    const int count = plugin->effect()->numParams;
    for (int index : {-1, count, count + 1, 1 << 20, INT_MAX, INT_MIN}) {
        plugin->setParameter(index, 0.5f);
        if (!std::isfinite(plugin->getParameter(index)))
            return fail("index " + std::to_string(index) + " reads a non-finite value");
        const std::string problem = textsOf(*plugin, index, true);
        if (!problem.empty()) return fail(problem);
        plugin->dispatch(effCanBeAutomated, index);
        plugin->dispatch(effGetParameterProperties, index); // null properties
    }
    const std::string problem = renderProblem(*plugin, 4096, settings.outputLimit, settings.seed);
    if (!problem.empty()) return fail("output afterwards: " + problem);
    return pass();
}

} // namespace

void parameterGroup(Report& report, const Settings& settings) {
    report.run("parameters", "names, labels and display texts within 64 bytes",
               [&] { return texts(settings); });
    report.run("parameters", "set/get round trips hold", [&] { return roundTrips(settings); });
    report.run("parameters", "NaN, infinities and out-of-range values read back in 0..1",
               [&] { return nonFinite(settings); });
    report.run("parameters", "indices outside the range are harmless",
               [&] { return outsideIndices(settings); });
}

} // namespace orvane::validate
