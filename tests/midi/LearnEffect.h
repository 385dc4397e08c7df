// The effect object driven directly, for MIDI operations only the editor reaches.
#pragma once

#include "engine/APlugin.h"
#include "midi/MidiEvents.h"

#include <vector>

struct LearnEffect : APlugin {
    LearnEffect() : APlugin(nullptr) {}
    using APlugin::ccToParam;

    // Queues events as the host would and runs one block of silence so that they are dispatched.
    void deliver(std::vector<VstMidiEvent> events) {
        std::vector<VstEvent*> pointers;
        for (auto& event : events)
            pointers.push_back(reinterpret_cast<VstEvent*>(&event));
        std::vector<char> storage(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<VstInt32>(pointers.size());
        for (size_t i = 0; i < pointers.size(); ++i)
            list->events[i] = pointers[i];
        processEvents(list);
        float silence[2][4] = {};
        float* inputs[] = {silence[0], silence[1]};
        float output[2][4];
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
