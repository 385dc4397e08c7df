// SPDX-License-Identifier: GPL-3.0-or-later
// The run-time state's starting condition.
#include "engine/APlugin.h"

void APlugin::initVariables() {
    sampleCounter = 0;
    airReset = false;
    editorRefreshPending = false;
    for (int ch = 0; ch < 2; ++ch) {
        outputPair[ch] = 0.0f;
        inputPair[ch] = 0.0f;
        meterPair[ch] = 0.0f;
    }
    mainGain = 1.0f;
    for (auto& value : recallValues)
        value = -1.0f;
    programEdited = false;
    workingRate = 44100.0f;
    hostRate = 44098.0f;
    airFilter.init(44100.0f);
    splitFilter.init(44100.0f);
    airOn = false;
    splitOn = false;
    splitSolo = false;
    splitFullRange = false;
}
