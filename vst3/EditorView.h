// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's editor as an IPlugView inside the host's X11 window. The host's run loop idles
// it (a timer, and the editor's X connection when it has one); a host without a run loop gets
// a refusal from attached, since the editor would never draw.
#pragma once

#include "adapter/EditorEmbedding.h"
#include "vst3/ComObject.h"

#include "travesty/view.h"

namespace orvane::vst3 {

class Controller;

class EditorView : public RefCounted {
public:
    static EditorView* create(Controller* controller, AEffect* effect);

    bool queryInterface(const v3_tuid iid, void** obj);
    v3_plugin_view** handle() { return reinterpret_cast<v3_plugin_view**>(viewFace.handle()); }

    void close();
    // The effect is going away: closes the editor for good.
    void orphan() {
        close();
        orphaned = true;
    }
    // The editor asks for a new size (the user chose one in its settings panel).
    void resize(int width, int height);

private:
    friend struct ViewTables;
    friend class RefCounted;
    EditorView(Controller* controller, AEffect* effect);
    ~EditorView();

    v3_result attach(void* parent, const char* type);
    v3_result size(v3_view_rect* rect);
    v3_result setFrame(v3_plugin_frame** frame);

    using ViewFace = Face<EditorView, v3_plugin_view_cpp>;
    using ScaleFace = Face<EditorView, v3_plugin_view_content_scale_cpp>;
    using TimerFace = Face<EditorView, v3_timer_handler_cpp>;
    using EventFace = Face<EditorView, v3_event_handler_cpp>;
    ViewFace viewFace;
    ScaleFace scaleFace;
    TimerFace timerFace;
    EventFace eventFace;

    Controller* controller;
    adapter::EditorEmbedding embedding;
    v3_plugin_frame** frame = nullptr;
    v3_run_loop** loop = nullptr;
    bool watchingFd = false;
    bool orphaned = false;
};

} // namespace orvane::vst3
