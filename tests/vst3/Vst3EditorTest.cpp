// SPDX-License-Identifier: GPL-3.0-or-later
// The editor inside a host window under Xvfb, idled by the host's run loop.
#include "gui/XHarness.h"
#include "prefs/TempConfig.h"
#include "tools/vst3host/Vst3Host.h"

namespace {

using namespace orvane::guitest;
using orvane::vst3host::Vst3Plugin;

class Vst3EditorTest : public TempConfig {
protected:
    void SetUp() override {
        TempConfig::SetUp();
        if (!testDisplay()) GTEST_SKIP() << missingTool();
    }
};

TEST_F(Vst3EditorTest, OpensInTheHostWindowOnlyWithARunLoop) {
    std::string error;
    auto plugin = Vst3Plugin::load(orvane::vst3host::builtBundlePath(), 44100, 512, &error);
    ASSERT_TRUE(plugin) << error;
    HostWindow window(0, 0, 1200, 900);
    // Without a run loop nothing would ever draw it: refused, nothing left in the window.
    EXPECT_FALSE(plugin->openEditor(window.id(), false));
    EXPECT_TRUE(window.children().empty());

    ASSERT_TRUE(plugin->openEditor(window.id(), true));
    for (int i = 0; i < 5; ++i)
        plugin->idleEditor();
    int width = 0, height = 0;
    ASSERT_TRUE(plugin->editorSize(width, height));
    ASSERT_EQ(window.children().size(), 1u);
    const auto rect = window.childRect(window.children()[0]);
    EXPECT_EQ(rect.getWidth(), width);
    EXPECT_EQ(rect.getHeight(), height);
    const auto shot = Screenshot::of(window.id(), "vst3-editor");
    ASSERT_TRUE(shot);
    EXPECT_GT(shot->countOtherThan({0, 0, double(width), double(height)}, shot->pixel(0, 0)),
              width * height / 10);
    plugin->closeEditor();
    EXPECT_TRUE(window.children().empty());
}

} // namespace
