// SPDX-License-Identifier: GPL-3.0-or-later
// A host's window for the plug-in's editor, on the X display named by $DISPLAY.
#pragma once

#include "tools/testhost/TestHost.h"

#include <string>

struct _XDisplay;

namespace orvane::validate {

class EditorWindow {
public:
    EditorWindow();
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // Empty when a window exists, else why not.
    const std::string& problem() const { return why; }
    unsigned long id() const { return window; } // for hosts that embed the editor themselves
    // effEditGetRect, effEditOpen into this window; false when the editor did not open.
    bool open(testhost::Plugin& plugin);
    // Hands the host's share of the event loop to the editor, as hosts do between idles.
    void idle(testhost::Plugin& plugin);
    void close(testhost::Plugin& plugin);

private:
    _XDisplay* display = nullptr;
    unsigned long window = 0;
    std::string why;
};

} // namespace orvane::validate
