// Real-time safety: what the processing thread calls inside processReplacing, processEvents and
// setParameter, counted by the preloaded interposer. Every count must be 0.
#include "tools/rtcheck/RtCheck.h"
#include "tools/validate/Audio.h"
#include "tools/validate/EditorWindow.h"
#include "tools/validate/Groups.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <random>
#include <thread>

namespace orvane::validate {

namespace {

using Begin = void (*)();
using End = void (*)(OrvaneRtCounts*);

struct Interposer {
    Begin begin = reinterpret_cast<Begin>(dlsym(RTLD_DEFAULT, "orvane_rtcheck_begin"));
    End end = reinterpret_cast<End>(dlsym(RTLD_DEFAULT, "orvane_rtcheck_end"));
    bool loaded() const { return begin && end; }
};

// Sums what each armed call did.
struct Tally {
    OrvaneRtCounts total{};
    void add(const OrvaneRtCounts& counts) {
        if (!total.first[0]) std::memcpy(total.first, counts.first, sizeof total.first);
        total.allocations += counts.allocations;
        total.locks += counts.locks;
        total.waits += counts.waits;
        total.files += counts.files;
        total.systemCalls += counts.systemCalls;
    }
    Outcome outcome(int calls) const {
        const unsigned sum =
            total.allocations + total.locks + total.waits + total.files + total.systemCalls;
        if (sum == 0) return pass(std::to_string(calls) + " calls");
        return fail(std::to_string(total.allocations) + " allocations, " +
                    std::to_string(total.locks) + " locks, " + std::to_string(total.waits) +
                    " waits, " + std::to_string(total.files) + " file and " +
                    std::to_string(total.systemCalls) + " other system calls in " +
                    std::to_string(calls) + " calls; the first was " + total.first);
    }
};

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
    Interposer interposer;
    if (!interposer.loaded())
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
    Tally tally;
    int calls = 0;
    std::atomic<bool> finished{false};
    std::thread audio([&] {
        float* in[2] = {source.channel[0].data(), source.channel[1].data()};
        float* out[2] = {output.channel[0].data(), output.channel[1].data()};
        OrvaneRtCounts counts;
        for (int block = 0; block < blocks; ++block) {
            if (withMidi) {
                VstEvents* events = midi[static_cast<size_t>(block) % midi.size()].get();
                interposer.begin();
                effect->dispatcher(effect, effProcessEvents, 0, 0, events, 0);
                interposer.end(&counts);
                tally.add(counts);
                ++calls;
            }
            if (withParameters && parameters > 0)
                for (int k = 0; k < 8; ++k) {
                    const auto& [index, value] =
                        changes[static_cast<size_t>(block * 8 + k) % changes.size()];
                    interposer.begin();
                    effect->setParameter(effect, index, value);
                    interposer.end(&counts);
                    tally.add(counts);
                    ++calls;
                }
            interposer.begin();
            effect->processReplacing(effect, in, out, kBlock);
            interposer.end(&counts);
            tally.add(counts);
            ++calls;
        }
        finished = true;
    });
    while (window && !finished.load()) {
        window->idle(*plugin);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    audio.join();
    if (window) window->close(*plugin);
    return tally.outcome(calls);
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
