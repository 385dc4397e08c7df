// SPDX-License-Identifier: GPL-3.0-or-later
// One LV2 instance: the effect through the adapter core's driver. Port values become queued
// parameter changes, the MIDI port timed events, and state the shared state form.
#pragma once

#include "adapter/EffectDriver.h"
#include "lv2/InstanceLink.h"
#include "lv2/Ports.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <atomic>
#include <memory>

namespace orvane::lv2 {

class Lv2Effect final : public InstanceLink, private adapter::EffectDriver::Listener {
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
    explicit Lv2Effect(LV2_URID_Map* map);
    // The port's value when it tells the effect something new, else NaN.
    float newHostValue(std::size_t control) const;
    void takeControls();
    void queueMidi(std::uint32_t frames);

    // The editor's callbacks, passed on to the open user interface.
    void gesture(std::size_t exposed, bool begin) override;
    void edited(std::size_t exposed, float normalised) override;
    void resized(int width, int height) override;

    std::unique_ptr<adapter::EffectDriver> driver;
    LV2_URID midiEventType;
    LV2_URID chunkType;
    LV2_URID stateKey;
    LV2_URID portsKey;
    float* audio[4] = {};
    const LV2_Atom_Sequence* midi = nullptr;
    const float* controls[adapter::kExposedCount] = {};
};

} // namespace orvane::lv2
