// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/gui/XHarness.h"

#include <X11/Xlib.h>
#include <cairo.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace orvane::guitest {

namespace {

bool onPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string& missing() {
    static std::string name;
    return name;
}

pid_t serverPid = 0;

void stopServer() {
    if (serverPid > 0) {
        kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
        serverPid = 0;
    }
}

// Xvfb on the first free display number, which it reports through -displayfd.
std::optional<std::string> startXvfb() {
    for (const char* program : {"Xvfb", "xdotool", "import"})
        if (!onPath(program)) {
            missing() = program;
            return std::nullopt;
        }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // -terminate: the server ends with its last client, so it cannot outlive a crashed test.
    // ORVANE_TEST_SCREEN_DEPTH asks for a screen of another depth (30: 10 bits a channel);
    // ORVANE_TEST_NO_SHARED_MEMORY for a server without MIT-SHM, as a remote one is.
    const char* depth = std::getenv("ORVANE_TEST_SCREEN_DEPTH");
    const std::string screen = std::string("2400x1000x") + (depth ? depth : "24");
    std::vector<const char*> args = {"Xvfb",       "-displayfd", "3", "-nolisten",   "tcp",
                                     "-terminate", "-screen",    "0", screen.c_str()};
    if (std::getenv("ORVANE_TEST_NO_SHARED_MEMORY"))
        args.insert(args.end(), {"-extension", "MIT-SHM"});
    args.push_back(nullptr);
    const bool started = posix_spawnp(&serverPid, "Xvfb", &actions, nullptr,
                                      const_cast<char**>(args.data()), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    char c = 0;
    while (started && poll(&ready, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) {
        missing() = "a working Xvfb";
        stopServer();
        return std::nullopt;
    }
    std::atexit(stopServer);
    const std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    // The server's last client: held for the life of the process.
    static Display* keeper = nullptr;
    for (int attempt = 0; !keeper && attempt < 50; ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        keeper = XOpenDisplay(display.c_str());
    }
    return display;
}

} // namespace

std::optional<std::string> testDisplay() {
    static const std::optional<std::string> display = startXvfb();
    return display;
}

std::string missingTool() {
    return missing();
}

std::string screenshotPath(const std::string& name) {
    mkdir(ORVANE_GUI_SCREENSHOT_DIR, 0755);
    // Runs on a screen of another depth may run beside the usual ones: names of their own.
    const char* depth = std::getenv("ORVANE_TEST_SCREEN_DEPTH");
    const std::string suffix = depth ? std::string("-depth") + depth : "";
    return std::string(ORVANE_GUI_SCREENSHOT_DIR) + "/" + name + suffix + ".png";
}

namespace {
XErrorHandler replacedHandler = nullptr;
int chainingHandler(Display* display, XErrorEvent* event) {
    return replacedHandler ? replacedHandler(display, event) : 0;
}
} // namespace

void chainXErrorHandler() {
    replacedHandler = XSetErrorHandler(chainingHandler);
}

void provokeXError() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XWindowAttributes attributes;
    XGetWindowAttributes(display, 0x1ffffff3, &attributes);
    XCloseDisplay(display);
}

bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

HostWindow::HostWindow(int x, int y, int width, int height) : left(x), top(y) {
    // Xvfb refuses connections now and then when they come quickly (EAGAIN).
    for (int attempt = 0; !display && attempt < 50; ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        display = XOpenDisplay(nullptr);
    }
    if (!display) return;
    const int screen = DefaultScreen(display);
    window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                 BlackPixel(display, screen), BlackPixel(display, screen));
    XMapRaised(display, window);
    XSync(display, False);
}

HostWindow::~HostWindow() {
    if (!display) return;
    if (window) XDestroyWindow(display, window);
    XCloseDisplay(display);
}

void HostWindow::destroy() {
    if (!display || !window) return;
    XDestroyWindow(display, window);
    XSync(display, False);
    window = 0;
}

std::vector<Window> HostWindow::children() const {
    std::vector<Window> result;
    Window root = 0, parent = 0, *list = nullptr;
    unsigned count = 0;
    if (display && XQueryTree(display, window, &root, &parent, &list, &count)) {
        result.assign(list, list + count);
        if (list) XFree(list);
    }
    return result;
}

void HostWindow::exposeChildren() {
    for (Window child : children())
        XClearArea(display, child, 0, 0, 0, 0, True);
    XSync(display, False);
}

orvgui::CRect HostWindow::childRect(Window child) const {
    XWindowAttributes attributes;
    if (!display || !XGetWindowAttributes(display, child, &attributes)) return {};
    return orvgui::CRect(attributes.x, attributes.y, attributes.x + attributes.width,
                         attributes.y + attributes.height);
}

EditorSession::EditorSession(testhost::Plugin& plugin, int x, int y, int initialIdles)
    : plugin(plugin) {
    ERect* rect = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &rect);
    const int width = rect ? rect->right - rect->left : 100;
    const int height = rect ? rect->bottom - rect->top : 100;
    host = std::make_unique<HostWindow>(x, y, width, height);
    opened = plugin.dispatch(effEditOpen, 0, 0, host->parentHandle()) != 0;
    idle(initialIdles);
}

EditorSession::~EditorSession() {
    close();
}

void EditorSession::close() {
    if (opened) plugin.dispatch(effEditClose);
    opened = false;
}

void EditorSession::idle(int times) {
    for (int i = 0; i < times; ++i) {
        plugin.dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool EditorSession::idleUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        idle();
        if (condition()) return true;
    }
    return false;
}

void EditorSession::moveTo(int x, int y) {
    xdotool("mousemove " + std::to_string(host->x() + x) + " " + std::to_string(host->y() + y));
}

void EditorSession::press(int button) {
    xdotool("mousedown " + std::to_string(button));
}

void EditorSession::release(int button) {
    xdotool("mouseup " + std::to_string(button));
}

void EditorSession::click(int x, int y, int button, int repeat) {
    moveTo(x, y);
    xdotool("click --repeat " + std::to_string(repeat) + " --delay 60 " + std::to_string(button));
}

void EditorSession::key(const std::string& name) {
    xdotool("key " + name);
}

std::optional<Screenshot> Screenshot::of(Window window, const std::string& name) {
    const std::string path = screenshotPath(name);
    const std::string command =
        "import -window " + std::to_string(window) + " " + path + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    return load(path);
}

std::optional<Screenshot> Screenshot::load(const std::string& path) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return std::nullopt;
    }
    // Read through a surface of known format, whatever import wrote.
    Screenshot shot;
    shot.w = cairo_image_surface_get_width(image);
    shot.h = cairo_image_surface_get_height(image);
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, shot.w, shot.h);
    cairo_t* cairo = cairo_create(argb);
    cairo_set_source_surface(cairo, image, 0, 0);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(argb);
    const int stride = cairo_image_surface_get_stride(argb);
    const unsigned char* data = cairo_image_surface_get_data(argb);
    shot.pixels.resize(static_cast<std::size_t>(shot.w * shot.h));
    for (int y = 0; y < shot.h; ++y)
        for (int x = 0; x < shot.w; ++x)
            shot.pixels[static_cast<std::size_t>(y * shot.w + x)] =
                *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
    cairo_surface_destroy(argb);
    cairo_surface_destroy(image);
    return shot;
}

orvgui::CColor Screenshot::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return {0, 0, 0, 0};
    const uint32_t p = pixels[static_cast<std::size_t>(y * w + x)];
    return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
            static_cast<uint8_t>(p >> 24)};
}

int Screenshot::countOtherThan(const orvgui::CRect& region, const orvgui::CColor& colour) const {
    int count = 0;
    for (int y = static_cast<int>(region.top); y < static_cast<int>(region.bottom); ++y)
        for (int x = static_cast<int>(region.left); x < static_cast<int>(region.right); ++x)
            if (pixel(x, y) != colour) ++count;
    return count;
}

bool Screenshot::regionIs(const orvgui::CRect& region, const orvgui::CColor& colour) const {
    return countOtherThan(region, colour) == 0;
}

} // namespace orvane::guitest
