// SPDX-License-Identifier: GPL-3.0-or-later
// A fake host on a private Xvfb: top-level windows that editors are opened into, input
// through xdotool and screenshots through ImageMagick's import.
#pragma once

#include "toolkit/Geometry.h"
#include "tools/testhost/TestHost.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace orvane::guitest {

// An X11 window id (Xlib stays out of this header: its macros clash with GoogleTest).
using Window = unsigned long;

// Starts Xvfb once per process and points DISPLAY at it; empty when a tool is missing.
std::optional<std::string> testDisplay();
// The reason testDisplay() is empty.
std::string missingTool();

class HostWindow {
public:
    HostWindow(int x, int y, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    Window id() const { return window; }
    // Destroys the window (and the editor's window inside it), as a careless host might.
    void destroy();
    void* parentHandle() const { return reinterpret_cast<void*>(window); }
    int x() const { return left; }
    int y() const { return top; }
    // Windows created inside this one.
    std::vector<Window> children() const;
    // Asks the server to expose every child window whole, as uncovering the window does.
    void exposeChildren();
    // The geometry of a child window relative to this one.
    orvgui::CRect childRect(Window child) const;

private:
    _XDisplay* display = nullptr;
    Window window = 0;
    int left, top;
};

// An editor opened into its own host window at (x, y) of the screen.
class EditorSession {
public:
    // Opens the editor and idles initialIdles times.
    EditorSession(testhost::Plugin& plugin, int x = 0, int y = 0, int initialIdles = 3);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    bool isOpen() const { return opened; }
    HostWindow& window() { return *host; }
    void idle(int times = 1);
    // Idles until condition holds (or two seconds pass).
    bool idleUntil(const std::function<bool()>& condition);
    void close();
    // For a host that unloads the plug-in without closing the editor first.
    void abandon() { opened = false; }

    // xdotool at editor coordinates.
    void moveTo(int x, int y);
    void press(int button = 1);
    void release(int button = 1);
    void click(int x, int y, int button = 1, int repeat = 1);
    void key(const std::string& name);

private:
    testhost::Plugin& plugin;
    std::unique_ptr<HostWindow> host;
    bool opened = false;
};

// A picture of a window, read back from a PNG written by import.
class Screenshot {
public:
    static std::optional<Screenshot> of(Window window, const std::string& savedAs);
    static std::optional<Screenshot> load(const std::string& pngPath);
    orvgui::CColor pixel(int x, int y) const;
    // True when every pixel of the region has exactly colour.
    bool regionIs(const orvgui::CRect& region, const orvgui::CColor& colour) const;
    // The number of pixels in the region that differ from colour.
    int countOtherThan(const orvgui::CRect& region, const orvgui::CColor& colour) const;
    int width() const { return w; }
    int height() const { return h; }

private:
    std::vector<uint32_t> pixels;
    int w = 0;
    int h = 0;
};

// As another plug-in in the same host does: installs an X error handler that passes every
// error on to the handler it replaced.
void chainXErrorHandler();
// Makes the server answer a request of a connection of the test's own with an error.
void provokeXError();

// Runs xdotool with arguments; false when it failed.
bool xdotool(const std::string& arguments);

// Where screenshots go.
std::string screenshotPath(const std::string& name);

} // namespace orvane::guitest
