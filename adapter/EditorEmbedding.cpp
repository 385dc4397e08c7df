// SPDX-License-Identifier: GPL-3.0-or-later
#include "adapter/EditorEmbedding.h"

#include "engine/VendorCodes.h"

#include <X11/Xlib.h>

namespace orvane::adapter {

EditorEmbedding::EditorEmbedding(AEffect* effect) : effect(effect) {}

EditorEmbedding::~EditorEmbedding() {
    close();
}

bool EditorEmbedding::open(unsigned long parent) {
    if (opened) return true;
    if (!effect || !(effect->flags & effFlagsHasEditor) || !parent) return false;
    // The effect answers 1 only when its window really came up in parent.
    opened = effect->dispatcher(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0) != 0;
    if (opened) parentWindow = parent;
    return opened;
}

void EditorEmbedding::close() {
    if (!opened) return;
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0);
    opened = false;
    parentWindow = 0;
}

void EditorEmbedding::idle() {
    if (opened) effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0);
}

bool EditorEmbedding::size(int& width, int& height) const {
    if (!effect) return false;
    ERect* rect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0);
    if (!rect || rect->right <= rect->left || rect->bottom <= rect->top) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return true;
}

// The editor's window is the child it created in the host's window: the newest on top.
unsigned long EditorEmbedding::window() const {
    if (!opened) return 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    Window root = 0, ignored = 0, newest = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parentWindow, &root, &ignored, &children, &count) && count > 0)
        newest = children[count - 1];
    if (children) XFree(children);
    XCloseDisplay(display);
    return newest;
}

int EditorEmbedding::connectionFd() const {
    if (!opened) return -1;
    return static_cast<int>(
        effect->dispatcher(effect, effVendorSpecific, kEditorConnectionCode, 0, nullptr, 0));
}

} // namespace orvane::adapter
