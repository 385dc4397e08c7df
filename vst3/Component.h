// SPDX-License-Identifier: GPL-3.0-or-later
// The processor half: the effect behind IComponent, IAudioProcessor and a connection point.
// Stereo in and out, 32-bit float; host changes and mapped MIDI act at their sample, and what
// the effect changes by itself goes back to the host as output parameter changes.
#pragma once

#include "adapter/EffectDriver.h"
#include "vst3/ComObject.h"

#include "travesty/audio_processor.h"
#include "travesty/component.h"
#include "travesty/message.h"

#include <memory>

namespace orvane::vst3 {

class Component : public RefCounted {
public:
    // The component's IComponent face, with one reference; null when out of memory.
    static v3_funknown** create();

    bool queryInterface(const v3_tuid iid, void** obj);

    // For the linked controller, on the main thread.
    adapter::EffectDriver* driver() const { return effect.get(); }
    // The linked controller goes: nothing more is sent to it.
    void controllerGone() { peer = nullptr; }

private:
    friend struct ComponentTables;
    Component();
    ~Component();
    friend class RefCounted;

    v3_result initialize();
    v3_result terminate();
    v3_result busInfo(int32_t type, int32_t direction, int32_t index, v3_bus_info* info);
    v3_result setActive(bool active);
    v3_result readState(v3_bstream** stream);
    v3_result writeState(v3_bstream** stream);
    v3_result arrange(v3_speaker_arrangement* inputs, int32_t inCount,
                      v3_speaker_arrangement* outputs, int32_t outCount);
    v3_result setup(const v3_process_setup* setup);
    v3_result process(v3_process_data* data);
    void queueChanges(v3_param_changes** changes, int32_t frames);
    void reportChanges(v3_param_changes** changes, int32_t frames);
    v3_result connect(v3_connection_point** other);
    v3_result disconnect(v3_connection_point** other);

    using ComponentFace = Face<Component, v3_component_cpp>;
    using ProcessorFace = Face<Component, v3_audio_processor_cpp>;
    using ConnectionFace = Face<Component, v3_connection_point_cpp>;
    ComponentFace componentFace;
    ProcessorFace processorFace;
    ConnectionFace connectionFace;

    std::unique_ptr<adapter::EffectDriver> effect;
    v3_connection_point** peer = nullptr;
};

} // namespace orvane::vst3
