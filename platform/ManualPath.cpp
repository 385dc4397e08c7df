// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ManualPath.h"

#include <cstdio>
#include <cstdlib>
#include <glib.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder passes access(R_OK) but is no manual.
bool readableFile(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), R_OK) == 0;
}

std::string perUserManual() {
    // Relative values of XDG_DATA_HOME are invalid by the XDG rules and ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/doc/orvane/" + kManualFileName;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') home = g_get_home_dir();
    return std::string(home) + "/.local/share/doc/orvane/" + kManualFileName;
}

} // namespace

void findManual(const char* packagePath, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return;
    const char* variable = std::getenv("ORVANE_MANUAL_PATH");
    const std::string candidates[] = {variable ? variable : "", perUserManual(),
                                      packagePath ? packagePath : ""};
    const std::string* found = &candidates[2];
    for (const std::string& candidate : candidates) {
        // A path the caller's buffer would cut is not the file it names.
        if (candidate.size() < capacity && readableFile(candidate)) {
            found = &candidate;
            break;
        }
    }
    std::snprintf(out, capacity, "%s", found->c_str());
}
