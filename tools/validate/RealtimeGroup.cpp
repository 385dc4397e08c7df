// SPDX-License-Identifier: GPL-3.0-or-later
// Real-time safety: what the processing thread calls inside processReplacing, processEvents and
// setParameter, counted by the preloaded interposer. Every count must be 0.
#include "tools/validate/Audio.h"
#include "tools/validate/EditorWindow.h"
#include "tools/validate/Groups.h"
#include "tools/validate/RealtimeCounter.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

namespace orvane::validate {

namespace {

// MIDI the host might send in one block: controllers, program changes, notes, pitch bend.
class MidiBlock {
public:
    MidiBlock(int block, std::mt19937& random) : events(16) {
        for (auto& event : events) {
            event = VstMidiEvent{};
            event.type = kVstMidiType;
            event.byteSize = sizeof(VstMidiEvent);
            event.deltaFrames = static_cast<VstInt32>(random() % static_cast<unsigned>(block));
            static const int kStatus[] = {0xB0, 0xB0, 0xB0, 0xC0, 0x90, 0xE0};
            event.midiData[0] = static_cast<char>(kStatus[random() % 6] | (random() % 16));
            event.midiData[1] = static_cast<char>(random() % 128);
            event.midiData[2] = static_cast<char>(random() % 128);
        }
        // Hosts send events in time order.
        std::sort(events.begin(), events.end(), [](const VstMidiEvent& a, const VstMidiEvent& b) {
            return a.deltaFrames < b.deltaFrames;
        });
        // VstEvents ends in a pointer array that hosts extend.
        storage.resize(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<VstInt32>(events.size());
        VstEvent** slots = list->events;
        for (size_t i = 0; i < events.size(); ++i)
            slots[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    VstEvents* get() { return reinterpret_cast<VstEvents*>(storage.data()); }

private:
    std::vector<VstMidiEvent> events;
    std::vector<char> storage;
};

enum Mode { kAudioOnly, kWithMidi, kWithParameters, kWithEditor };

// Runs on a thread of its own, as a host's processing thread would.
Outcome processingThread(const Settings& settings, Mode mode) {
    RealtimeCounter counter;
    if (!counter.available())
        return skip("the interposer liborvane_rtcheck.so is not loaded (LD_PRELOAD)");
    std::string error;
    constexpr int kBlock = 256;
    auto plugin = startPlugin(settings, error, 44100, kBlock);
    if (!plugin) return fail(error);
    // With the editor open, what the processing thread hands to it is counted too.
    std::unique_ptr<EditorWindow> window;
    if (mode == kWithEditor) {
        if (!(plugin->effect()->flags & effFlagsHasEditor))
            return skip("no editor (effFlagsHasEditor)");
        window = std::make_unique<EditorWindow>();
        if (!window->problem().empty()) return skip(window->problem());
        window->open(*plugin);
    }
    const bool withMidi = mode == kWithMidi || mode == kWithEditor;
    const bool withParameters = mode == kWithParameters || mode == kWithEditor;
    const int blocks = static_cast<int>(settings.renderSeconds() * 44100 / kBlock);
    const Stereo input = testSignal(kBlock, 44100, settings.seed);
    Stereo source = input;
    Stereo output(kBlock);
    std::mt19937 random(settings.seed);
    std::vector<MidiBlock> midi;
    for (int i = 0; withMidi && i < 64; ++i)
        midi.emplace_back(kBlock, random);
    const int parameters = plugin->effect()->numParams;
    std::vector<std::pair<int, float>> changes;
    for (int i = 0; i < 4096; ++i)
        changes.emplace_back(static_cast<int>(random() % std::max(parameters, 1)),
                             static_cast<float>(random() % 1001) / 1000.0f);
    AEffect* effect = plugin->effect();
    std::atomic<bool> finished{false};
    std::thread audio([&] {
        float* in[2] = {source.channel[0].data(), source.channel[1].data()};
        float* out[2] = {output.channel[0].data(), output.channel[1].data()};
        for (int block = 0; block < blocks; ++block) {
            if (withMidi) {
                VstEvents* events = midi[static_cast<size_t>(block) % midi.size()].get();
                counter.count(
                    [&] { effect->dispatcher(effect, effProcessEvents, 0, 0, events, 0); });
            }
            if (withParameters && parameters > 0)
                for (int k = 0; k < 8; ++k) {
                    const auto& [index, value] =
                        changes[static_cast<size_t>(block * 8 + k) % changes.size()];
                    counter.count([&] { effect->setParameter(effect, index, value); });
                }
            counter.count([&] { effect->processReplacing(effect, in, out, kBlock); });
        }
        finished = true;
    });
    while (window && !finished.load()) {
        window->idle(*plugin);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    audio.join();
    if (window) window->close(*plugin);
    return counter.clean() ? pass(counter.summary()) : fail(counter.summary());
}

} // namespace

void realtimeGroup(Report& report, const Settings& settings) {
    report.run("realtime", "processReplacing",
               [&] { return processingThread(settings, kAudioOnly); });
    report.run("realtime",
               "processEvents with MIDI (controllers, programs, notes) and processReplacing",
               [&] { return processingThread(settings, kWithMidi); });
    report.run("realtime", "setParameter on the processing thread and processReplacing",
               [&] { return processingThread(settings, kWithParameters); });
    report.run("realtime", "MIDI, setParameter and processReplacing while the editor is open",
               [&] { return processingThread(settings, kWithEditor); });
}

} // namespace orvane::validate
