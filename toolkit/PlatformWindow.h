// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's native child window (internal to the toolkit).
#pragma once

#include <memory>

namespace orvgui {

class CFrame;

class PlatformWindow {
public:
    virtual ~PlatformWindow() = default;
    // A child of parent sized like the frame, or null when parent is not a usable window.
    static std::unique_ptr<PlatformWindow> create(CFrame& frame, unsigned long parent);
    // Handles pending events and redraws the frame's dirty rectangle, without blocking.
    virtual void update() = 0;
    // The file descriptor of the window's X connection, for hosts that watch it.
    virtual int connectionFd() const = 0;
};

} // namespace orvgui
