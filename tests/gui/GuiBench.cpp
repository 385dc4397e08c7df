// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the real editor on the user-interface thread, on Xvfb, at the size ORVANE_BENCH_SIZE
// names (100, 150 or 200; 200 when unset): creating an instance, opening (the first open in the
// process comes straight after effOpen, as hosts that show the editor on insertion do; later
// ones reuse what the first prepared), an idle with nothing to do, an idle after the host
// automated one knob, a full redraw, and the memory an instance and an open editor add.
// Baselines in the same run: a dispatcher call that does nothing, and putting a whole image of
// the editor's size into a window, the floor of any full redraw. ORVANE_BENCH_MODULE names
// another build of the module to measure instead of this one's.
#include "tests/gui/XHarness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <glib.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orvane::guitest {
namespace {

int benchSize() {
    const char* size = std::getenv("ORVANE_BENCH_SIZE");
    return size && (std::string(size) == "100" || std::string(size) == "150") ? std::atoi(size)
                                                                              : 200;
}
const int kWidth = 550 * benchSize() / 100, kHeight = 475 * benchSize() / 100;

std::string modulePath() {
    const char* module = std::getenv("ORVANE_BENCH_MODULE");
    return module ? module : testhost::builtPluginPath();
}

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The effect at the benchmarked size, in a preferences folder of its own.
struct Effect {
    Effect() {
        if (!testDisplay()) return;
        gchar* made = g_dir_make_tmp("orvane-bench-XXXXXX", nullptr);
        folder = made;
        g_free(made);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        std::ofstream(folder + "/com.HKZX.Orvane")
            << "[String]\nBig" << benchSize() << "=" << (benchSize() == 100 ? "N" : "Y") << "\n";
        const long before = residentKiB();
        plugin = testhost::Plugin::load(modulePath());
        if (plugin) plugin->start();
        loadedKiB = residentKiB() - before;
    }
    ~Effect() {
        plugin.reset();
        if (!folder.empty()) std::system(("rm -rf '" + folder + "'").c_str());
    }
    std::string folder;
    std::unique_ptr<testhost::Plugin> plugin;
    long loadedKiB = 0; // the module and one effect, before any editor
};

Effect& effect() {
    static Effect instance;
    return instance;
}

// Times effEditOpen and the first idle, which puts the first picture into the window.
void openAndClose(benchmark::State& state) {
    Effect& e = effect();
    if (!e.plugin) return state.SkipWithError("no module or display");
    HostWindow window(0, 0, kWidth, kHeight);
    long added = 0;
    for (auto _ : state) {
        const long before = residentKiB();
        if (!e.plugin->dispatch(effEditOpen, 0, 0, window.parentHandle()))
            return state.SkipWithError("open failed");
        e.plugin->dispatch(effEditIdle);
        state.PauseTiming();
        added = residentKiB() - before;
        e.plugin->dispatch(effEditClose);
        state.ResumeTiming();
    }
    state.counters["resident_KiB_added"] = static_cast<double>(added);
}

// Registered first: the only open in the process that may find the bitmaps unprepared.
void FirstOpen(benchmark::State& state) {
    openAndClose(state);
    state.counters["resident_KiB_module_and_effect"] = static_cast<double>(effect().loadedKiB);
}
BENCHMARK(FirstOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

void OpenAgain(benchmark::State& state) {
    openAndClose(state);
}
BENCHMARK(OpenAgain)->Unit(benchmark::kMillisecond);

struct OpenEditor {
    OpenEditor() {
        if (effect().plugin) session = std::make_unique<EditorSession>(*effect().plugin, 0, 0, 20);
    }
    std::unique_ptr<EditorSession> session;
};

OpenEditor& editor() {
    static OpenEditor open;
    return open;
}

// What a host's scan pays for each instance, with the module already loaded.
void CreateInstance(benchmark::State& state) {
    if (!effect().plugin) return state.SkipWithError("no module or display");
    for (auto _ : state)
        benchmark::DoNotOptimize(testhost::Plugin::load(modulePath()));
}
BENCHMARK(CreateInstance)->Unit(benchmark::kMicrosecond);

// Meaningful alone (--benchmark_filter=InstanceAtRest): what the module and an instance that
// never opens its editor hold a second after its creation.
void InstanceAtRest(benchmark::State& state) {
    if (!testDisplay()) return state.SkipWithError("no display");
    for (auto _ : state) {
        const long before = residentKiB();
        auto plugin = testhost::Plugin::load(modulePath());
        if (!plugin) return state.SkipWithError("no module");
        plugin->start();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        state.counters["resident_KiB"] = static_cast<double>(residentKiB() - before);
    }
}
BENCHMARK(InstanceAtRest)->Iterations(1)->Unit(benchmark::kMillisecond);

void DispatcherBaseline(benchmark::State& state) {
    Effect& e = effect();
    if (!e.plugin) return state.SkipWithError("no module or display");
    for (auto _ : state)
        benchmark::DoNotOptimize(e.plugin->dispatch(effGetVstVersion));
}
BENCHMARK(DispatcherBaseline);

void IdleNothingChanged(benchmark::State& state) {
    OpenEditor& open = editor();
    if (!open.session || !open.session->isOpen()) return state.SkipWithError("no editor");
    for (auto _ : state)
        effect().plugin->dispatch(effEditIdle);
}
BENCHMARK(IdleNothingChanged);

// The idle that follows host automation of the volume knob: that knob and its readout redraw.
void IdleAfterAutomation(benchmark::State& state) {
    OpenEditor& open = editor();
    if (!open.session || !open.session->isOpen()) return state.SkipWithError("no editor");
    testhost::Plugin& plugin = *effect().plugin;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plugin.setParameter(1, (i++ % 2) ? 0.3f : 0.7f);
        std::this_thread::sleep_for(std::chrono::milliseconds(41)); // past the idle interval
        state.ResumeTiming();
        plugin.dispatch(effEditIdle);
    }
}
BENCHMARK(IdleAfterAutomation)->Iterations(40)->Unit(benchmark::kMicrosecond);

void FullRedraw(benchmark::State& state) {
    OpenEditor& open = editor();
    if (!open.session || !open.session->isOpen()) return state.SkipWithError("no editor");
    for (auto _ : state) {
        state.PauseTiming();
        open.session->window().exposeChildren();
        state.ResumeTiming();
        effect().plugin->dispatch(effEditIdle);
    }
}
BENCHMARK(FullRedraw)->Unit(benchmark::kMillisecond);

void WholeImagePutBaseline(benchmark::State& state) {
    if (!testDisplay()) return state.SkipWithError("no display");
    Display* display = XOpenDisplay(nullptr);
    if (!display) return state.SkipWithError("no display");
    const int screen = DefaultScreen(display);
    const ::Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kWidth, kHeight, 0, 0, 0);
    XMapWindow(display, window);
    std::vector<char> pixels(static_cast<size_t>(kWidth) * kHeight * 4, 0x40);
    XImage* image = XCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, 0,
                                 pixels.data(), kWidth, kHeight, 32, 0);
    GC gc = XCreateGC(display, window, 0, nullptr);
    for (auto _ : state) {
        XPutImage(display, window, gc, image, 0, 0, 0, 0, kWidth, kHeight);
        XSync(display, False);
    }
    image->data = nullptr;
    XDestroyImage(image);
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}
BENCHMARK(WholeImagePutBaseline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane::guitest
BENCHMARK_MAIN();
