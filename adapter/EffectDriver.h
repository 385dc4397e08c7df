// SPDX-License-Identifier: GPL-3.0-or-later
// One instance of the effect as every format adapter drives it: built through the effect's
// VST 2.4 entry point and driven only through its AEffect, so a module that holds no engine of
// its own (the LV2 interface) can use it too. The effect's values are the truth: a host value
// enters when the host changes it, and what the effect changes by itself is collected here for
// the adapter to report in its format's way.
#pragma once

#include "adapter/ExposedParameters.h"
#include "adapter/StateForm.h"
#include "host/vst2.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvane::adapter {

class EffectDriver {
public:
    // What the effect tells its host, passed on. Called on the thread that runs the editor.
    class Listener {
    public:
        virtual void gesture(std::size_t exposed, bool begin) = 0; // a control is touched or let go
        virtual void edited(std::size_t exposed, float normalised) = 0; // the editor moved it
        virtual void resized(int width, int height) = 0;

    protected:
        ~Listener() = default;
    };

    // Null when the effect cannot be built.
    static std::unique_ptr<EffectDriver> create(double sampleRate);
    ~EffectDriver(); // closes the effect
    EffectDriver(const EffectDriver&) = delete;
    EffectDriver& operator=(const EffectDriver&) = delete;

    AEffect* effect() const { return aeffect; }
    void setListener(Listener* listener); // null detaches; any thread

    // Main thread, never while process runs.
    void setSampleRate(double rate);
    void setBlockSize(int frames);
    void setActive(bool active);

    // A host change made outside processing: applied at once (main thread, or a format's flush).
    void setValue(std::size_t exposed, float normalised);
    // The effect's normalised value of an exposed parameter; any thread.
    float value(std::size_t exposed) const;

    // Processing thread: host changes and MIDI for the coming process call, at their frame.
    // False when the block's capacity is full (the change or event is dropped).
    bool queueValue(std::size_t exposed, float normalised, std::uint32_t frame);
    bool queueMidi(const std::uint8_t* bytes, std::size_t size, std::uint32_t frame);
    // Runs frames samples: each queued change applies at its frame, each MIDI event acts at
    // its frame. Null buffers give silence on the outputs there are.
    void process(const float* const* inputs, float* const* outputs, std::uint32_t frames);

    // What the effect changed by itself (editor, MIDI, programs, A/B recall, a restored state)
    // since the last call: report(exposed, normalised) for each exposed value that differs
    // from what was last reported or taken from the host. From the processing thread after
    // process, or from the main thread while the host is not processing.
    template <typename Report> void collectChanges(Report&& report) {
        for (std::size_t i = 0; i < kExposedCount; ++i) {
            const float now = value(i);
            if (known[i].exchange(now, std::memory_order_relaxed) != now) report(i, now);
        }
    }

    // The saved state: the host's changes not yet applied are folded in, so it holds the values
    // the host shows. Restore answers false, changing nothing, for bytes it does not know.
    // unseen: per exposed parameter, a host value the adapter has not handed over yet (NaN for
    // none), for formats whose save may come before the process call that would take it.
    bool saveState(unsigned char (&state)[kStateBytes], const float* unseen = nullptr);
    bool restoreState(const void* state, std::size_t size);

    // Texts from the effect itself: the readout's words for a value ("-10.0 dB", "L + R"), and
    // the value the typed entry would take for a text (false when it takes none).
    bool displayText(std::size_t exposed, float normalised, char* text, std::size_t size);
    bool parseText(std::size_t exposed, const char* text, float& normalised);

    // The factory programs, as the editor's program menu has them.
    int programCount() const;
    bool programName(int program, char* text, std::size_t size);
    void selectProgram(int program); // main thread
    int currentProgram();

private:
    static constexpr std::size_t kValueCapacity = 512;
    static constexpr std::size_t kMidiCapacity = 256;
    struct QueuedValue {
        std::uint32_t frame;
        std::uint32_t exposed;
        float normalised;
    };

    EffectDriver();
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0);
    VstIntPtr answerHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);
    void apply(const QueuedValue& change);
    void handOverMidi(std::uint32_t frames);
    void runSpan(const float* const* inputs, float* const* outputs, std::uint32_t begin,
                 std::uint32_t end);

    AEffect* aeffect = nullptr;
    std::atomic<float> known[kExposedCount];
    // Queued host values not yet applied, for saveState; NaN where none waits.
    std::atomic<float> waiting[kExposedCount];
    std::atomic<Listener*> listener{nullptr};
    std::atomic<double> rate{44100.0};
    std::atomic<int> blockSize{1024};
    QueuedValue values[kValueCapacity];
    std::size_t valueCount = 0;
    VstMidiEvent midi[kMidiCapacity];
    std::uint32_t midiFrames[kMidiCapacity];
    std::size_t midiCount = 0;
    std::unique_ptr<unsigned char[]> eventList; // a VstEvents with room for every event
};

} // namespace orvane::adapter
