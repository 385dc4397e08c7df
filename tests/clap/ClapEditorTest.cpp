// SPDX-License-Identifier: GPL-3.0-or-later
// The editor embedded through the gui extension under Xvfb, run by the host's timers, its
// gestures reaching the host as parameter events.
#include "clap/ClapHosts.h"
#include "gui/XHarness.h"
#include "prefs/TempConfig.h"

#include <clap/ext/gui.h>

#include <chrono>
#include <thread>

namespace {

using namespace orvane::guitest;
using orvane::claphost::Event;

class ClapEditorTest : public TempConfig {};

TEST_F(ClapEditorTest, EditorRunsOnHostTimersAndGesturesReachTheHost) {
    if (!testDisplay()) GTEST_SKIP() << missingTool();
    auto clap = loadClap();
    ASSERT_TRUE(clap);
    HostWindow window(20, 20, 1200, 1000);
    ASSERT_TRUE(clap->openEditor(window.id()));
    const auto* gui = static_cast<const clap_plugin_gui_t*>(clap->extension(CLAP_EXT_GUI));
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(gui->get_size(clap->plugin(), &width, &height));
    const std::vector<Window> children = window.children();
    ASSERT_EQ(children.size(), 1u);
    const orvgui::CRect rect = window.childRect(children[0]);
    EXPECT_EQ(width, static_cast<std::uint32_t>(rect.right - rect.left));
    EXPECT_EQ(height, static_cast<std::uint32_t>(rect.bottom - rect.top));

    // The host is not processing: a click on the bypass switch asks for a flush, which
    // carries the gesture in order.
    clap->setProcessing(false);
    for (int i = 0; i < 5; ++i)
        clap->runTimers();
    xdotool("mousemove " + std::to_string(window.x() + 429) + " " +
            std::to_string(window.y() + 115) + " click 1");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (clap->log().flushRequests == 0 && std::chrono::steady_clock::now() < deadline) {
        clap->runTimers();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GT(clap->log().flushRequests, 0);
    const std::vector<Event> reported = clap->flush();
    std::vector<Event::Kind> kinds;
    for (const Event& e : reported) {
        EXPECT_EQ(e.id, 40u);
        EXPECT_EQ(e.flags, 0u); // recorded as automation
        kinds.push_back(e.kind);
    }
    EXPECT_EQ(kinds,
              (std::vector<Event::Kind>{Event::GestureBegin, Event::Value, Event::GestureEnd}));
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[1].value, 1.0);
    clap->closeEditor();
    EXPECT_TRUE(window.children().empty());
    EXPECT_TRUE(clap->log().threadFaults.empty());

    // Without timer-support the editor could never run: it is refused.
    orvane::claphost::HostOptions noTimers;
    noTimers.timers = false;
    auto plain = loadClap(noTimers);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->openEditor(window.id()));
}

} // namespace
