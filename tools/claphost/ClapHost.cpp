// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/claphost/ClapHost.h"

#include <clap/entry.h>
#include <clap/ext/gui.h>
#include <clap/ext/params.h>
#include <clap/ext/state.h>
#include <clap/ext/thread-check.h>
#include <clap/ext/timer-support.h>
#include <clap/plugin-factory.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace orvane::claphost {
namespace {

// The thread the host treats as its audio thread is whichever runs a processing call.
thread_local bool onAudioThread = false;

struct AudioScope {
    AudioScope() { onAudioThread = true; }
    ~AudioScope() { onAudioThread = false; }
};

} // namespace

InputEvents::InputEvents(const std::vector<Event>& input) {
    std::vector<Event> sorted(input);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Event& a, const Event& b) { return a.frame < b.frame; });
    for (const Event& e : sorted) {
        Storage s{};
        if (e.kind == Event::Value) {
            s.value.header = {sizeof s.value, e.frame, CLAP_CORE_EVENT_SPACE_ID,
                              CLAP_EVENT_PARAM_VALUE, e.flags};
            s.value.param_id = e.id;
            s.value.note_id = -1;
            s.value.port_index = s.value.channel = s.value.key = -1;
            s.value.value = e.value;
        } else {
            s.midi.header = {sizeof s.midi, e.frame, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI,
                             e.flags};
            std::memcpy(s.midi.data, e.midi, 3);
        }
        storage.push_back(s);
    }
    events.ctx = this;
    events.size = [](const clap_input_events_t* l) {
        return static_cast<std::uint32_t>(static_cast<const InputEvents*>(l->ctx)->storage.size());
    };
    events.get = [](const clap_input_events_t* l, std::uint32_t i) -> const clap_event_header_t* {
        const auto& all = static_cast<const InputEvents*>(l->ctx)->storage;
        return i < all.size() ? &all[i].header : nullptr;
    };
}

OutputEvents::OutputEvents() {
    events.reserve(1024);
    out.ctx = this;
    out.try_push = [](const clap_output_events_t* l, const clap_event_header_t* h) {
        auto* self = static_cast<OutputEvents*>(l->ctx);
        if (h->space_id != CLAP_CORE_EVENT_SPACE_ID ||
            self->events.size() == self->events.capacity())
            return false;
        Event e{Event::Value, h->time};
        e.flags = h->flags;
        if (h->type == CLAP_EVENT_PARAM_VALUE && h->size >= sizeof(clap_event_param_value_t)) {
            const auto* v = reinterpret_cast<const clap_event_param_value_t*>(h);
            e.id = v->param_id;
            e.value = v->value;
        } else if ((h->type == CLAP_EVENT_PARAM_GESTURE_BEGIN ||
                    h->type == CLAP_EVENT_PARAM_GESTURE_END) &&
                   h->size >= sizeof(clap_event_param_gesture_t)) {
            e.kind =
                h->type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? Event::GestureBegin : Event::GestureEnd;
            e.id = reinterpret_cast<const clap_event_param_gesture_t*>(h)->param_id;
        } else {
            return false;
        }
        self->events.push_back(e);
        return true;
    };
}

struct ClapPlugin::Host {
    clap_host_t host{};
    clap_host_params_t params{};
    clap_host_gui_t gui{};
    clap_host_timer_support_t timers{};
    clap_host_thread_check_t threadCheck{};
    HostOptions options;
    HostLog log;
    std::thread::id mainThread = std::this_thread::get_id();
    bool creating = false;
    void* library = nullptr;
    const clap_plugin_entry_t* entry = nullptr;
    std::vector<clap_id> timerIds;
    clap_id nextTimer = 1;

    static Host& of(const clap_host_t* h) { return *static_cast<Host*>(h->host_data); }

    // Every callback: none while the plug-in is being created, main-thread ones only there.
    void check(const char* callback, bool mainThreadOnly) {
        if (creating) log.threadFaults.push_back(std::string(callback) + ": during create");
        if (mainThreadOnly && (onAudioThread || std::this_thread::get_id() != mainThread))
            log.threadFaults.push_back(std::string(callback) + ": not on the main thread");
    }

    explicit Host(const HostOptions& options) : options(options) {
        host.clap_version = CLAP_VERSION;
        host.host_data = this;
        host.name = "Orvane CLAP Test Host";
        host.vendor = "Halvick";
        host.url = "";
        host.version = "1";
        host.get_extension = [](const clap_host_t* h, const char* id) -> const void* {
            Host& self = of(h);
            self.check("get_extension", false);
            if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &self.params;
            if (std::strcmp(id, CLAP_EXT_GUI) == 0) return &self.gui;
            if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0) return &self.threadCheck;
            if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0 && self.options.timers)
                return &self.timers;
            return nullptr;
        };
        host.request_restart = [](const clap_host_t* h) { of(h).check("request_restart", false); };
        host.request_process = [](const clap_host_t* h) { of(h).check("request_process", false); };
        host.request_callback = [](const clap_host_t* h) {
            of(h).check("request_callback", false);
        };
        params.rescan = [](const clap_host_t* h, clap_param_rescan_flags) {
            of(h).check("params.rescan", true);
        };
        params.clear = [](const clap_host_t* h, clap_id, clap_param_clear_flags) {
            of(h).check("params.clear", true);
        };
        params.request_flush = [](const clap_host_t* h) {
            of(h).check("params.request_flush", false);
            ++of(h).log.flushRequests;
        };
        gui.resize_hints_changed = [](const clap_host_t* h) {
            of(h).check("gui.resize_hints_changed", false);
        };
        gui.request_resize = [](const clap_host_t* h, std::uint32_t w, std::uint32_t hgt) {
            of(h).check("gui.request_resize", false);
            of(h).log.resizeRequests.emplace_back(w, hgt);
            return true;
        };
        gui.request_show = [](const clap_host_t* h) {
            of(h).check("gui.request_show", false);
            return true;
        };
        gui.request_hide = [](const clap_host_t* h) {
            of(h).check("gui.request_hide", false);
            return true;
        };
        gui.closed = [](const clap_host_t* h, bool) { of(h).check("gui.closed", true); };
        timers.register_timer = [](const clap_host_t* h, std::uint32_t, clap_id* id) {
            Host& self = of(h);
            self.check("timer.register", true);
            if (!id) return false;
            *id = self.nextTimer++;
            self.timerIds.push_back(*id);
            return true;
        };
        timers.unregister_timer = [](const clap_host_t* h, clap_id id) {
            Host& self = of(h);
            self.check("timer.unregister", true);
            auto& ids = self.timerIds;
            const auto at = std::find(ids.begin(), ids.end(), id);
            if (at == ids.end()) return false;
            ids.erase(at);
            return true;
        };
        threadCheck.is_main_thread = [](const clap_host_t* h) {
            return !onAudioThread && std::this_thread::get_id() == of(h).mainThread;
        };
        threadCheck.is_audio_thread = [](const clap_host_t*) { return onAudioThread; };
    }
};

ClapPlugin::ClapPlugin(std::unique_ptr<Host> host) : host(std::move(host)) {}

std::unique_ptr<ClapPlugin> ClapPlugin::load(const std::string& path, HostOptions options,
                                             std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return nullptr;
    };
    auto host = std::make_unique<Host>(options);
    host->library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!host->library) return fail(dlerror());
    host->entry = static_cast<const clap_plugin_entry_t*>(dlsym(host->library, "clap_entry"));
    if (!host->entry || !clap_version_is_compatible(host->entry->clap_version)) {
        dlclose(host->library);
        return fail("no compatible clap_entry");
    }
    std::unique_ptr<ClapPlugin> plugin(new ClapPlugin(std::move(host)));
    Host& h = *plugin->host;
    if (!h.entry->init(path.c_str())) return fail("entry init failed");
    const auto* factory =
        static_cast<const clap_plugin_factory_t*>(h.entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    const clap_plugin_descriptor_t* descriptor = factory && factory->get_plugin_count(factory) == 1
                                                     ? factory->get_plugin_descriptor(factory, 0)
                                                     : nullptr;
    if (!descriptor) return fail("no plug-in in the factory");
    h.creating = true;
    plugin->instance = factory->create_plugin(factory, &h.host, descriptor->id);
    h.creating = false;
    if (!plugin->instance) return fail("create_plugin failed");
    if (!plugin->instance->init(plugin->instance)) return fail("init failed");
    if (!plugin->instance->activate(plugin->instance, options.sampleRate, 1, options.maxFrames))
        return fail("activate failed");
    plugin->setProcessing(true);
    return plugin;
}

ClapPlugin::~ClapPlugin() {
    if (instance) {
        closeEditor();
        setProcessing(false);
        instance->deactivate(instance);
        instance->destroy(instance);
    }
    if (host->entry) host->entry->deinit();
    if (host->library) dlclose(host->library);
}

const void* ClapPlugin::extension(const char* id) const {
    return instance->get_extension(instance, id);
}

HostLog& ClapPlugin::log() {
    return host->log;
}

void ClapPlugin::setProcessing(bool on) {
    AudioScope audio;
    if (on)
        instance->start_processing(instance);
    else
        instance->stop_processing(instance);
}

std::vector<Event> ClapPlugin::process(const float* inLeft, const float* inRight, float* outLeft,
                                       float* outRight, std::uint32_t frames,
                                       const std::vector<Event>& events) {
    InputEvents in(events);
    OutputEvents out;
    float* inputs[] = {const_cast<float*>(inLeft), const_cast<float*>(inRight)};
    float* outputs[] = {outLeft, outRight};
    clap_audio_buffer_t input{inputs, nullptr, 2, 0, 0};
    clap_audio_buffer_t output{outputs, nullptr, 2, 0, 0};
    process({-1, frames, nullptr, &input, &output, 1, 1, in.list(), out.list()});
    return out.events;
}

clap_process_status ClapPlugin::process(const clap_process_t& process) {
    AudioScope audio;
    return instance->process(instance, &process);
}

std::vector<Event> ClapPlugin::flush(const std::vector<Event>& events) {
    const auto* params = static_cast<const clap_plugin_params_t*>(extension(CLAP_EXT_PARAMS));
    setProcessing(false);
    InputEvents in(events);
    OutputEvents out;
    params->flush(instance, in.list(), out.list());
    setProcessing(true);
    return out.events;
}

bool ClapPlugin::value(clap_id id, double& value) const {
    const auto* params = static_cast<const clap_plugin_params_t*>(extension(CLAP_EXT_PARAMS));
    return params->get_value(instance, id, &value);
}

std::string ClapPlugin::text(clap_id id, double value) const {
    const auto* params = static_cast<const clap_plugin_params_t*>(extension(CLAP_EXT_PARAMS));
    char text[CLAP_NAME_SIZE] = {};
    return params->value_to_text(instance, id, value, text, sizeof text) ? text : "";
}

namespace {

struct Stream {
    std::vector<std::uint8_t>* bytes;
    std::size_t perCall;
    std::size_t position = 0;
};

} // namespace

std::vector<std::uint8_t> ClapPlugin::saveState(std::size_t bytesPerCall) {
    const auto* state = static_cast<const clap_plugin_state_t*>(extension(CLAP_EXT_STATE));
    std::vector<std::uint8_t> bytes;
    Stream stream{&bytes, bytesPerCall};
    clap_ostream_t out{&stream, [](const clap_ostream_t* s, const void* data, std::uint64_t size) {
                           auto* st = static_cast<Stream*>(s->ctx);
                           const auto n = std::min<std::uint64_t>(size, st->perCall);
                           const auto* b = static_cast<const std::uint8_t*>(data);
                           st->bytes->insert(st->bytes->end(), b, b + n);
                           return static_cast<std::int64_t>(n);
                       }};
    if (!state->save(instance, &out)) bytes.clear();
    return bytes;
}

bool ClapPlugin::loadState(const std::vector<std::uint8_t>& bytes, std::size_t bytesPerCall) {
    const auto* state = static_cast<const clap_plugin_state_t*>(extension(CLAP_EXT_STATE));
    std::vector<std::uint8_t> copy(bytes);
    Stream stream{&copy, bytesPerCall};
    clap_istream_t in{&stream, [](const clap_istream_t* s, void* data, std::uint64_t size) {
                          auto* st = static_cast<Stream*>(s->ctx);
                          const auto n = std::min<std::uint64_t>(
                              {size, st->perCall, st->bytes->size() - st->position});
                          if (n > 0) std::memcpy(data, st->bytes->data() + st->position, n);
                          st->position += n;
                          return static_cast<std::int64_t>(n);
                      }};
    return state->load(instance, &in);
}

bool ClapPlugin::openEditor(unsigned long parent) {
    const auto* gui = static_cast<const clap_plugin_gui_t*>(extension(CLAP_EXT_GUI));
    if (!gui || !gui->is_api_supported(instance, CLAP_WINDOW_API_X11, false) ||
        !gui->create(instance, CLAP_WINDOW_API_X11, false))
        return false;
    gui->set_scale(instance, 1.0);
    clap_window_t window{CLAP_WINDOW_API_X11, {}};
    window.x11 = parent;
    if (!gui->set_parent(instance, &window)) {
        gui->destroy(instance);
        return false;
    }
    gui->show(instance);
    return true;
}

void ClapPlugin::runTimers() {
    const auto* timer =
        static_cast<const clap_plugin_timer_support_t*>(extension(CLAP_EXT_TIMER_SUPPORT));
    for (clap_id id : std::vector<clap_id>(host->timerIds))
        timer->on_timer(instance, id);
}

void ClapPlugin::closeEditor() {
    const auto* gui = static_cast<const clap_plugin_gui_t*>(extension(CLAP_EXT_GUI));
    if (gui) gui->destroy(instance);
}

std::string builtClapPath() {
    return ORVANE_CLAP_PATH;
}

} // namespace orvane::claphost
