// The editor as a host sees it: embedded into a host window on Xvfb, driven with real X11
// input, checked on screenshots and on the calls the plug-in makes.
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/TestImages.h"

#include <cmath>

namespace orvane::guitest {
namespace {
using orvgui::CColor;
using orvgui::CRect;
namespace images = testimages;

constexpr CColor kMenuBack{44, 44, 44, 255};
constexpr int kKnobCentreX = kKnobX + kKnobSize / 2, kKnobCentreY = kKnobY + kKnobSize / 2;
// Rows of the test menu's list, which opens under the control: a border pixel, 18-pixel
// entries and 9-pixel separators.
constexpr int kListTop = kMenuY + kMenuHeight + 1;
constexpr int kBetaRowY = kListTop + 18 + 9 + 9;
constexpr int kMoreRowY = kListTop + 18 + 9 + 18 + 18 + 18 + 9;

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

TEST_F(EditorWindowTest, EmbedsAsAChildOfTheHostWindowAndDrawsTheFace) {
    const auto children = session->window().children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(session->window().childRect(children[0]), CRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(plugin->effect()->flags & effFlagsHasEditor, effFlagsHasEditor);

    const Screenshot shot = screenshot("face");
    ASSERT_EQ(shot.width(), kWidth);
    EXPECT_EQ(shot.pixel(5, 5), images::kBackgroundColour);
    EXPECT_EQ(shot.pixel(kWidth - 1, kHeight - 1), images::kBackgroundColour);
    EXPECT_TRUE(shot.regionIs(CRect(kKnobX, kKnobY, kKnobX + kKnobSize, kKnobY + kKnobSize),
                              images::knobFrameColour(68)))
        << "value 0.5 shows the middle frame";
    EXPECT_TRUE(
        shot.regionIs(CRect(kSwitchX, kSwitchY, kSwitchX + kSwitchSize, kSwitchY + kSwitchSize),
                      images::kOffColour));
    EXPECT_TRUE(shot.regionIs(CRect(kKickX, kKickY, kKickX + kKickWidth, kKickY + kKickHeight),
                              images::kReleasedColour));
    const CRect menu(kMenuX, kMenuY, kMenuX + kMenuWidth, kMenuY + kMenuHeight);
    EXPECT_EQ(shot.pixel(kMenuX + 1, kMenuY + 1), images::kFieldColour);
    EXPECT_GT(shot.countOtherThan(menu, images::kFieldColour), 20) << "the entry's title";
}

TEST_F(EditorWindowTest, DragsAKnobWithTheMouseAndTellsTheHostOneGesture) {
    plugin->dispatch(effSetEditKnobMode, 0, 2); // linear
    session->moveTo(kKnobCentreX, kKnobCentreY);
    session->press();
    session->moveTo(kKnobCentreX, kKnobCentreY - 25);
    session->moveTo(kKnobCentreX, kKnobCentreY - 50);
    session->release();
    ASSERT_TRUE(session->idleUntil([&] { return !plugin->log().endEdit.empty(); }));
    EXPECT_EQ(plugin->log().beginEdit, std::vector<int>{kKnob});
    EXPECT_EQ(plugin->log().endEdit, std::vector<int>{kKnob});
    ASSERT_TRUE(lastReport(*plugin, kKnob));
    EXPECT_NEAR(*lastReport(*plugin, kKnob), 0.75f, 1e-4);
    const Screenshot shot = screenshot("knob-dragged");
    EXPECT_EQ(shot.pixel(kKnobCentreX, kKnobCentreY), images::knobFrameColour(102));
}

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

TEST_F(EditorWindowTest, MenuOpensInsideTheFrameAndReportsTheChoice) {
    session->click(kMenuX + 20, kMenuY + 12);
    const Screenshot open = screenshot("menu-open");
    EXPECT_EQ(open.pixel(kMenuX + 3, kListTop + 3), kMenuBack);
    EXPECT_GT(
        open.countOtherThan(CRect(kMenuX + 18, kListTop, kMenuX + 60, kListTop + 18), kMenuBack),
        20)
        << "the first entry's title";
    EXPECT_FALSE(lastReport(*plugin, kMenu)) << "opening chose nothing";

    session->click(kMenuX + 30, kBetaRowY);
    ASSERT_TRUE(session->idleUntil([&] { return lastReport(*plugin, kMenu).has_value(); }));
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kMenu), 0.01f) << "Beta is entry 1 without separators";
    const Screenshot closed = screenshot("menu-chosen");
    EXPECT_TRUE(closed.regionIs(CRect(kMenuX, kListTop + 2, kMenuX + 100, kListTop + 100),
                                images::kBackgroundColour))
        << "the list is gone";

    session->click(kMenuX + 20, kMenuY + 12);
    session->moveTo(kMenuX + 30, kMoreRowY);
    session->idle(5);
    const Screenshot submenu = screenshot("submenu-open");
    (void)submenu;
    session->key("Right");
    session->key("Return");
    ASSERT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kMenu) == 2; }));
    EXPECT_FLOAT_EQ(*lastReport(*plugin, kMenu), 0.50f) << "Sub 1, reported by the sub-menu";
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
