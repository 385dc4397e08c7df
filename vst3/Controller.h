// SPDX-License-Identifier: GPL-3.0-or-later
// The controller half: IEditController with the program list (IUnitInfo), the MIDI mapping and
// a connection point. Once its component has linked, it shows the effect's own values, texts,
// programs and editor, and passes what the effect reports on to the host's component handler.
#pragma once

#include "adapter/EffectDriver.h"
#include "adapter/ExposedParameters.h"
#include "vst3/ComObject.h"

#include "travesty/edit_controller.h"
#include "travesty/message.h"
#include "travesty/unit.h"
#include "travesty/view.h"

namespace orvane::vst3 {

class Component;
class EditorView;

class Controller final : public RefCounted, private adapter::EffectDriver::Listener {
public:
    static v3_funknown** create();

    bool queryInterface(const v3_tuid iid, void** obj);

    // The effect of the linked component, or null.
    adapter::EffectDriver* driver() const;
    void viewClosed(EditorView* view);

private:
    friend struct ControllerTables;
    friend class RefCounted;
    Controller();
    ~Controller();

    v3_result terminate();
    v3_result readComponentState(v3_bstream** stream);
    v3_result parameterInfo(int32_t index, v3_param_info* info);
    v3_result textForValue(v3_param_id id, double value, v3_str_128 text);
    v3_result valueForText(v3_param_id id, const int16_t* text, double* value);
    double toPlain(v3_param_id id, double value);
    double toHost(v3_param_id id, double plain);
    double value(v3_param_id id);
    v3_result setValue(v3_param_id id, double value);
    v3_result setHandler(v3_component_handler** handler);
    v3_plugin_view** createView(const char* name);
    v3_result programName(int32_t list, int32_t program, v3_str_128 name);
    v3_result midiAssignment(int32_t bus, int16_t channel, int16_t controller, v3_param_id* id);
    v3_result notify(v3_message** message);
    void link(Component* component);

    void gesture(std::size_t exposed, bool begin) override;
    void edited(std::size_t exposed, float normalised) override;
    void resized(int width, int height) override;

    using ControllerFace = Face<Controller, v3_edit_controller_cpp>;
    using UnitFace = Face<Controller, v3_unit_information_cpp>;
    using MappingFace = Face<Controller, v3_midi_mapping_cpp>;
    using ConnectionFace = Face<Controller, v3_connection_point_cpp>;
    ControllerFace controllerFace;
    UnitFace unitFace;
    MappingFace mappingFace;
    ConnectionFace connectionFace;

    Component* component = nullptr;
    v3_component_handler** handler = nullptr;
    EditorView* view = nullptr;
    // The host's values while no component is linked (the component's state, when given).
    double unlinked[adapter::kExposedCount];
};

} // namespace orvane::vst3
