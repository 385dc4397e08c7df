// Editors opened, closed and loaded the way careless hosts do it. Run under the sanitizer
// build these also check for leaks and use after free.
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/TestImages.h"

namespace orvane::guitest {
namespace {
using orvgui::CRect;
namespace images = testimages;

const CRect kKickRect(kKickX, kKickY, kKickX + kKickWidth, kKickY + kKickHeight);

class HygieneTest : public testing::Test {
protected:
    void SetUp() override { ORVANE_REQUIRE_DISPLAY(); }
};

TEST_F(HygieneTest, TwoEditorsOfTwoInstancesWorkSideBySide) {
    auto first = loadTestPlugin(), second = loadTestPlugin();
    ASSERT_TRUE(first && second);
    EditorSession left(*first, 0, 0), right(*second, 1150, 0);
    ASSERT_TRUE(left.isOpen() && right.isOpen());

    left.click(kKickX + 10, kKickY + 10);
    right.click(kSwitchX + 10, kSwitchY + 10);
    ASSERT_TRUE(left.idleUntil([&] { return reportCount(*first, kKick) == 2; }));
    ASSERT_TRUE(right.idleUntil([&] { return reportCount(*second, kSwitch) == 1; }));
    EXPECT_EQ(reportCount(*first, kSwitch), 0);
    EXPECT_EQ(reportCount(*second, kKick), 0);

    left.close();
    right.click(kSwitchX + 10, kSwitchY + 10);
    ASSERT_TRUE(right.idleUntil([&] { return reportCount(*second, kSwitch) == 2; }));
    right.idle(3);
    const auto shot = Screenshot::of(right.window().id(), "second-editor");
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->pixel(kSwitchX + 20, kSwitchY + 20), images::kOffColour);
    EXPECT_EQ(shot->pixel(5, 5), images::kBackgroundColour);
}

TEST_F(HygieneTest, LoadingAndUnloadingTheModuleWithAnOpenEditor) {
    for (int round = 0; round < 5; ++round) {
        auto plugin = loadTestPlugin();
        ASSERT_TRUE(plugin);
        auto session = std::make_unique<EditorSession>(*plugin);
        ASSERT_TRUE(session->isOpen());
        session->click(kKickX + 10, kKickY + 10);
        EXPECT_TRUE(session->idleUntil([&] { return reportCount(*plugin, kKick) == 2; }));
        if (round % 2 == 1) {
            // A host that unloads without closing the editor: the effect's destructor does.
            session->abandon();
            plugin.reset();
            session.reset();
        } else {
            session.reset();
            plugin.reset();
        }
    }
}

TEST_F(HygieneTest, ClosingWhileAMenuIsOpenRunsNoCallbackAndLeavesNothingBehind) {
    auto plugin = loadTestPlugin();
    ASSERT_TRUE(plugin);
    {
        EditorSession session(*plugin);
        session.click(kMenuX + 20, kMenuY + 12);
        session.idle(5);
    }
    {
        EditorSession session(*plugin);
        session.moveTo(kProbeX + 20, kProbeY + 20);
        session.press(3);
        session.idle(5);
    }
    xdotool("mouseup 3");
    EXPECT_EQ(reportCount(*plugin, kMenu), 0);
    EXPECT_EQ(reportCount(*plugin, kContextMenu), 0) << "the context menu's callback did not run";

    EditorSession session(*plugin);
    session.click(kKickX + 10, kKickY + 10);
    EXPECT_TRUE(session.idleUntil([&] { return reportCount(*plugin, kKick) == 2; }));
}

TEST_F(HygieneTest, AHostThatNeverIdlesCrashesNothingAndTheNextIdleCatchesUp) {
    auto plugin = loadTestPlugin();
    ASSERT_TRUE(plugin);
    {
        EditorSession session(*plugin, 0, 0, 0);
        ASSERT_TRUE(session.isOpen());
        session.click(kKickX + 10, kKickY + 10);
        session.click(kMenuX + 20, kMenuY + 12);
    }
    EXPECT_EQ(reportCount(*plugin, kKick), 0) << "no events were read without idle";

    EditorSession session(*plugin, 0, 0, 0);
    const auto first = Screenshot::of(session.window().id(), "without-idle");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->pixel(5, 5), images::kBackgroundColour) << "open drew the first picture";
    session.click(kKickX + 10, kKickY + 10);
    xdotool("sleep 0.2");
    session.idle(1);
    EXPECT_EQ(reportCount(*plugin, kKick), 2) << "one idle handled the whole click";
    session.idle(1);
    const auto later = Screenshot::of(session.window().id(), "after-idle");
    ASSERT_TRUE(later);
    EXPECT_TRUE(later->regionIs(kKickRect, images::kReleasedColour));
}

TEST_F(HygieneTest, ABadParentWindowIsRefusedWithoutHarm) {
    auto plugin = loadTestPlugin();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1ffffff3)), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0, nullptr, 0), 0);
    EditorSession session(*plugin);
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, session.window().parentHandle()), 0)
        << "an open editor is not opened twice";
}

} // namespace
} // namespace orvane::guitest
