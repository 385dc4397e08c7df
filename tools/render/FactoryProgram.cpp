// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/FactoryProgram.h"

#include "engine/APlugin.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

bool sameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

} // namespace

std::optional<int> factoryProgramFromArgument(const std::string& argument) {
    char* end = nullptr;
    const long number = std::strtol(argument.c_str(), &end, 10);
    if (!argument.empty() && *end == 0)
        return number >= 0 && number < kNumFactoryPrograms ? std::optional<int>(number)
                                                           : std::nullopt;
    for (int n = 0; n < kNumFactoryPrograms; ++n)
        if (sameIgnoringCase(argument, DEMO_NAME_STR[n])) return n;
    return std::nullopt;
}

std::string factoryProgramName(int program) {
    return DEMO_NAME_STR[program];
}

bool selectFactoryProgram(orvane::testhost::Plugin& plugin, int program) {
    // A name that matches no program (empty) selects the first one.
    const std::string name = program == 0 ? "" : DEMO_NAME_STR[program];
    for (int slot = 0; slot <= kNameLast - kNameFirst; ++slot) {
        const double code =
            slot < static_cast<int>(name.size()) ? static_cast<unsigned char>(name[slot]) : 0.0;
        plugin.setParameter(kNameFirst + slot,
                            static_cast<float>(std::round(code / 255.0 * 1e6) / 1e6));
    }
    plugin.dispatch(effSetProgram, 0, 0);
    return plugin.programName() == DEMO_NAME_STR[program];
}
