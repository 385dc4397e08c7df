// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/ModulePath.h"

#include "tools/testhost/TestHost.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

bool exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

std::string programDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/'));
}

} // namespace

std::string defaultModulePath() {
    std::string candidates[4];
    const std::string directory = programDirectory();
    if (!directory.empty()) {
        candidates[0] = directory + "/Orvane.so";
        candidates[1] = directory + "/../lib/vst/Orvane.so";
    }
    if (const char* vstPath = std::getenv("VST_PATH"); vstPath && vstPath[0] == '/') {
        const std::string first(vstPath);
        candidates[2] = first.substr(0, first.find(':')) + "/Orvane.so";
    }
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        candidates[3] = std::string(home) + "/.vst/Orvane.so";
    for (const std::string& candidate : candidates)
        if (!candidate.empty() && exists(candidate)) return candidate;
    return orvane::testhost::builtPluginPath();
}
