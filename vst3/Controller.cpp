// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/Controller.h"

#include "adapter/StateForm.h"
#include "vst3/Component.h"
#include "vst3/EditorView.h"
#include "vst3/LinkMessage.h"
#include "vst3/ParameterMap.h"
#include "vst3/Streams.h"
#include "vst3/Utf16.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace orvane::vst3 {

using adapter::kExposed;
using adapter::kExposedCount;
using adapter::kShapes;

struct ControllerTables {
    using C = Controller;
    using CF = C::ControllerFace;

    static const v3_edit_controller_cpp& controller() {
        static const v3_edit_controller_cpp table{
            unknownOf<C, CF>(),
            {[](void*, v3_funknown**) -> v3_result { return V3_OK; },
             [](void* self) { return CF::of(self)->terminate(); }},
            {[](void* self, v3_bstream** stream) {
                 return CF::of(self)->readComponentState(stream);
             },
             // The controller keeps nothing of its own: the component's state is the session.
             [](void*, v3_bstream**) -> v3_result { return V3_OK; },
             [](void*, v3_bstream**) -> v3_result { return V3_OK; },
             [](void*) -> int32_t { return kParameterCount; },
             [](void* self, int32_t index, v3_param_info* info) {
                 return CF::of(self)->parameterInfo(index, info);
             },
             [](void* self, v3_param_id id, double value, v3_str_128 text) {
                 return CF::of(self)->textForValue(id, value, text);
             },
             [](void* self, v3_param_id id, int16_t* text, double* value) {
                 return CF::of(self)->valueForText(id, text, value);
             },
             [](void* self, v3_param_id id, double value) {
                 return CF::of(self)->toPlain(id, value);
             },
             [](void* self, v3_param_id id, double plain) {
                 return CF::of(self)->toHost(id, plain);
             },
             [](void* self, v3_param_id id) { return CF::of(self)->value(id); },
             [](void* self, v3_param_id id, double value) {
                 return CF::of(self)->setValue(id, value);
             },
             [](void* self, v3_component_handler** handler) {
                 return CF::of(self)->setHandler(handler);
             },
             [](void* self, const char* name) { return CF::of(self)->createView(name); }}};
        return table;
    }

    static const v3_unit_information_cpp& units() {
        using F = C::UnitFace;
        static const v3_unit_information_cpp table{
            unknownOf<C, F>(),
            {[](void*) -> int32_t { return 1; },
             [](void*, int32_t index, v3_unit_info* info) -> v3_result {
                 if (index != 0 || !info) return V3_INVALID_ARG;
                 *info = {0, -1, {}, kProgramListId};
                 toUtf16("Orvane", info->name, 128);
                 return V3_OK;
             },
             [](void*) -> int32_t { return 1; },
             [](void*, int32_t index, v3_program_list_info* info) -> v3_result {
                 if (index != 0 || !info) return V3_INVALID_ARG;
                 *info = {kProgramListId, {}, kFactoryPrograms};
                 toUtf16("Factory Programs", info->name, 128);
                 return V3_OK;
             },
             [](void* self, int32_t list, int32_t program, v3_str_128 name) {
                 return F::of(self)->programName(list, program, name);
             },
             [](void*, int32_t, int32_t, const char*, v3_str_128) -> v3_result { return V3_FALSE; },
             [](void*, int32_t, int32_t) -> v3_result { return V3_FALSE; },
             [](void*, int32_t, int32_t, int16_t, v3_str_128) -> v3_result { return V3_FALSE; },
             [](void*) -> int32_t { return 0; },
             [](void*, int32_t unit) -> v3_result { return unit == 0 ? V3_OK : V3_FALSE; },
             [](void*, int32_t, int32_t, int32_t, int32_t, int32_t* unit) -> v3_result {
                 if (!unit) return V3_INVALID_ARG;
                 *unit = 0;
                 return V3_OK;
             },
             [](void*, int32_t, int32_t, v3_bstream**) -> v3_result { return V3_FALSE; }}};
        return table;
    }

    static const v3_midi_mapping_cpp& mapping() {
        using F = C::MappingFace;
        static const v3_midi_mapping_cpp table{
            unknownOf<C, F>(),
            {[](void* self, int32_t bus, int16_t channel, int16_t controller, v3_param_id* id) {
                return F::of(self)->midiAssignment(bus, channel, controller, id);
            }}};
        return table;
    }

    static const v3_connection_point_cpp& connection() {
        using F = C::ConnectionFace;
        static const v3_connection_point_cpp table{
            unknownOf<C, F>(),
            {[](void*, v3_connection_point** other) -> v3_result {
                 return other ? V3_OK : V3_INVALID_ARG;
             },
             [](void* self, v3_connection_point**) -> v3_result {
                 F::of(self)->link(nullptr);
                 return V3_OK;
             },
             [](void* self, v3_message** message) { return F::of(self)->notify(message); }}};
        return table;
    }
};

Controller::Controller()
    : controllerFace{&ControllerTables::controller(), this}, unitFace{&ControllerTables::units(),
                                                                      this},
      mappingFace{&ControllerTables::mapping(), this}, connectionFace{
                                                           &ControllerTables::connection(), this} {
    for (std::size_t i = 0; i < kExposedCount; ++i)
        unlinked[i] = plainToHost(i, kShapes[i].defaultPlain);
}

Controller::~Controller() {
    terminate();
}

v3_funknown** Controller::create() {
    auto* controller = new (std::nothrow) Controller();
    return controller ? reinterpret_cast<v3_funknown**>(controller->controllerFace.handle())
                      : nullptr;
}

bool Controller::queryInterface(const v3_tuid iid, void** obj) {
    return offer(controllerFace, iid, obj, v3_funknown_iid, v3_plugin_base_iid,
                 v3_edit_controller_iid) ||
           offer(unitFace, iid, obj, v3_unit_information_iid) ||
           offer(mappingFace, iid, obj, v3_midi_mapping_iid) ||
           offer(connectionFace, iid, obj, v3_connection_point_iid);
}

adapter::EffectDriver* Controller::driver() const {
    return component ? component->driver() : nullptr;
}

void Controller::viewClosed(EditorView* closed) {
    if (view == closed) view = nullptr;
}

v3_result Controller::terminate() {
    if (component) component->controllerGone();
    link(nullptr);
    release(handler);
    return V3_OK;
}

void Controller::link(Component* linked) {
    if (linked == component) return;
    if (view) view->orphan();
    view = nullptr;
    if (adapter::EffectDriver* effect = driver()) effect->setListener(nullptr);
    component = linked;
    if (adapter::EffectDriver* effect = driver()) effect->setListener(this);
}

v3_result Controller::notify(v3_message** message) {
    Component* linked = nullptr;
    if (!readLink(message, linked)) return V3_FALSE;
    link(linked);
    return V3_OK;
}

// The component holds the same bytes and is the truth once linked; before, the state's values
// become the host's.
v3_result Controller::readComponentState(v3_bstream** stream) {
    if (!stream) return V3_INVALID_ARG;
    unsigned char state[adapter::kStateBytes];
    unsigned char chunk[adapter::kChunkBytes];
    if (!readFully(stream, state, sizeof state) ||
        !adapter::unpackState(state, sizeof state, chunk))
        return V3_FALSE;
    for (std::size_t i = 0; i < kExposedCount; ++i) {
        float normalised;
        std::memcpy(&normalised, chunk + sizeof(float) * kExposed[i].parameter, sizeof normalised);
        unlinked[i] = hostValue(i, normalised);
    }
    return V3_OK;
}

v3_result Controller::parameterInfo(int32_t index, v3_param_info* info) {
    if (!info || index < 0 || index >= kParameterCount) return V3_INVALID_ARG;
    *info = {};
    info->param_id = idAt(index);
    if (const int exposed = exposedForId(info->param_id); exposed >= 0) {
        toUtf16(kShapes[exposed].title, info->title, 128);
        toUtf16(kShapes[exposed].title, info->short_title, 128);
        toUtf16(kShapes[exposed].unit, info->units, 128);
        info->step_count = adapter::stepCount(exposed);
        info->default_normalised_value = plainToHost(exposed, kShapes[exposed].defaultPlain);
        info->flags = V3_PARAM_CAN_AUTOMATE;
        if (kShapes[exposed].entryCount > 2) info->flags |= V3_PARAM_IS_LIST;
        if (std::strcmp(kExposed[exposed].symbol, "bypass") == 0) info->flags |= V3_PARAM_IS_BYPASS;
    } else if (info->param_id == kProgramParameter) {
        toUtf16("Program", info->title, 128);
        toUtf16("Program", info->short_title, 128);
        info->step_count = kFactoryPrograms - 1;
        info->flags = V3_PARAM_IS_LIST | V3_PARAM_PROGRAM_CHANGE;
    } else {
        // "MIDI CC channel|controller", program change as the controller number hosts ask the
        // mapping for: hosts that know the pattern keep these out of their automation lists.
        const v3_param_id slot = info->param_id - kFirstMidiParameter;
        const int number = static_cast<int>(slot % kMidiSlotsPerChannel);
        char title[32];
        std::snprintf(title, sizeof title, "MIDI CC %d|%d", int(slot / kMidiSlotsPerChannel) + 1,
                      number == kMidiSlotsPerChannel - 1 ? kProgramChangeController : number);
        toUtf16(title, info->title, 128);
        toUtf16(title, info->short_title, 128);
        info->step_count = 127;
        info->flags = V3_PARAM_CAN_AUTOMATE | V3_PARAM_IS_HIDDEN;
    }
    return V3_OK;
}

v3_result Controller::textForValue(v3_param_id id, double value, v3_str_128 text) {
    if (!text || std::isnan(value)) return V3_INVALID_ARG;
    value = std::clamp(value, 0.0, 1.0);
    char words[64] = {};
    adapter::EffectDriver* effect = driver();
    if (const int exposed = exposedForId(id); exposed >= 0) {
        if (!effect ||
            !effect->displayText(exposed, effectValue(exposed, value), words, sizeof words))
            return V3_FALSE;
    } else if (id == kProgramParameter) {
        const int program = static_cast<int>(std::lround(value * (kFactoryPrograms - 1)));
        if (!effect || !effect->programName(program, words, sizeof words)) return V3_FALSE;
    } else {
        std::snprintf(words, sizeof words, "%ld", std::lround(value * 127));
    }
    toUtf16(words, text, 128);
    return V3_OK;
}

v3_result Controller::valueForText(v3_param_id id, const int16_t* text, double* value) {
    const int exposed = exposedForId(id);
    adapter::EffectDriver* effect = driver();
    if (!text || !value || exposed < 0 || !effect) return V3_FALSE;
    char words[128];
    toUtf8(text, words, sizeof words);
    float normalised;
    if (!effect->parseText(exposed, words, normalised)) return V3_FALSE;
    *value = hostValue(exposed, normalised);
    return V3_OK;
}

double Controller::toPlain(v3_param_id id, double value) {
    if (std::isnan(value)) return 0;
    if (const int exposed = exposedForId(id); exposed >= 0) return hostToPlain(exposed, value);
    const int steps = id == kProgramParameter ? kFactoryPrograms - 1 : 127;
    return std::round(std::clamp(value, 0.0, 1.0) * steps);
}

double Controller::toHost(v3_param_id id, double plain) {
    if (std::isnan(plain)) return 0;
    if (const int exposed = exposedForId(id); exposed >= 0) return plainToHost(exposed, plain);
    const int steps = id == kProgramParameter ? kFactoryPrograms - 1 : 127;
    return std::clamp(plain / steps, 0.0, 1.0);
}

double Controller::value(v3_param_id id) {
    adapter::EffectDriver* effect = driver();
    if (const int exposed = exposedForId(id); exposed >= 0)
        return effect ? hostValue(exposed, effect->value(exposed)) : unlinked[exposed];
    if (id == kProgramParameter && effect)
        return std::clamp(effect->currentProgram() / double(kFactoryPrograms - 1), 0.0, 1.0);
    return 0;
}

// A host writes here at once and to the processor with its next block: the effect takes the
// value now, so a session saved before that block holds the value the host shows.
v3_result Controller::setValue(v3_param_id id, double value) {
    if (std::isnan(value)) return V3_INVALID_ARG;
    value = std::clamp(value, 0.0, 1.0);
    adapter::EffectDriver* effect = driver();
    if (const int exposed = exposedForId(id); exposed >= 0) {
        if (effect)
            effect->setValue(exposed, effectValue(exposed, value));
        else
            unlinked[exposed] = value;
        return V3_OK;
    }
    if (id == kProgramParameter) {
        const int program = static_cast<int>(std::lround(value * (kFactoryPrograms - 1)));
        if (!effect || program == effect->currentProgram()) return V3_OK;
        effect->selectProgram(program);
        if (handler) api(handler)->restart_component(handler, V3_RESTART_PARAM_VALUES_CHANGED);
        return V3_OK;
    }
    return V3_OK;
}

v3_result Controller::setHandler(v3_component_handler** newHandler) {
    if (newHandler) v3_cpp_obj_ref(newHandler);
    release(handler);
    handler = newHandler;
    return V3_OK;
}

v3_plugin_view** Controller::createView(const char* name) {
    if (!name || std::strcmp(name, "editor") != 0 || !driver() || view) return nullptr;
    view = EditorView::create(this, driver()->effect());
    return view ? view->handle() : nullptr;
}

v3_result Controller::programName(int32_t list, int32_t program, v3_str_128 name) {
    adapter::EffectDriver* effect = driver();
    char text[64] = {};
    if (list != kProgramListId || !name || !effect ||
        !effect->programName(program, text, sizeof text))
        return V3_FALSE;
    toUtf16(text, name, 128);
    return V3_OK;
}

v3_result Controller::midiAssignment(int32_t bus, int16_t channel, int16_t controller,
                                     v3_param_id* id) {
    if (!id || bus != 0) return V3_FALSE;
    return midiParameter(channel, controller, *id) ? V3_OK : V3_FALSE;
}

void Controller::gesture(std::size_t exposed, bool begin) {
    if (!handler) return;
    if (begin)
        api(handler)->begin_edit(handler, idOfExposed(exposed));
    else
        api(handler)->end_edit(handler, idOfExposed(exposed));
}

void Controller::edited(std::size_t exposed, float normalised) {
    if (handler)
        api(handler)->perform_edit(handler, idOfExposed(exposed), hostValue(exposed, normalised));
}

void Controller::resized(int width, int height) {
    if (view) view->resize(width, height);
}

} // namespace orvane::vst3
