// The cost of the editor on the user-interface thread: an idle with nothing to do, an idle
// that redraws the whole 1100 x 950 face (client and X server time, on Xvfb), open and close.
#include "tests/gui/TestEffect.h"
#include "tests/gui/XHarness.h"

#include <benchmark/benchmark.h>

namespace orvane::guitest {
namespace {

struct OpenEditor {
    OpenEditor() {
        if (!testDisplay()) return;
        plugin = testhost::Plugin::load(testPluginPath());
        if (!plugin) return;
        session = std::make_unique<EditorSession>(*plugin, 0, 0, 20);
    }
    std::unique_ptr<testhost::Plugin> plugin;
    std::unique_ptr<EditorSession> session;
};

OpenEditor& editor() {
    static OpenEditor open;
    return open;
}

void EmptyIdle(benchmark::State& state) {
    OpenEditor& open = editor();
    if (!open.session || !open.session->isOpen()) return state.SkipWithError("no editor");
    for (auto _ : state)
        open.plugin->dispatch(effEditIdle);
}
BENCHMARK(EmptyIdle);

void FullRedrawIdle(benchmark::State& state) {
    OpenEditor& open = editor();
    if (!open.session || !open.session->isOpen()) return state.SkipWithError("no editor");
    for (auto _ : state) {
        open.plugin->dispatch(effVendorSpecific, kInvalidateEditor);
        open.plugin->dispatch(effEditIdle);
    }
}
BENCHMARK(FullRedrawIdle)->Unit(benchmark::kMillisecond);

// effEditOpen to the first picture, and effEditClose, into one host window.
void OpenAndClose(benchmark::State& state) {
    OpenEditor& open = editor();
    if (!open.session) return state.SkipWithError("no editor");
    open.session->close(); // the other benchmarks have run by now
    HostWindow window(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        if (!open.plugin->dispatch(effEditOpen, 0, 0, window.parentHandle()))
            return state.SkipWithError("open failed");
        open.plugin->dispatch(effEditClose);
    }
}
BENCHMARK(OpenAndClose)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane::guitest

BENCHMARK_MAIN();
