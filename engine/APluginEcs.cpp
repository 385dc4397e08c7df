// SPDX-License-Identifier: GPL-3.0-or-later
// ECS files (controller assignments exchanged between users) and the fixed paths.
#include "engine/APlugin.h"

#include "engine/EcsFile.h"
#include "platform/Dialogs.h"
#include "platform/ManualPath.h"
#include "platform/Preferences.h"

#include <cstdio>
#include <cstdlib>
#include <glib.h>

#ifndef ORVANE_PACKAGE_MANUAL
#error "ORVANE_PACKAGE_MANUAL names the package's manual; the build defines it"
#endif

namespace {

constexpr const char* kEcsProblem = "Problem with ECS File";

void storeDefaultOnce(const char* key, const char* value) {
    char stored[256];
    loadStringFromPrefs(key, stored, sizeof stored);
    if (!stored[0]) saveStringToPrefs(key, value);
}

} // namespace

void APlugin::getDirectoryPaths() {
    loadStringFromPrefs("ECSDir", ecsDir, sizeof ecsDir);
    if (!ecsDir[0]) {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') home = g_get_home_dir();
        std::snprintf(ecsDir, sizeof ecsDir, "%s/Documents/Halvick/Orvane/ECS/", home);
        saveStringToPrefs("ECSDir", ecsDir);
    }
    getHelpPath();
    storeDefaultOnce("MidiPreset", "N");
    updateMidiPreset();
    storeDefaultOnce("Key", "Y");
    // Absent, the settings panel would show capture on while MIDI treats it as off.
    storeDefaultOnce("Capture", "N");
}

const char* APlugin::getHelpPath() {
    findManual(ORVANE_PACKAGE_MANUAL, helpPath, sizeof helpPath);
    return helpPath;
}

void APlugin::LoadECS() {
    char folder[kDialogPathCapacity] = {};
    char path[kDialogPathCapacity] = {};
    fileSelectLoadDir("ECS Loader", ecsDir, "Load", "*.ecs", "", folder, path);
    if (!path[0]) return;
    int bindings[kEcsEntries];
    if (!readEcsFile(path, bindings)) {
        messageBox(kEcsProblem, 0);
        return;
    }
    for (int controller = 0; controller < kEcsEntries; ++controller)
        ccToParam[controller] = bindings[controller];
    setAllMidiCC(bindings);
    // Imported bindings take today's values as their pick-up points.
    resetCapture();
}

void APlugin::SaveECS() {
    char folder[kDialogPathCapacity] = {};
    char path[kDialogPathCapacity] = {};
    fileSelectSaveDir("ECS Save", ecsDir, "Save", "Orvane.ecs", folder, path);
    if (!path[0]) return;
    int bindings[kEcsEntries];
    for (int controller = 0; controller < kEcsEntries; ++controller)
        bindings[controller] = ccToParam[controller];
    if (!writeEcsFile(path, bindings)) messageBox(kEcsProblem, 0);
}
