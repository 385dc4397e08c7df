// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's editor inside a host's X11 window, as LV2, VST3 and CLAP embed it.
#pragma once

#include "host/vst2.h"

namespace orvane::adapter {

class EditorEmbedding {
public:
    explicit EditorEmbedding(AEffect* effect);
    ~EditorEmbedding(); // closes an open editor
    EditorEmbedding(const EditorEmbedding&) = delete;
    EditorEmbedding& operator=(const EditorEmbedding&) = delete;

    // False when the effect has no editor or it did not open in parent (an X11 window id).
    bool open(unsigned long parent);
    void close();
    bool isOpen() const { return opened; }
    // Draws what changed and handles the editor's X events; the host's timer calls it.
    void idle();
    // The editor's size in pixels (the size the user chose in the settings panel).
    bool size(int& width, int& height) const;
    // The editor's own window inside parent, and its X connection's file descriptor for hosts
    // that watch it (-1 when there is none).
    unsigned long window() const;
    int connectionFd() const;

private:
    AEffect* effect;
    bool opened = false;
    unsigned long parentWindow = 0;
};

} // namespace orvane::adapter
