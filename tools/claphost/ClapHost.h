// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal CLAP host: loads a module with dlopen, creates its plug-in, processes with
// parameter and MIDI events inside blocks, moves state through streams that take a few bytes
// per call, runs the editor on its timers, and notes every callback made on the wrong thread.
#pragma once

#include <clap/plugin.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane::claphost {

struct Event {
    enum Kind { Value, Midi, GestureBegin, GestureEnd };
    Kind kind;
    std::uint32_t frame = 0;
    clap_id id = 0;   // parameters
    double value = 0; // plain value
    std::uint8_t midi[3] = {};
    std::uint32_t flags = 0;
};

inline Event valueEvent(std::uint32_t frame, clap_id id, double value) {
    return {Event::Value, frame, id, value};
}
inline Event midiEvent(std::uint32_t frame, std::uint8_t status, std::uint8_t a, std::uint8_t b) {
    Event e{Event::Midi, frame};
    e.midi[0] = status;
    e.midi[1] = a;
    e.midi[2] = b;
    return e;
}

struct HostOptions {
    double sampleRate = 44100;
    std::uint32_t maxFrames = 4096;
    bool timers = true; // offer timer-support
};

// What the plug-in asked of the host.
struct HostLog {
    int flushRequests = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> resizeRequests;
    std::vector<std::string> threadFaults; // "callback: why"
};

// Events as a host hands them to the plug-in: built before the call, read after it.
class InputEvents {
public:
    explicit InputEvents(const std::vector<Event>& events); // sorted by frame here
    InputEvents(const InputEvents&) = delete;               // the list points at this object
    InputEvents& operator=(const InputEvents&) = delete;
    const clap_input_events_t* list() const { return &events; }

private:
    union Storage {
        clap_event_header_t header;
        clap_event_param_value_t value;
        clap_event_midi_t midi;
    };
    std::vector<Storage> storage;
    clap_input_events_t events{};
};

class OutputEvents {
public:
    OutputEvents(); // room for a block's worth, so pushing allocates nothing
    OutputEvents(const OutputEvents&) = delete; // the list points at this object
    OutputEvents& operator=(const OutputEvents&) = delete;
    const clap_output_events_t* list() const { return &out; }
    std::vector<Event> events;

private:
    clap_output_events_t out{};
};

class ClapPlugin {
public:
    // The module's one plug-in, created, initialised and activated (processing started).
    static std::unique_ptr<ClapPlugin> load(const std::string& path, HostOptions options = {},
                                            std::string* error = nullptr);
    ~ClapPlugin();
    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    const clap_plugin_t* plugin() const { return instance; }
    const clap_plugin_descriptor_t* descriptor() const { return instance->desc; }
    const void* extension(const char* id) const;

    // Audio thread. Null buffers are passed as such; in == out processes in place. Answers
    // the plug-in's output events.
    std::vector<Event> process(const float* inLeft, const float* inRight, float* outLeft,
                               float* outRight, std::uint32_t frames,
                               const std::vector<Event>& events = {});
    // The plug-in's process call alone, as the audio thread makes it.
    clap_process_status process(const clap_process_t& process);
    // Main thread, with processing stopped around it as a host does.
    std::vector<Event> flush(const std::vector<Event>& events = {});
    void setProcessing(bool on);

    // Parameters by id.
    bool value(clap_id id, double& value) const;
    std::string text(clap_id id, double value) const;

    // Streams moving at most bytesPerCall bytes per call.
    std::vector<std::uint8_t> saveState(std::size_t bytesPerCall = 1 << 20);
    bool loadState(const std::vector<std::uint8_t>& bytes, std::size_t bytesPerCall = 1 << 20);

    // The editor embedded in parent, run by runTimers as the host's timer would.
    bool openEditor(unsigned long parent);
    void runTimers();
    void closeEditor();

    HostLog& log();

private:
    struct Host;
    explicit ClapPlugin(std::unique_ptr<Host> host);
    std::unique_ptr<Host> host;
    const clap_plugin_t* instance = nullptr;
};

// The Orvane.clap this build produced.
std::string builtClapPath();

} // namespace orvane::claphost
