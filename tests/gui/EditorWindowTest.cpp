// The editor as a host sees it: embedded into a host window on Xvfb, driven with real X11
// input, checked on screenshots and on the calls the plug-in makes.
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/TestImages.h"

#include <cmath>

namespace orvane::guitest {
namespace {
namespace images = testimages;

class EditorWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ORVANE_REQUIRE_DISPLAY();
        plugin = loadTestPlugin();
        ASSERT_TRUE(plugin);
        session = std::make_unique<EditorSession>(*plugin);
        ASSERT_TRUE(session->isOpen());
    }
    void TearDown() override { session.reset(); }

    Screenshot screenshot(const std::string& name) {
        session->idle(3);
        auto shot = Screenshot::of(session->window().id(), name);
        EXPECT_TRUE(shot);
        return shot ? *shot : Screenshot();
    }

    std::unique_ptr<testhost::Plugin> plugin;
    std::unique_ptr<EditorSession> session;
};

TEST_F(EditorWindowTest, ButtonsModifiersAndDoubleClicksReachTheViews) {
    auto bits = [&] {
        return static_cast<int>(std::lround(*lastReport(*plugin, kProbeButtons) * 4096));
    };
    session->click(kProbeX + 50, kProbeY + 50, 1, 2);
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kProbeButtons) == 2; }));
    EXPECT_EQ(bits(), orvgui::kLButton | orvgui::kDoubleClick);

    xdotool("keydown shift");
    session->click(kProbeX + 150, kProbeY + 50);
    xdotool("keyup shift");
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kProbeButtons) == 3; }));
    EXPECT_EQ(bits(), orvgui::kLButton | orvgui::kShift) << "too far away for a double click";

    session->click(kProbeX + 150, kProbeY + 150, 2);
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kProbeButtons) == 4; }));
    EXPECT_EQ(bits(), orvgui::kMButton);
    // The kick button: pressed state while the button is down, one report pair per click.
    session->moveTo(kKickX + 10, kKickY + 10);
    session->press();
    session->idle(5);
    const Screenshot pressed = screenshot("kick-pressed");
    EXPECT_EQ(pressed.pixel(kKickX + 30, kKickY + 15), images::kPressedColour);
    session->release();
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kKick) == 2; }));
    EXPECT_EQ(*lastReport(*plugin, kKick), 0.0f);
}

TEST_F(EditorWindowTest, KeysArriveThroughX11AndThroughTheHost) {
    session->moveTo(kProbeX + 10, kProbeY + 10);
    session->idle(3);
    session->key("Down");
    ASSERT_TRUE(session->idleUntil([&] { return lastReport(*plugin, kKeyVirt).has_value(); }));
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kKeyVirt), VKEY_DOWN / 1000.0f);
    session->key("q");
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kKeyChar) == 2; }));
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kKeyChar), 'q' / 1000.0f);

    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 0, VKEY_UP, nullptr, 0), 1) << "the hook used it";
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kKeyVirt), VKEY_UP / 1000.0f);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0, nullptr, 0), 0) << "nobody used it";
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kKeyChar), 'a' / 1000.0f);
}

TEST_F(EditorWindowTest, ContextMenuOpensAtThePointerAndItsOwnReleaseChoosesNothing) {
    // Press, move onto the first entry of the list that opened there, release.
    session->moveTo(kProbeX + 20, kProbeY + 20);
    session->press(3);
    session->idle(3);
    session->moveTo(kProbeX + 30, kProbeY + 30);
    session->release(3);
    const Screenshot open = screenshot("context-menu");
    EXPECT_EQ(open.pixel(kProbeX + 24, kProbeY + 24), (orvgui::CColor{58, 96, 150, 255}))
        << "the first entry lies under the pointer, highlighted";
    EXPECT_FALSE(lastReport(*plugin, kContextMenu)) << "the release chose nothing";
    session->click(kProbeX + 30, kProbeY + 25);
    ASSERT_TRUE(session->idleUntil([&] { return lastReport(*plugin, kContextMenu).has_value(); }));
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kContextMenu), 0.1f) << "\"One\" chosen";

    session->click(kProbeX + 20, kProbeY + 20, 3);
    session->key("Escape");
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kContextMenu) == 2; }));
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kContextMenu), 0.0f) << "dismissed";
}

} // namespace
} // namespace orvane::guitest
