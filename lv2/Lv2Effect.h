// One LV2 instance: hosts the effect through its VST 2.4 entry point and dispatcher, turns port
// values into parameter changes, the MIDI port into timed events, and state into its chunk.
#pragma once

#include "lv2/InstanceLink.h"
#include "lv2/Ports.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <atomic>
#include <memory>

namespace orvane::lv2 {

class Lv2Effect : public InstanceLink {
public:
    // Null when the host gives no URID map or the effect cannot be built.
    static Lv2Effect* create(double sampleRate, const LV2_Feature* const* features);
    ~Lv2Effect();
    Lv2Effect(const Lv2Effect&) = delete;
    Lv2Effect& operator=(const Lv2Effect&) = delete;

    void connect(std::uint32_t port, void* data);
    void activate(bool on);
    void run(std::uint32_t frames);
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

private:
    static constexpr int kEventCapacity = 256;

    explicit Lv2Effect(LV2_URID_Map* map);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0);
    void applyControls();
    void deliverMidi(std::uint32_t frames);
    static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);

    LV2_URID midiEventType;
    LV2_URID chunkType;
    LV2_URID stateKey;
    float* audio[4] = {};
    const LV2_Atom_Sequence* midi = nullptr;
    const float* controls[kControlCount] = {};
    float lastPort[kControlCount];
    // Set by restore: the next run takes the port values as they stand, since the restored
    // chunk, not the ports the host may have set around it, holds the effect's values.
    std::atomic<bool> adoptPorts{false};
    VstMidiEvent midiEvents[kEventCapacity];
    std::unique_ptr<unsigned char[]> eventList;
};

} // namespace orvane::lv2
