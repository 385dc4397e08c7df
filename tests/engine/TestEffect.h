// SPDX-License-Identifier: GPL-3.0-or-later
// The effect object driven directly, for operations only the editor reaches.
#pragma once

#include "engine/APlugin.h"
#include "midi/MidiEvents.h"

#include <string>
#include <vector>

struct TestEffect : APlugin {
    TestEffect() : APlugin(nullptr) {}
    using APlugin::ccToParam;

    std::string programName() {
        char name[64] = {};
        getProgramName(name);
        return name;
    }

    // Queues events as the host would and runs one block of silence so that they are dispatched.
    void deliver(std::vector<VstMidiEvent> events) {
        std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<VstInt32>(events.size());
        for (size_t i = 0; i < events.size(); ++i)
            list->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
        processEvents(list);
        float silence[2][4] = {}, output[2][4];
        float* inputs[] = {silence[0], silence[1]};
        float* outputs[] = {output[0], output[1]};
        processReplacing(inputs, outputs, 4);
    }

    std::vector<int> controllersOf(int parameter) {
        std::vector<int> controllers;
        for (int c = 0; c < kNumParams; ++c)
            if (ccToParam[c] == parameter) controllers.push_back(c);
        return controllers;
    }
};
