// SPDX-License-Identifier: GPL-3.0-or-later
// The user interface module opens the effect's editor in a host window under Xvfb, through
// instance-access, as Ardour, Qtractor and jalv embed it.
#include "engine/VendorCodes.h"
#include "gui/XHarness.h"
#include "lv2/Lv2Hosts.h"
#include "prefs/TempConfig.h"

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <dlfcn.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using namespace orvane::guitest;

struct PortWrite {
    std::uint32_t port;
    float value;
};

// The host's side of one open user interface.
class UiHost {
public:
    UiHost(orvane::lv2host::Lv2Plugin& plugin, HostWindow& window, void* parentWindow = nullptr) {
        library = dlopen((orvane::lv2host::builtBundlePath() + "/Orvane_ui.so").c_str(),
                         RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        auto entry = reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(
            dlsym(library, "lv2ui_descriptor"));
        descriptor = entry ? entry(0) : nullptr;
        if (!descriptor) return;
        resize = {this, [](LV2UI_Feature_Handle h, int w, int hgt) {
                      static_cast<UiHost*>(h)->size = {w, hgt};
                      return 0;
                  }};
        instanceAccess = {LV2_INSTANCE_ACCESS_URI, plugin.handle()};
        parent = {LV2_UI__parent, parentWindow ? parentWindow : window.parentHandle()};
        resizeFeature = {LV2_UI__resize, &resize};
        const LV2_Feature* features[] = {&instanceAccess, &parent, &resizeFeature, nullptr};
        ui = descriptor->instantiate(descriptor, orvane::lv2::kPluginUri,
                                     orvane::lv2host::builtBundlePath().c_str(), &UiHost::write,
                                     this, &widget, features);
        if (ui)
            idleInterface = static_cast<const LV2UI_Idle_Interface*>(
                descriptor->extension_data(LV2_UI__idleInterface));
    }
    ~UiHost() {
        if (ui) descriptor->cleanup(ui);
        if (library) dlclose(library);
    }

    bool idleUntil(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            idleInterface->idle(ui);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (condition()) return true;
        }
        return false;
    }
    void portEvent(std::uint32_t port, float value) {
        descriptor->port_event(ui, port, sizeof value, 0, &value);
    }

    LV2UI_Handle ui = nullptr;
    LV2UI_Widget widget = nullptr;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
    std::pair<int, int> size{0, 0};
    std::vector<PortWrite> writes;

private:
    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        if (format == 0 && size == sizeof(float))
            static_cast<UiHost*>(controller)
                ->writes.push_back({port, *static_cast<const float*>(buffer)});
    }

    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Resize resize{};
    LV2_Feature instanceAccess{}, parent{}, resizeFeature{};
};

class Lv2UiTest : public TempConfig {};

TEST_F(Lv2UiTest, EditorEmbedsWritesPortsAndFollowsTheHost) {
    if (!testDisplay()) GTEST_SKIP() << missingTool();
    auto plugin = loadLv2();
    ASSERT_TRUE(plugin);
    AEffect* effect = effectOf(*plugin);
    if (!(effect->flags & effFlagsHasEditor)) GTEST_SKIP() << "the effect has no editor";

    HostWindow window(20, 20, 1200, 1000);
    UiHost host(*plugin, window);
    ASSERT_TRUE(host.ui);
    ASSERT_TRUE(host.idleInterface);
    ERect* rect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0);
    ASSERT_TRUE(rect);
    EXPECT_EQ(host.size, std::make_pair(rect->right - rect->left, rect->bottom - rect->top));
    const std::vector<Window> children = window.children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(reinterpret_cast<Window>(host.widget), children[0]);
    // The open editor's X connection, for hosts that watch it.
    EXPECT_GE(effect->dispatcher(effect, effVendorSpecific, kEditorConnectionCode, 0, nullptr, 0),
              0);
    // The effect has one editor: a second interface on the same instance is refused.
    EXPECT_FALSE(UiHost(*plugin, window).ui);
    host.idleUntil([] { return false; });
    const orvgui::CRect bypass(424, 110, 434, 120);
    const auto before = Screenshot::of(window.id(), "lv2-ui-open");
    ASSERT_TRUE(before);

    // A click on the bypass switch reaches the host as a write of the bypass port.
    const std::uint32_t bypassPort = plugin->portIndex("bypass");
    xdotool("mousemove " + std::to_string(window.x() + 429) + " " +
            std::to_string(window.y() + 115) + " click 1");
    EXPECT_TRUE(host.idleUntil([&] { return !host.writes.empty(); }));
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0].port, bypassPort);
    EXPECT_EQ(host.writes[0].value, 1.0f);
    EXPECT_EQ(effect->getParameter(effect, 40), 1.0f);

    // The host turns it off again: the effect follows and so does the switch on screen.
    host.portEvent(bypassPort, 0.0f);
    EXPECT_EQ(effect->getParameter(effect, 40), 0.0f);
    EXPECT_TRUE(host.idleUntil([&] {
        const auto now = Screenshot::of(window.id(), "lv2-ui-host-change");
        if (!now) return false;
        for (int y = bypass.top; y < bypass.bottom; ++y)
            for (int x = bypass.left; x < bypass.right; ++x)
                if (!(now->pixel(x, y) == before->pixel(x, y))) return false;
        return true;
    }));
    EXPECT_EQ(host.writes.size(), 1u); // the host's own change is not echoed back

    // A change the effect makes by itself, as a MIDI controller does, reaches the port too.
    effect->setParameter(effect, 3, 0.25f);
    EXPECT_TRUE(host.idleUntil([&] { return host.writes.size() == 2; }));
    ASSERT_EQ(host.writes.size(), 2u);
    EXPECT_EQ(host.writes[1].port, plugin->portIndex("air_amount"));
    EXPECT_EQ(host.writes[1].value, 1.5f);
}

// Values the effect changed without the host survive the ports the host sends when the interface
// opens, and the echo of the interface's own report does not pull a moving value back.
TEST_F(Lv2UiTest, StalePortsAndLateEchoesNeverOverwriteTheEffect) {
    if (!testDisplay()) GTEST_SKIP() << missingTool();
    auto plugin = loadLv2();
    ASSERT_TRUE(plugin);
    AEffect* effect = effectOf(*plugin);
    if (!(effect->flags & effFlagsHasEditor)) GTEST_SKIP() << "the effect has no editor";
    StereoSignal s = testSignal(64);
    std::vector<float> outL(64), outR(64);
    const auto run = [&] {
        plugin->run(s.left.data(), s.right.data(), outL.data(), outR.data(), 64);
    };
    run();
    effect->setParameter(effect, 3, 0.25f); // as a MIDI controller, while no interface is open

    HostWindow window(20, 20, 1200, 1000);
    // No interface when the editor does not come up (the host's window is not there); the
    // effect's one editor stays free for the next.
    EXPECT_FALSE(UiHost(*plugin, window, reinterpret_cast<void*>(0x3ffffff0ul)).ui);
    UiHost host(*plugin, window);
    ASSERT_TRUE(host.ui);
    const std::uint32_t amount = plugin->portIndex("air_amount");
    for (const char* symbol : {"main_volume", "air", "air_amount", "bypass"})
        host.portEvent(plugin->portIndex(symbol), plugin->control(symbol));
    EXPECT_EQ(effect->getParameter(effect, 3), 0.25f);
    EXPECT_TRUE(host.idleUntil([&] { return !host.writes.empty(); }));
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0].port, amount);
    EXPECT_EQ(host.writes[0].value, 1.5f);

    // The controller moves on before the host passes the report back to the interface and
    // the plug-in.
    effect->setParameter(effect, 3, 0.75f);
    host.portEvent(amount, 1.5f);
    plugin->setControl("air_amount", 1.5f);
    run();
    EXPECT_EQ(effect->getParameter(effect, 3), 0.75f);
    EXPECT_TRUE(host.idleUntil([&] { return host.writes.size() == 2; }));
    EXPECT_EQ(host.writes.back().value, 4.5f);
}

} // namespace
