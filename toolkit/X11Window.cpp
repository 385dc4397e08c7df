// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's window on X11 through pugl, which supplies the window and its events; the frame
// paints into an image of its own. Each window has a display connection to itself while it
// exists; events are only read when the host calls in (no thread of our own).
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/ConvertedImage.h"
#include "toolkit/ImageMemory.h"
#include "toolkit/PlatformWindow.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <algorithm>
#include <atomic>
#include <cairo.h>
#include <chrono>
#include <cmath>
#include <dlfcn.h>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <vector>

extern "C" {
#include <pugl/pugl.h>
#include <pugl/stub.h>
}

namespace orvgui {

namespace {

// cairo, fontconfig and freetype keep process-wide caches that are not freed when they are
// unloaded; pinning them keeps one set across loads and unloads of the plug-in.
__attribute__((constructor)) void pinGraphicsLibraries() {
    for (const char* name : {"libcairo.so.2", "libfontconfig.so.1", "libfreetype.so.6"})
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// Errors on our own connections (a parent the host destroyed before closing the editor, a
// bad parent id) would reach Xlib's default handler, which exits the host. While one of our
// windows exists, a handler ignores them and passes every other connection's errors on.
// Editors of two instances may run on two threads.
// The serial of the last error ignored on each of them lets a request that may fail (sharing
// memory with the server) find out whether it did.
struct OurDisplay {
    Display* display;
    unsigned long lastErrorSerial;
};
std::mutex displaysMutex;
std::vector<OurDisplay> ourDisplays;
XErrorHandler hostErrorHandler = nullptr;

std::vector<OurDisplay>::iterator findOurs(Display* display) {
    return std::find_if(ourDisplays.begin(), ourDisplays.end(),
                        [display](const OurDisplay& ours) { return ours.display == display; });
}

int onXError(Display* display, XErrorEvent* event) {
    XErrorHandler passOn;
    {
        std::lock_guard<std::mutex> lock(displaysMutex);
        const auto ours = findOurs(display);
        if (ours != ourDisplays.end()) {
            ours->lastErrorSerial = event->serial;
            return 0;
        }
        passOn = hostErrorHandler;
    }
    return passOn ? passOn(display, event) : 0;
}

// Whoever installs a handler after ours (the host, another plug-in) may keep calling ours as
// its previous one, even after ours was taken out again; so once ours has been installed, this
// module stays mapped for the life of the process.
void keepModuleMapped() {
    static bool kept = false; // under displaysMutex
    if (kept) return;
    Dl_info self;
    if (dladdr(reinterpret_cast<void*>(&onXError), &self) && self.dli_fname)
        kept = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

void adoptDisplay(Display* display) {
    std::lock_guard<std::mutex> lock(displaysMutex);
    if (ourDisplays.empty()) {
        keepModuleMapped();
        hostErrorHandler = XSetErrorHandler(onXError);
    }
    ourDisplays.push_back({display, 0});
}

// Whether a request from serial on (after an XSync) failed.
bool failedSince(Display* display, unsigned long serial) {
    std::lock_guard<std::mutex> lock(displaysMutex);
    const auto ours = findOurs(display);
    return ours != ourDisplays.end() && ours->lastErrorSerial >= serial;
}

void releaseDisplay(Display* display) {
    std::lock_guard<std::mutex> lock(displaysMutex);
    const auto ours = findOurs(display);
    if (ours != ourDisplays.end()) ourDisplays.erase(ours);
    if (!ourDisplays.empty()) return;
    // Put the host's handler back, unless the host installed another one meanwhile.
    const XErrorHandler current = XSetErrorHandler(hostErrorHandler);
    if (current != onXError) XSetErrorHandler(current);
    hostErrorHandler = nullptr;
}

// Unless the host called XInitThreads, Xlib's process-wide set-up (connecting, the input
// method, cursors, the resource database) is not safe on two threads at once, and two
// instances may open their editors on two threads: connections are made, realised and closed
// one at a time.
std::mutex connectionSetupMutex;

// Connecting and setting up pugl's world (atoms, input method) costs more than the rest of a
// later open, so a closed window leaves its world here for the next one; the module's unload
// closes them. A world serves one window, on one thread, at a time.
class WorldPool {
public:
    ~WorldPool() {
        std::lock_guard<std::mutex> setup(connectionSetupMutex);
        for (PuglWorld* world : idle)
            puglFreeWorld(world);
    }

    PuglWorld* take() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!idle.empty()) {
                PuglWorld* world = idle.back();
                idle.pop_back();
                return world;
            }
        }
        PuglWorld* world = nullptr;
        // A busy server refuses connections for a moment (EAGAIN); try again briefly.
        for (int attempt = 0; !world && attempt < 10; ++attempt) {
            if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            std::lock_guard<std::mutex> setup(connectionSetupMutex);
            world = puglNewWorld(PUGL_MODULE, 0);
        }
        if (world) puglSetClassName(world, "Orvane");
        return world;
    }

    // Takes a world with no views and nothing left in its queue.
    void give(PuglWorld* world) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (idle.size() < kKept) {
                idle.push_back(world);
                return;
            }
        }
        std::lock_guard<std::mutex> setup(connectionSetupMutex);
        puglFreeWorld(world);
    }

private:
    static constexpr size_t kKept = 2; // as many as editors a host usually shows at once
    std::mutex mutex;
    std::vector<PuglWorld*> idle;
};

WorldPool worlds;

// A closed window's image, kept for the next window of its size: fresh memory costs more than
// painting it (see ImageMemory.h), and hosts reopen editors often.
class SpareImages {
public:
    ~SpareImages() {
        for (cairo_surface_t* image : spare)
            cairo_surface_destroy(image);
    }

    cairo_surface_t* take(int width, int height, bool shared) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            for (auto it = spare.begin(); it != spare.end(); ++it)
                if (cairo_image_surface_get_width(*it) == width &&
                    cairo_image_surface_get_height(*it) == height &&
                    (sharedMemoryId(*it) >= 0) == shared) {
                    cairo_surface_t* image = *it;
                    spare.erase(it);
                    return image;
                }
        }
        cairo_surface_t* image =
            shared ? createSharedImage(width, height) : createPagedImage(width, height);
        if (image) prepareWhole(image); // the first expose paints all of it
        return image;
    }

    void give(cairo_surface_t* image) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (spare.size() < kKept) {
                spare.push_back(image);
                return;
            }
        }
        cairo_surface_destroy(image);
    }

private:
    static constexpr size_t kKept = 2; // as for the worlds
    std::mutex mutex;
    std::vector<cairo_surface_t*> spare;
};

SpareImages spareImages;

std::atomic<bool> sharingRefused{false};

int32_t modifierBits(PuglMods mods) {
    int32_t bits = 0;
    if (mods & PUGL_MOD_SHIFT) bits |= kShift;
    if (mods & PUGL_MOD_CTRL) bits |= kControl;
    if (mods & PUGL_MOD_ALT) bits |= kAlt;
    if (mods & PUGL_MOD_SUPER) bits |= kApple;
    return bits;
}

int32_t buttonBit(uint32_t button) {
    switch (button) {
    case 0:
        return kLButton;
    case 1:
        return kRButton;
    case 2:
        return kMButton;
    case 3:
        return kButton4;
    case 4:
        return kButton5;
    default:
        return 0;
    }
}

unsigned char virtualKey(uint32_t key) {
    switch (key) {
    case PUGL_KEY_BACKSPACE:
        return VKEY_BACK;
    case '\t':
        return VKEY_TAB;
    case '\r':
        return VKEY_RETURN;
    case PUGL_KEY_ESCAPE:
        return VKEY_ESCAPE;
    case ' ':
        return VKEY_SPACE;
    case PUGL_KEY_PAUSE:
        return VKEY_PAUSE;
    case PUGL_KEY_END:
        return VKEY_END;
    case PUGL_KEY_HOME:
        return VKEY_HOME;
    case PUGL_KEY_LEFT:
        return VKEY_LEFT;
    case PUGL_KEY_UP:
        return VKEY_UP;
    case PUGL_KEY_RIGHT:
        return VKEY_RIGHT;
    case PUGL_KEY_DOWN:
        return VKEY_DOWN;
    case PUGL_KEY_PAGE_UP:
        return VKEY_PAGEUP;
    case PUGL_KEY_PAGE_DOWN:
        return VKEY_PAGEDOWN;
    case PUGL_KEY_PRINT_SCREEN:
        return VKEY_PRINT;
    case PUGL_KEY_INSERT:
        return VKEY_INSERT;
    case PUGL_KEY_DELETE:
        return VKEY_DELETE;
    case PUGL_KEY_NUM_LOCK:
        return VKEY_NUMLOCK;
    case PUGL_KEY_SCROLL_LOCK:
        return VKEY_SCROLL;
    case PUGL_KEY_SHIFT_L:
    case PUGL_KEY_SHIFT_R:
        return VKEY_SHIFT;
    case PUGL_KEY_CTRL_L:
    case PUGL_KEY_CTRL_R:
        return VKEY_CONTROL;
    case PUGL_KEY_ALT_L:
    case PUGL_KEY_ALT_R:
        return VKEY_ALT;
    case '=':
        return VKEY_EQUALS;
    default:
        if (key >= PUGL_KEY_F1 && key <= PUGL_KEY_F12)
            return static_cast<unsigned char>(VKEY_F1 + (key - PUGL_KEY_F1));
        return 0;
    }
}

VstKeyCode keyCode(const PuglKeyEvent& event) {
    VstKeyCode code{};
    code.virt = virtualKey(event.key);
    if (!code.virt && event.key < 0xE000) code.character = static_cast<VstInt32>(event.key);
    if (event.state & PUGL_MOD_SHIFT) code.modifier |= MODIFIER_SHIFT;
    if (event.state & PUGL_MOD_ALT) code.modifier |= MODIFIER_ALTERNATE;
    if (event.state & PUGL_MOD_CTRL) code.modifier |= MODIFIER_CONTROL;
    if (event.state & PUGL_MOD_SUPER) code.modifier |= MODIFIER_COMMAND;
    return code;
}

class X11Window final : public PlatformWindow {
public:
    explicit X11Window(CFrame& frame) : frame(frame) {}
    ~X11Window() override {
        if (world) {
            auto* display = static_cast<Display*>(puglGetNativeWorld(world));
            if (sharing) XShmDetach(display, &segment);
            if (gc) XFreeGC(display, gc);
            if (view) puglFreeView(view);
            // Collect the errors of the teardown while they are still ignored, and drop the
            // events still queued for this window; the server is then done with the image.
            XSync(display, True);
            releaseDisplay(display);
            worlds.give(world);
        }
        if (backing) spareImages.give(backing);
    }

    bool create(unsigned long parent) {
        world = worlds.take();
        if (!world) return false;
        auto* display = static_cast<Display*>(puglGetNativeWorld(world));
        adoptDisplay(display);
        XWindowAttributes attributes;
        if (!parent || !XGetWindowAttributes(display, parent, &attributes)) return false;
        view = puglNewView(world);
        puglSetHandle(view, this);
        puglSetBackend(view, puglStubBackend());
        puglSetEventFunc(view, onEvent);
        const CRect& size = frame.getViewSize();
        puglSetSizeHint(view, PUGL_DEFAULT_SIZE, static_cast<PuglSpan>(size.getWidth()),
                        static_cast<PuglSpan>(size.getHeight()));
        puglSetParentWindow(view, parent);
        {
            std::lock_guard<std::mutex> setup(connectionSetupMutex);
            if (puglRealize(view) != PUGL_SUCCESS) return false;
        }
        if (puglShow(view) != PUGL_SUCCESS) return false;
        const Window window = puglGetNativeView(view);
        if (XGetWindowAttributes(display, window, &attributes)) {
            depth = attributes.depth;
            if (!fitsImage(attributes))
                converted = ConvertedImage::create(display, attributes.visual, depth,
                                                   static_cast<int>(size.getWidth()),
                                                   static_cast<int>(size.getHeight()));
            if (fitsImage(attributes) || converted) gc = XCreateGC(display, window, 0, nullptr);
            shareable = gc && !converted && serverSharesMemory(display);
        }
        // Let the server map the window, so that the owner's first update, once it has placed
        // its views, paints the whole picture at once.
        XSync(display, False);
        return true;
    }

    int connectionFd() const override {
        return ConnectionNumber(static_cast<Display*>(puglGetNativeWorld(world)));
    }

    void update() override {
        puglUpdate(world, 0.0);
        // Send what the redraw produced now, not at the next call.
        XFlush(static_cast<Display*>(puglGetNativeWorld(world)));
    }

private:
    static PuglStatus onEvent(PuglView* view, const PuglEvent* event) {
        static_cast<X11Window*>(puglGetHandle(view))->handle(*event);
        return PUGL_SUCCESS;
    }

    void handle(const PuglEvent& event) {
        CBaseObjectGuard guard(&frame);
        switch (event.type) {
        case PUGL_UPDATE: {
            frame.invalidateDirtyViews();
            const CRect dirty = frame.takeDirtyRect();
            if (!dirty.isEmpty()) postRedisplay(dirty);
            break;
        }
        case PUGL_EXPOSE:
            draw(event.expose);
            break;
        case PUGL_BUTTON_PRESS:
            press(event.button);
            break;
        case PUGL_BUTTON_RELEASE: {
            const int32_t button = buttonBit(event.button.button);
            CPoint where(event.button.x, event.button.y);
            frame.onMouseUp(where, pressed | button | modifierBits(event.button.state));
            pressed &= ~button;
            break;
        }
        case PUGL_MOTION: {
            CPoint where(event.motion.x, event.motion.y);
            frame.onMouseMoved(where, pressed | modifierBits(event.motion.state));
            break;
        }
        case PUGL_POINTER_IN: {
            CPoint where(event.crossing.x, event.crossing.y);
            frame.onMouseMoved(where, pressed | modifierBits(event.crossing.state));
            break;
        }
        case PUGL_POINTER_OUT: {
            CPoint where(event.crossing.x, event.crossing.y);
            frame.onMouseExited(where, pressed | modifierBits(event.crossing.state));
            break;
        }
        case PUGL_SCROLL:
            scroll(event.scroll);
            break;
        case PUGL_KEY_PRESS: {
            VstKeyCode code = keyCode(event.key);
            frame.onKeyDown(code);
            break;
        }
        case PUGL_KEY_RELEASE: {
            VstKeyCode code = keyCode(event.key);
            frame.onKeyUp(code);
            break;
        }
        default:
            break;
        }
    }

    void postRedisplay(const CRect& rect) {
        const PuglRect area{static_cast<PuglCoord>(rect.left), static_cast<PuglCoord>(rect.top),
                            static_cast<PuglSpan>(rect.getWidth()),
                            static_cast<PuglSpan>(rect.getHeight())};
        puglPostRedisplayRect(view, area);
    }

    // The frame draws into an image of its own, which is then put into the window with
    // XPutImage, straight: no server-side buffer to create and composite on every redraw.
    // cairo's own xlib paths are avoided on purpose: its text path ties the global font cache
    // to this display connection, and image-to-window composites keep per-connection records;
    // both leak once the connection closes.
    void draw(const PuglExposeEvent& expose) {
        if (!gc) return;
        const CRect& size = frame.getViewSize();
        if (!backing) {
            backing = spareImages.take(static_cast<int>(size.getWidth()),
                                       static_cast<int>(size.getHeight()), shareable);
            if (backing && shareable) shareBacking();
        }
        if (!backing) return;
        awaitPut();
        const CRect area(expose.x, expose.y, expose.x + expose.width, expose.y + expose.height);
        cairo_t* cairo = cairo_create(backing);
        {
            CDrawContext context(cairo);
            frame.drawRect(&context, area);
        }
        cairo_destroy(cairo);
        cairo_surface_flush(backing);
        putImage(area);
    }

    // The server reads the image straight from our memory where it runs on this machine and
    // offers to; a refused attachment (another IPC namespace, say) falls back to XPutImage.
    static bool serverSharesMemory(Display* display) {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        return !sharingRefused.load(std::memory_order_relaxed) && XShmQueryExtension(display) &&
               getsockname(ConnectionNumber(display), reinterpret_cast<sockaddr*>(&address),
                           &length) == 0 &&
               address.ss_family == AF_UNIX;
    }

    void shareBacking() {
        auto* display = static_cast<Display*>(puglGetNativeWorld(world));
        segment.shmid = sharedMemoryId(backing);
        segment.shmaddr = reinterpret_cast<char*>(cairo_image_surface_get_data(backing));
        segment.readOnly = True;
        const unsigned long serial = NextRequest(display);
        XShmAttach(display, &segment);
        XSync(display, False);
        sharing = !failedSince(display, serial);
        // A server that refused once refuses again: later windows do not ask.
        if (!sharing) sharingRefused.store(true, std::memory_order_relaxed);
    }

    // The image must not change while the server may still be reading the last put; the
    // events read since usually show it has finished without asking.
    void awaitPut() {
        if (!pendingPut) return;
        auto* display = static_cast<Display*>(puglGetNativeWorld(world));
        if (XLastKnownRequestProcessed(display) < pendingPut) XSync(display, False);
        pendingPut = 0;
    }

    // cairo's pixels are native-endian 32-bit words, which a 24- or 32-bit TrueColor window
    // with the usual masks takes as they are; other windows get them converted.
    static bool fitsImage(const XWindowAttributes& window) {
        const Visual* visual = window.visual;
        return visual && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 &&
               visual->blue_mask == 0xff && (window.depth == 24 || window.depth == 32);
    }

    void putImage(const CRect& area) {
        auto* display = static_cast<Display*>(puglGetNativeWorld(world));
        if (converted) {
            converted->put(display, puglGetNativeView(view), gc, backing,
                           static_cast<int>(area.left), static_cast<int>(area.top),
                           static_cast<int>(area.getWidth()), static_cast<int>(area.getHeight()));
            return;
        }
        XImage image{};
        image.width = cairo_image_surface_get_width(backing);
        image.height = cairo_image_surface_get_height(backing);
        image.format = ZPixmap;
        image.data = reinterpret_cast<char*>(cairo_image_surface_get_data(backing));
        image.byte_order = hostByteOrder();
        image.bitmap_unit = 32;
        image.bitmap_bit_order = image.byte_order;
        image.bitmap_pad = 32;
        image.depth = depth;
        image.bytes_per_line = cairo_image_surface_get_stride(backing);
        image.bits_per_pixel = 32;
        image.red_mask = 0xff0000;
        image.green_mask = 0xff00;
        image.blue_mask = 0xff;
        if (!XInitImage(&image)) return;
        if (sharing) {
            image.obdata = reinterpret_cast<char*>(&segment);
            pendingPut = NextRequest(display);
            XShmPutImage(display, puglGetNativeView(view), gc, &image, static_cast<int>(area.left),
                         static_cast<int>(area.top), static_cast<int>(area.left),
                         static_cast<int>(area.top), static_cast<unsigned>(area.getWidth()),
                         static_cast<unsigned>(area.getHeight()), False);
            return;
        }
        XPutImage(display, puglGetNativeView(view), gc, &image, static_cast<int>(area.left),
                  static_cast<int>(area.top), static_cast<int>(area.left),
                  static_cast<int>(area.top), static_cast<unsigned>(area.getWidth()),
                  static_cast<unsigned>(area.getHeight()));
    }

    void press(const PuglButtonEvent& event) {
        const int32_t button = buttonBit(event.button);
        constexpr double doubleClickSeconds = 0.4;
        constexpr double doubleClickDistance = 4;
        const bool isDouble = button == lastButton &&
                              event.time - lastPressTime <= doubleClickSeconds &&
                              std::abs(event.x - lastPress.x) <= doubleClickDistance &&
                              std::abs(event.y - lastPress.y) <= doubleClickDistance;
        // A third click starts a new pair.
        lastPressTime = isDouble ? -1.0 : event.time;
        lastButton = button;
        lastPress = CPoint(event.x, event.y);
        pressed |= button;
        CPoint where(event.x, event.y);
        frame.onMouseDown(where,
                          pressed | modifierBits(event.state) | (isDouble ? kDoubleClick : 0));
    }

    void scroll(const PuglScrollEvent& event) {
        const bool horizontal =
            event.direction == PUGL_SCROLL_LEFT || event.direction == PUGL_SCROLL_RIGHT;
        const float distance = static_cast<float>(horizontal ? event.dx : event.dy);
        frame.onWheel(CPoint(event.x, event.y), horizontal ? kMouseWheelAxisX : kMouseWheelAxisY,
                      distance, pressed | modifierBits(event.state));
    }

    CFrame& frame;
    PuglWorld* world = nullptr;
    PuglView* view = nullptr;
    cairo_surface_t* backing = nullptr;
    GC gc = nullptr; // none when the frame's image cannot be put into the window
    std::unique_ptr<ConvertedImage> converted; // for a window that takes other pixels
    bool shareable = false;                    // the server may read the image from memory
    bool sharing = false;                      // and has attached it
    XShmSegmentInfo segment{};
    unsigned long pendingPut = 0; // the serial of a shared put the server may still be reading
    int depth = 24;
    int32_t pressed = 0;
    int32_t lastButton = 0;
    double lastPressTime = -1.0;
    CPoint lastPress;
};

} // namespace

std::unique_ptr<PlatformWindow> PlatformWindow::create(CFrame& frame, unsigned long parent) {
    auto window = std::make_unique<X11Window>(frame);
    if (!window->create(parent)) return nullptr;
    return window;
}

} // namespace orvgui
