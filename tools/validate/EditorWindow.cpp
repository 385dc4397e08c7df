// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/EditorWindow.h"

#include <X11/Xlib.h>

namespace orvane::validate {

EditorWindow::EditorWindow() {
    display = XOpenDisplay(nullptr);
    if (!display) {
        why = "no X display ($DISPLAY)";
        return;
    }
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 600, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
}

EditorWindow::~EditorWindow() {
    if (!display) return;
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

bool EditorWindow::open(testhost::Plugin& plugin) {
    ERect* rect = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect && rect->right > rect->left && rect->bottom > rect->top) {
        XResizeWindow(display, window, static_cast<unsigned>(rect->right - rect->left),
                      static_cast<unsigned>(rect->bottom - rect->top));
        XSync(display, False);
    }
    return plugin.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)) != 0;
}

void EditorWindow::idle(testhost::Plugin& plugin) {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
    plugin.dispatch(effEditIdle);
}

void EditorWindow::close(testhost::Plugin& plugin) {
    plugin.dispatch(effEditClose);
    XSync(display, False);
}

} // namespace orvane::validate
