// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/EditorView.h"

#include "vst3/Controller.h"

#include <cstring>
#include <new>

namespace orvane::vst3 {
namespace {

constexpr const char* kX11 = "X11EmbedWindowID";
constexpr uint64_t kIdleMilliseconds = 25;

} // namespace

struct ViewTables {
    using V = EditorView;
    using VF = V::ViewFace;

    static const v3_plugin_view_cpp& view() {
        static const v3_plugin_view_cpp table{
            unknownOf<V, VF>(),
            {[](void*, const char* type) -> v3_result {
                 return type && std::strcmp(type, kX11) == 0 ? V3_OK : V3_FALSE;
             },
             [](void* self, void* parent, const char* type) {
                 return VF::of(self)->attach(parent, type);
             },
             [](void* self) -> v3_result {
                 VF::of(self)->close();
                 return V3_OK;
             },
             [](void*, float) -> v3_result { return V3_FALSE; },
             [](void*, int16_t, int16_t, int16_t) -> v3_result { return V3_FALSE; },
             [](void*, int16_t, int16_t, int16_t) -> v3_result { return V3_FALSE; },
             [](void* self, v3_view_rect* rect) { return VF::of(self)->size(rect); },
             [](void*, v3_view_rect* rect) -> v3_result { return rect ? V3_OK : V3_INVALID_ARG; },
             [](void*, v3_bool) -> v3_result { return V3_OK; },
             [](void* self, v3_plugin_frame** frame) { return VF::of(self)->setFrame(frame); },
             [](void*) -> v3_result { return V3_FALSE; },
             // The editor keeps its own size: any request is answered with it.
             [](void* self, v3_view_rect* rect) { return VF::of(self)->size(rect); }}};
        return table;
    }

    static const v3_plugin_view_content_scale_cpp& scale() {
        // The editor's size is the one the user chose in its settings panel, whatever the host's
        // scale.
        static const v3_plugin_view_content_scale_cpp table{
            unknownOf<V, V::ScaleFace>(), {[](void*, float) -> v3_result { return V3_OK; }}};
        return table;
    }

    static const v3_timer_handler_cpp& timer() {
        static const v3_timer_handler_cpp table{unknownOf<V, V::TimerFace>(), {[](void* self) {
                                                    V::TimerFace::of(self)->embedding.idle();
                                                }}};
        return table;
    }

    static const v3_event_handler_cpp& events() {
        static const v3_event_handler_cpp table{unknownOf<V, V::EventFace>(), {[](void* self, int) {
                                                    V::EventFace::of(self)->embedding.idle();
                                                }}};
        return table;
    }
};

EditorView::EditorView(Controller* controller, AEffect* effect)
    : viewFace{&ViewTables::view(), this}, scaleFace{&ViewTables::scale(), this},
      timerFace{&ViewTables::timer(), this}, eventFace{&ViewTables::events(), this},
      controller(controller), embedding(effect) {
    controller->ref();
}

EditorView::~EditorView() {
    close();
    release(frame);
    controller->viewClosed(this);
    RefCounted::unref(controller);
}

EditorView* EditorView::create(Controller* controller, AEffect* effect) {
    return new (std::nothrow) EditorView(controller, effect);
}

bool EditorView::queryInterface(const v3_tuid iid, void** obj) {
    return offer(viewFace, iid, obj, v3_funknown_iid, v3_plugin_view_iid) ||
           offer(scaleFace, iid, obj, v3_plugin_view_content_scale_iid) ||
           offer(timerFace, iid, obj, v3_timer_handler_iid) ||
           offer(eventFace, iid, obj, v3_event_handler_iid);
}

v3_result EditorView::setFrame(v3_plugin_frame** newFrame) {
    if (newFrame) v3_cpp_obj_ref(newFrame);
    release(frame);
    frame = newFrame;
    return V3_OK;
}

v3_result EditorView::attach(void* parent, const char* type) {
    if (orphaned || !parent || !type || std::strcmp(type, kX11) != 0 || embedding.isOpen())
        return V3_FALSE;
    v3_run_loop** hostLoop = nullptr;
    if (!frame || v3_cpp_obj_query_interface(frame, v3_run_loop_iid, &hostLoop) != V3_OK ||
        !hostLoop)
        return V3_FALSE;
    if (!embedding.open(reinterpret_cast<unsigned long>(parent))) {
        release(hostLoop);
        return V3_FALSE;
    }
    loop = hostLoop;
    api(loop)->register_timer(loop, reinterpret_cast<v3_timer_handler**>(timerFace.handle()),
                              kIdleMilliseconds);
    if (const int fd = embedding.connectionFd(); fd >= 0)
        watchingFd =
            api(loop)->register_event_handler(
                loop, reinterpret_cast<v3_event_handler**>(eventFace.handle()), fd) == V3_OK;
    return V3_OK;
}

void EditorView::close() {
    if (loop) {
        api(loop)->unregister_timer(loop, reinterpret_cast<v3_timer_handler**>(timerFace.handle()));
        if (watchingFd)
            api(loop)->unregister_event_handler(
                loop, reinterpret_cast<v3_event_handler**>(eventFace.handle()));
        watchingFd = false;
        release(loop);
    }
    embedding.close();
}

v3_result EditorView::size(v3_view_rect* rect) {
    int width = 0, height = 0;
    if (!rect || orphaned || !embedding.size(width, height)) return V3_FALSE;
    *rect = {0, 0, width, height};
    return V3_OK;
}

void EditorView::resize(int width, int height) {
    v3_view_rect rect{0, 0, width, height};
    if (frame) api(frame)->resize_view(frame, handle(), &rect);
}

} // namespace orvane::vst3
