// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/vst3host/Vst3Host.h"

#include "travesty/factory.h"
#include "travesty/message.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace orvane::vst3host {
namespace {

// The host's own objects live as long as the host: their references are not counted.
template <typename Owner, typename Table> struct Object {
    const Table* table;
    Owner* owner;
    static Owner* of(void* self) { return static_cast<Object*>(self)->owner; }
};

template <typename T> T* api(T** obj) {
    return v3_cpp_obj(obj);
}

uint32_t noCount(void*) {
    return 1;
}

// IUnknown of an object answering only its own interface id.
template <const v3_tuid* Iid> v3_result answerOwn(void* self, const v3_tuid iid, void** obj) {
    const bool own = v3_tuid_match(iid, *Iid) || v3_tuid_match(iid, v3_funknown_iid);
    *obj = own ? self : nullptr;
    return own ? V3_OK : V3_NO_INTERFACE;
}

template <const v3_tuid* Iid> constexpr v3_funknown kUnknown{answerOwn<Iid>, noCount, noCount};

// Bytes in memory, moving at most step bytes per call.
struct MemoryStream {
    struct Table : v3_funknown {
        v3_bstream stream;
    };
    static const Table kTable;
    const Table* table = &kTable;
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
    std::size_t step;

    explicit MemoryStream(std::size_t step) : step(std::max<std::size_t>(step, 1)) {}
    v3_bstream** handle() { return reinterpret_cast<v3_bstream**>(this); }
    static MemoryStream* of(void* self) { return static_cast<MemoryStream*>(self); }
};

const MemoryStream::Table MemoryStream::kTable{
    kUnknown<&v3_bstream_iid>,
    {[](void* self, void* buffer, int32_t size, int32_t* done) -> v3_result {
         MemoryStream* s = MemoryStream::of(self);
         const std::size_t n = std::min(
             {static_cast<std::size_t>(std::max(size, 0)), s->step, s->bytes.size() - s->position});
         std::memcpy(buffer, s->bytes.data() + s->position, n);
         s->position += n;
         if (done) *done = static_cast<int32_t>(n);
         return V3_OK;
     },
     [](void* self, void* buffer, int32_t size, int32_t* done) -> v3_result {
         MemoryStream* s = MemoryStream::of(self);
         const std::size_t n = std::min(static_cast<std::size_t>(std::max(size, 0)), s->step);
         const auto* from = static_cast<const std::uint8_t*>(buffer);
         s->bytes.insert(s->bytes.begin() + static_cast<std::ptrdiff_t>(s->position), from,
                         from + n);
         s->position += n;
         if (done) *done = static_cast<int32_t>(n);
         return V3_OK;
     },
     [](void* self, int64_t pos, int32_t mode, int64_t* result) -> v3_result {
         MemoryStream* s = MemoryStream::of(self);
         const int64_t base = mode == V3_SEEK_CUR   ? static_cast<int64_t>(s->position)
                              : mode == V3_SEEK_END ? static_cast<int64_t>(s->bytes.size())
                                                    : 0;
         s->position = static_cast<std::size_t>(
             std::clamp<int64_t>(base + pos, 0, static_cast<int64_t>(s->bytes.size())));
         if (result) *result = static_cast<int64_t>(s->position);
         return V3_OK;
     },
     [](void* self, int64_t* pos) -> v3_result {
         if (pos) *pos = static_cast<int64_t>(MemoryStream::of(self)->position);
         return V3_OK;
     }}};

// One parameter's points within a block; capacity reserved so processing allocates nothing.
struct ValueQueue {
    static const v3_param_value_queue_cpp kTable;
    const v3_param_value_queue_cpp* table = &kTable;
    v3_param_id id = 0;
    std::vector<std::pair<int32_t, double>> points;
    static ValueQueue* of(void* self) { return static_cast<ValueQueue*>(self); }
};

const v3_param_value_queue_cpp ValueQueue::kTable{
    kUnknown<&v3_param_value_queue_iid>,
    {[](void* self) { return ValueQueue::of(self)->id; },
     [](void* self) { return static_cast<int32_t>(ValueQueue::of(self)->points.size()); },
     [](void* self, int32_t index, int32_t* offset, double* value) -> v3_result {
         ValueQueue* q = ValueQueue::of(self);
         if (index < 0 || index >= static_cast<int32_t>(q->points.size())) return V3_INVALID_ARG;
         *offset = q->points[index].first;
         *value = q->points[index].second;
         return V3_OK;
     },
     [](void* self, int32_t offset, double value, int32_t* index) -> v3_result {
         ValueQueue* q = ValueQueue::of(self);
         if (q->points.size() == q->points.capacity()) return V3_FALSE;
         q->points.emplace_back(offset, value);
         if (index) *index = static_cast<int32_t>(q->points.size() - 1);
         return V3_OK;
     }}};

struct ParameterChanges {
    static constexpr std::size_t kQueues = 2200;
    static constexpr std::size_t kPoints = 64;
    static const v3_param_changes_cpp kTable;
    const v3_param_changes_cpp* table = &kTable;
    std::vector<ValueQueue> queues;
    std::size_t used = 0;

    ParameterChanges() : queues(kQueues) {
        for (ValueQueue& q : queues)
            q.points.reserve(kPoints);
    }
    void clear() {
        for (std::size_t i = 0; i < used; ++i)
            queues[i].points.clear();
        used = 0;
    }
    ValueQueue* queueFor(v3_param_id id) {
        for (std::size_t i = 0; i < used; ++i)
            if (queues[i].id == id) return &queues[i];
        if (used == queues.size()) return nullptr;
        queues[used].id = id;
        return &queues[used++];
    }
    v3_param_changes** handle() { return reinterpret_cast<v3_param_changes**>(this); }
    static ParameterChanges* of(void* self) { return static_cast<ParameterChanges*>(self); }
};

const v3_param_changes_cpp ParameterChanges::kTable{
    kUnknown<&v3_param_changes_iid>,
    {[](void* self) { return static_cast<int32_t>(ParameterChanges::of(self)->used); },
     [](void* self, int32_t index) -> v3_param_value_queue** {
         ParameterChanges* c = ParameterChanges::of(self);
         if (index < 0 || index >= static_cast<int32_t>(c->used)) return nullptr;
         return reinterpret_cast<v3_param_value_queue**>(&c->queues[index]);
     },
     [](void* self, v3_param_id* id, int32_t* index) -> v3_param_value_queue** {
         ParameterChanges* c = ParameterChanges::of(self);
         ValueQueue* q = id ? c->queueFor(*id) : nullptr;
         if (!q) return nullptr;
         if (index) *index = static_cast<int32_t>(q - c->queues.data());
         return reinterpret_cast<v3_param_value_queue**>(q);
     }}};

// Hosts hand notes as events; controllers reach the plug-in through its MIDI mapping.
struct NoEvents {
    static const v3_event_list_cpp kTable;
    const v3_event_list_cpp* table = &kTable;
};

const v3_event_list_cpp NoEvents::kTable{
    kUnknown<&v3_event_list_iid>,
    {[](void*) -> uint32_t { return 0; },
     [](void*, int32_t, v3_event*) -> v3_result { return V3_INVALID_ARG; },
     [](void*, v3_event*) -> v3_result { return V3_FALSE; }}};

struct HandlerTable : v3_funknown {
    v3_component_handler handler;
};

} // namespace

struct Vst3Plugin::Impl {
    // Reserved, so that processing allocates nothing on the host's side either.
    Impl() { reported.reserve(4096); }

    void* library = nullptr;
    v3_plugin_factory** factory = nullptr;
    v3_connection_point** componentPoint = nullptr;
    v3_connection_point** controllerPoint = nullptr;
    ParameterChanges input, output;
    NoEvents events;
    std::vector<Change> reported;
    bool processing = false;

    // The component handler: records the controller's edits and restarts.
    static const HandlerTable kHandlerTable;
    struct Handler {
        const HandlerTable* table = &kHandlerTable;
        Impl* owner;
    } handler{&kHandlerTable, this};
    std::vector<Edit> edits;
    int restarts = 0;

    // The editor's frame and run loop.
    static const v3_plugin_frame_cpp kFrameTable;
    static const v3_run_loop_cpp kLoopTable;
    struct Frame {
        const v3_plugin_frame_cpp* table;
        Impl* owner;
    } frame{&kFrameTable, this};
    struct Loop {
        const v3_run_loop_cpp* table;
        Impl* owner;
    } loop{&kLoopTable, this};
    bool offerLoop = true;
    std::vector<v3_timer_handler**> timers;
    std::vector<v3_event_handler**> watchers;
    v3_plugin_view** view = nullptr;
    int resizes = 0;
};

const HandlerTable Vst3Plugin::Impl::kHandlerTable{
    kUnknown<&v3_component_handler_iid>,
    {[](void* self, v3_param_id id) -> v3_result {
         static_cast<Handler*>(self)->owner->edits.push_back({'b', id, 0});
         return V3_OK;
     },
     [](void* self, v3_param_id id, double value) -> v3_result {
         static_cast<Handler*>(self)->owner->edits.push_back({'p', id, value});
         return V3_OK;
     },
     [](void* self, v3_param_id id) -> v3_result {
         static_cast<Handler*>(self)->owner->edits.push_back({'e', id, 0});
         return V3_OK;
     },
     [](void* self, int32_t) -> v3_result {
         ++static_cast<Handler*>(self)->owner->restarts;
         return V3_OK;
     }}};

const v3_plugin_frame_cpp Vst3Plugin::Impl::kFrameTable{
    {[](void* self, const v3_tuid iid, void** obj) -> v3_result {
         Impl* impl = static_cast<Frame*>(self)->owner;
         if (v3_tuid_match(iid, v3_plugin_frame_iid) || v3_tuid_match(iid, v3_funknown_iid))
             *obj = self;
         else if (v3_tuid_match(iid, v3_run_loop_iid) && impl->offerLoop)
             *obj = &impl->loop;
         else
             *obj = nullptr;
         return *obj ? V3_OK : V3_NO_INTERFACE;
     },
     noCount, noCount},
    {[](void* self, v3_plugin_view**, v3_view_rect*) -> v3_result {
        ++static_cast<Frame*>(self)->owner->resizes;
        return V3_OK;
    }}};

const v3_run_loop_cpp Vst3Plugin::Impl::kLoopTable{
    kUnknown<&v3_run_loop_iid>,
    {[](void* self, v3_event_handler** handler, int fd) -> v3_result {
         if (fd < 0) return V3_INVALID_ARG;
         static_cast<Loop*>(self)->owner->watchers.push_back(handler);
         return V3_OK;
     },
     [](void* self, v3_event_handler** handler) -> v3_result {
         auto& w = static_cast<Loop*>(self)->owner->watchers;
         w.erase(std::remove(w.begin(), w.end(), handler), w.end());
         return V3_OK;
     },
     [](void* self, v3_timer_handler** handler, uint64_t) -> v3_result {
         static_cast<Loop*>(self)->owner->timers.push_back(handler);
         return V3_OK;
     },
     [](void* self, v3_timer_handler** handler) -> v3_result {
         auto& t = static_cast<Loop*>(self)->owner->timers;
         t.erase(std::remove(t.begin(), t.end(), handler), t.end());
         return V3_OK;
     }}};

std::string builtBundlePath() {
    return ORVANE_VST3_BUNDLE_PATH;
}

Vst3Plugin::Vst3Plugin(std::unique_ptr<Impl> impl) : impl(std::move(impl)) {}

std::unique_ptr<Vst3Plugin> Vst3Plugin::load(const std::string& bundle, double rate, int maxBlock,
                                             std::string* error) {
    auto fail = [&](const std::string& why) -> std::unique_ptr<Vst3Plugin> {
        if (error) *error = why;
        return nullptr;
    };
    const std::string path = bundle + "/Contents/x86_64-linux/Orvane.so";
    auto impl = std::make_unique<Impl>();
    impl->library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!impl->library) return fail(dlerror());
    auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(impl->library, "ModuleEntry"));
    auto getFactory =
        reinterpret_cast<v3_plugin_factory** (*)()>(dlsym(impl->library, "GetPluginFactory"));
    if (!entry || !getFactory || !entry(impl->library)) return fail("no VST3 entry points");
    impl->factory = getFactory();
    if (!impl->factory) return fail("no factory");

    std::unique_ptr<Vst3Plugin> plugin(new Vst3Plugin(std::move(impl)));
    Impl& in = *plugin->impl;
    v3_class_info info{};
    v3_tuid componentId{}, controllerId{};
    for (int32_t i = 0; i < api(in.factory)->num_classes(in.factory); ++i) {
        if (api(in.factory)->get_class_info(in.factory, i, &info) != V3_OK) continue;
        if (std::strcmp(info.category, "Audio Module Class") == 0)
            std::memcpy(componentId, info.class_id, sizeof componentId);
    }
    if (api(in.factory)
            ->create_instance(in.factory, componentId, v3_component_iid,
                              reinterpret_cast<void**>(&plugin->componentObject)) != V3_OK)
        return fail("no component");
    v3_component** component = plugin->componentObject;
    if (v3_cpp_obj_initialize(component, nullptr) != V3_OK)
        return fail("component refused to initialise");
    // As most hosts do: the controller class from the component, a separate object.
    if (v3_cpp_obj(component)->get_controller_class_id(component, controllerId) != V3_OK ||
        api(in.factory)
                ->create_instance(in.factory, controllerId, v3_edit_controller_iid,
                                  reinterpret_cast<void**>(&plugin->controllerObject)) != V3_OK)
        return fail("no controller");
    v3_edit_controller** controller = plugin->controllerObject;
    v3_cpp_obj_initialize(controller, nullptr);
    v3_cpp_obj_query_interface(component, v3_audio_processor_iid, &plugin->processorObject);
    v3_cpp_obj_query_interface(component, v3_connection_point_iid, &in.componentPoint);
    v3_cpp_obj_query_interface(controller, v3_connection_point_iid, &in.controllerPoint);
    if (!plugin->processorObject || !in.componentPoint || !in.controllerPoint)
        return fail("missing processor or connection points");
    api(in.componentPoint)->connect(in.componentPoint, in.controllerPoint);
    api(in.controllerPoint)->connect(in.controllerPoint, in.componentPoint);
    v3_cpp_obj(controller)
        ->set_component_handler(controller, reinterpret_cast<v3_component_handler**>(&in.handler));

    v3_audio_processor** processor = plugin->processorObject;
    v3_speaker_arrangement stereo = V3_SPEAKER_L | V3_SPEAKER_R;
    v3_speaker_arrangement in1 = stereo, out1 = stereo;
    if (api(processor)->set_bus_arrangements(processor, &in1, 1, &out1, 1) != V3_OK)
        return fail("stereo refused");
    v3_process_setup setup{V3_REALTIME, V3_SAMPLE_32, maxBlock, rate};
    if (api(processor)->setup_processing(processor, &setup) != V3_OK) return fail("setup refused");
    v3_cpp_obj(component)->set_active(component, 1);
    plugin->setProcessing(true);
    return plugin;
}

Vst3Plugin::~Vst3Plugin() {
    Impl& in = *impl;
    closeEditor();
    if (componentObject) {
        setProcessing(false);
        v3_cpp_obj(componentObject)->set_active(componentObject, 0);
    }
    if (in.componentPoint && in.controllerPoint) {
        api(in.componentPoint)->disconnect(in.componentPoint, in.controllerPoint);
        api(in.controllerPoint)->disconnect(in.controllerPoint, in.componentPoint);
    }
    for (auto** point : {in.componentPoint, in.controllerPoint})
        if (point) v3_cpp_obj_unref(point);
    if (processorObject) v3_cpp_obj_unref(processorObject);
    if (controllerObject) {
        v3_cpp_obj_terminate(controllerObject);
        v3_cpp_obj_unref(controllerObject);
    }
    if (componentObject) {
        v3_cpp_obj_terminate(componentObject);
        v3_cpp_obj_unref(componentObject);
    }
    if (in.library) {
        if (auto exit = reinterpret_cast<bool (*)()>(dlsym(in.library, "ModuleExit"))) exit();
        dlclose(in.library);
    }
}

void Vst3Plugin::setProcessing(bool on) {
    if (on == impl->processing) return;
    impl->processing = on;
    api(processorObject)->set_processing(processorObject, on);
}

std::int32_t Vst3Plugin::process(const float* inLeft, const float* inRight, float* outLeft,
                                 float* outRight, std::int32_t frames,
                                 const std::vector<Change>& changes) {
    Impl& in = *impl;
    in.input.clear();
    in.output.clear();
    for (const Change& c : changes)
        if (ValueQueue* q = in.input.queueFor(c.id)) q->points.emplace_back(c.offset, c.value);
    float* inputs[2] = {const_cast<float*>(inLeft), const_cast<float*>(inRight)};
    float* outputs[2] = {outLeft, outRight};
    v3_audio_bus_buffers inBus{}, outBus{};
    inBus.num_channels = outBus.num_channels = 2;
    inBus.channel_buffers_32 = inputs;
    outBus.channel_buffers_32 = outputs;
    v3_param_changes** inputParams = in.input.handle();
    v3_param_changes** outputParams = in.output.handle();
    v3_event_list** events = reinterpret_cast<v3_event_list**>(&in.events);
    v3_process_data data{};
    data.process_mode = V3_REALTIME;
    data.symbolic_sample_size = V3_SAMPLE_32;
    data.nframes = frames;
    data.num_input_buses = inLeft ? 1 : 0;
    data.num_output_buses = outLeft ? 1 : 0;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.input_params = inputParams;
    data.output_params = outputParams;
    data.input_events = events;
    const v3_result result = api(processorObject)->process(processorObject, &data);
    in.reported.clear();
    for (std::size_t i = 0; i < in.output.used; ++i)
        for (const auto& [offset, value] : in.output.queues[i].points)
            if (in.reported.size() < in.reported.capacity())
                in.reported.push_back({in.output.queues[i].id, offset, value});
    return result;
}

double Vst3Plugin::value(v3_param_id id) {
    return v3_cpp_obj(controllerObject)->get_parameter_normalised(controllerObject, id);
}

void Vst3Plugin::setValue(v3_param_id id, double value) {
    v3_cpp_obj(controllerObject)->set_parameter_normalised(controllerObject, id, value);
}

std::string Vst3Plugin::text(v3_param_id id, double value) {
    v3_str_128 text{};
    if (v3_cpp_obj(controllerObject)
            ->get_parameter_string_for_value(controllerObject, id, value, text) != V3_OK)
        return "<none>";
    std::string out;
    for (int i = 0; i < 128 && text[i]; ++i)
        out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return out;
}

bool Vst3Plugin::parse(v3_param_id id, const std::string& text, double& value) {
    std::vector<int16_t> wide(text.begin(), text.end());
    wide.push_back(0);
    return v3_cpp_obj(controllerObject)
               ->get_parameter_value_for_string(controllerObject, id, wide.data(), &value) == V3_OK;
}

bool Vst3Plugin::mapController(int channel, int controller, v3_param_id& id) {
    v3_midi_mapping** mapping = nullptr;
    if (v3_cpp_obj_query_interface(controllerObject, v3_midi_mapping_iid, &mapping) != V3_OK)
        return false;
    const bool mapped = api(mapping)->get_midi_controller_assignment(
                            mapping, 0, static_cast<int16_t>(channel),
                            static_cast<int16_t>(controller), &id) == V3_OK;
    v3_cpp_obj_unref(mapping);
    return mapped;
}

const std::vector<Change>& Vst3Plugin::outputChanges() const {
    return impl->reported;
}

const std::vector<Edit>& Vst3Plugin::edits() const {
    return impl->edits;
}

int Vst3Plugin::restarts() const {
    return impl->restarts;
}

std::vector<std::uint8_t> Vst3Plugin::saveState(std::size_t step) {
    MemoryStream stream(step);
    if (v3_cpp_obj(componentObject)->get_state(componentObject, stream.handle()) != V3_OK)
        return {};
    return stream.bytes;
}

bool Vst3Plugin::restoreState(const std::vector<std::uint8_t>& state, std::size_t step) {
    MemoryStream forComponent(step), forController(step);
    forComponent.bytes = forController.bytes = state;
    return v3_cpp_obj(componentObject)->set_state(componentObject, forComponent.handle()) ==
               V3_OK &&
           v3_cpp_obj(controllerObject)
                   ->set_component_state(controllerObject, forController.handle()) == V3_OK;
}

bool Vst3Plugin::openEditor(unsigned long parent, bool withRunLoop) {
    Impl& in = *impl;
    if (!in.view) {
        in.view = v3_cpp_obj(controllerObject)->create_view(controllerObject, "editor");
        if (!in.view) return false;
        api(in.view)->set_frame(in.view, reinterpret_cast<v3_plugin_frame**>(&in.frame));
    }
    in.offerLoop = withRunLoop;
    if (api(in.view)->is_platform_type_supported(in.view, "X11EmbedWindowID") != V3_OK)
        return false;
    return api(in.view)->attached(in.view, reinterpret_cast<void*>(parent), "X11EmbedWindowID") ==
           V3_OK;
}

void Vst3Plugin::idleEditor() {
    for (v3_timer_handler** timer : std::vector<v3_timer_handler**>(impl->timers))
        api(timer)->on_timer(timer);
    for (v3_event_handler** watcher : std::vector<v3_event_handler**>(impl->watchers))
        api(watcher)->on_fd_is_set(watcher, 0);
}

bool Vst3Plugin::editorSize(int& width, int& height) {
    v3_view_rect rect{};
    if (!impl->view || api(impl->view)->get_size(impl->view, &rect) != V3_OK) return false;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return true;
}

void Vst3Plugin::closeEditor() {
    Impl& in = *impl;
    if (!in.view) return;
    api(in.view)->removed(in.view);
    api(in.view)->set_frame(in.view, nullptr);
    v3_cpp_obj_unref(in.view);
    in.view = nullptr;
}

} // namespace orvane::vst3host
