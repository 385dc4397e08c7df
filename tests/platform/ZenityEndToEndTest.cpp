// SPDX-License-Identifier: GPL-3.0-or-later
// Answers a real zenity entry dialog on the test Xvfb display with xdotool.
#include "platform/ChildProcess.h"
#include "platform/Dialogs.h"
#include "tests/gui/XHarness.h"

#include <future>
#include <glib.h>
#include <gtest/gtest.h>
#include <thread>

TEST(ZenityEndToEnd, TypedAnswerReachesTheCaller) {
    for (const char* program : {"zenity", "timeout"}) {
        gchar* path = g_find_program_in_path(program);
        const bool found = path != nullptr;
        g_free(path);
        if (!found) GTEST_SKIP() << program << " is not installed";
    }
    if (!orvane::guitest::testDisplay()) GTEST_SKIP() << orvane::guitest::missingTool();
    unsetenv("WAYLAND_DISPLAY");

    // Types into the dialog once it is mapped. Should the dialog not close, its window is
    // killed, so the test fails instead of hanging.
    std::promise<void> answered;
    std::thread user([closed = answered.get_future()] {
        // "type" takes every later argument as text, so Return goes in a second call.
        const ChildResult typing =
            runChild({"timeout", "30", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                      "Orvane", "windowfocus", "--sync", "sleep", "0.3", "key", "ctrl+a", "type",
                      "--delay", "30", "12.5"},
                     0);
        const ChildResult confirming = runChild({"timeout", "30", "xdotool", "key", "Return"}, 0);
        if (typing.exitStatus != 0 || confirming.exitStatus != 0 ||
            closed.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            runChild({"xdotool", "search", "--name", "Orvane", "windowkill"}, 0);
    });
    char text[512] = "0.0";
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    answered.set_value();
    user.join();

    EXPECT_STREQ(text, "12.5");
}
