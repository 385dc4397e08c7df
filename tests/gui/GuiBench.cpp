// The cost of the editor's idle on the user-interface thread: with nothing to do, and with a
// full redraw of the 1100 x 950 face (client and X server time, on Xvfb).
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

} // namespace
} // namespace orvane::guitest

BENCHMARK_MAIN();
