// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's editor embedded in the host's X11 window, at the size the user chose in its
// settings panel; the host's timer runs it.
#include "clap/ClapEffect.h"
#include "clap/Extensions.h"

#include <cstring>

namespace orvane::clap {
namespace {

bool embedded(const char* api, bool floating) {
    return api && !floating && std::strcmp(api, CLAP_WINDOW_API_X11) == 0;
}

bool apiSupported(const clap_plugin_t*, const char* api, bool floating) {
    return embedded(api, floating);
}

bool preferredApi(const clap_plugin_t*, const char** api, bool* floating) {
    if (!api || !floating) return false;
    *api = CLAP_WINDOW_API_X11;
    *floating = false;
    return true;
}

bool create(const clap_plugin_t* plugin, const char* api, bool floating) {
    ClapEffect* self = ClapEffect::of(plugin);
    return self && embedded(api, floating) && self->createEditor();
}

void destroy(const clap_plugin_t* plugin) {
    if (ClapEffect* self = ClapEffect::of(plugin)) self->destroyEditor();
}

// The editor keeps the size the user chose; the host's scale does not override it.
bool setScale(const clap_plugin_t*, double scale) {
    return scale > 0;
}

bool size(const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height) {
    ClapEffect* self = ClapEffect::of(plugin);
    return self && width && height && self->editorSize(*width, *height);
}

bool canResize(const clap_plugin_t*) {
    return false;
}

// The size changes only in the editor's own settings panel, never by dragging the host's frame.
bool resizeHints(const clap_plugin_t*, clap_gui_resize_hints_t* hints) {
    if (!hints) return false;
    *hints = {false, false, false, 0, 0};
    return true;
}

bool adjustSize(const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height) {
    return size(plugin, width, height);
}

bool setSize(const clap_plugin_t* plugin, std::uint32_t width, std::uint32_t height) {
    std::uint32_t w = 0, h = 0;
    return size(plugin, &w, &h) && w == width && h == height;
}

bool setParent(const clap_plugin_t* plugin, const clap_window_t* window) {
    ClapEffect* self = ClapEffect::of(plugin);
    return self && window && embedded(window->api, false) && self->openEditor(window->x11);
}

bool setTransient(const clap_plugin_t*, const clap_window_t*) {
    return false;
}

void suggestTitle(const clap_plugin_t*, const char*) {}

bool show(const clap_plugin_t*) {
    return true;
}

bool hide(const clap_plugin_t*) {
    return true;
}

void onTimer(const clap_plugin_t* plugin, clap_id id) {
    if (ClapEffect* self = ClapEffect::of(plugin)) self->timer(id);
}

} // namespace

const clap_plugin_gui_t kGui = {apiSupported, preferredApi, create,       destroy,    setScale,
                                size,         canResize,    resizeHints,  adjustSize, setSize,
                                setParent,    setTransient, suggestTitle, show,       hide};
const clap_plugin_timer_support_t kTimerSupport = {onTimer};

} // namespace orvane::clap
