// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/HostWindow.h"

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Deeper than any host nests its plug-in windows; ends the walk on a broken tree.
constexpr int kMaxDepth = 64;

} // namespace

// A connection of its own through XCB: unlike Xlib's, its set-up is safe while other threads
// open theirs.
unsigned long topLevelWindowOf(unsigned long window) {
    if (window == 0) return 0;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    unsigned long topLevel = 0;
    xcb_window_t current = static_cast<xcb_window_t>(window);
    for (int depth = 0; depth < kMaxDepth && !xcb_connection_has_error(connection); ++depth) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, current), nullptr);
        if (!tree) break;
        const xcb_window_t parent = tree->parent;
        const bool atTop = parent == tree->root;
        std::free(tree);
        if (atTop) {
            topLevel = current;
            break;
        }
        if (parent == XCB_NONE) break;
        current = parent;
    }
    xcb_disconnect(connection);
    return topLevel;
}
