// SPDX-License-Identifier: GPL-3.0-or-later
// The manual button hands the desktop's viewer the first manual installed, looked up at the click.
#include "tests/gui/EditorWindow.h"

#include <chrono>
#include <thread>

namespace orvane::guitest {
namespace {

namespace fs = std::filesystem;

constexpr int kManualButton[2] = {141, 40}; // centre at 100 %

class ManualButton : public EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        // The viewer records the one argument it gets, and stays open.
        std::ofstream(configDir + "/bin/xdg-open")
            << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << configDir << "/opened.tmp\"\n"
            << "mv \"" << configDir << "/opened.tmp\" \"" << configDir << "/opened\"\n"
            << "sleep 3\n";
        fs::permissions(configDir + "/bin/xdg-open", fs::perms::owner_all);
        setenv("XDG_DATA_HOME", (configDir + "/data").c_str(), 1);
        unsetenv("ORVANE_MANUAL_PATH");
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        unsetenv("ORVANE_MANUAL_PATH");
        EditorWindowTest::TearDown();
    }

    std::string place(const std::string& relative) const {
        const fs::path path = fs::path(configDir) / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "%PDF-1.7\n";
        return path.string();
    }

    // What the viewer was given for one click; empty when nothing was started within 3 s.
    std::string openedByClick() {
        const std::string record = configDir + "/opened";
        fs::remove(record);
        clickAt(kManualButton[0], kManualButton[1]);
        for (int i = 0; i < 60 && !fs::exists(record); ++i)
            idleFor(50);
        std::ifstream in(record);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(ManualButton, OpensTheFirstManualInstalledEvenAfterTheEditorOpened) {
    openEditor();
    if (!fs::exists("/usr/share/orvane/HK_Orvane_Manual.pdf")) {
        EXPECT_EQ(openedByClick(), "") << "no manual anywhere: nothing is started";
    }

    const std::string perUser = place("data/doc/orvane/HK_Orvane_Manual.pdf");
    EXPECT_EQ(openedByClick(), perUser);

    const std::string own = place("my manuals/\"Orvane\" $(notes).pdf"); // one argument, no shell
    setenv("ORVANE_MANUAL_PATH", own.c_str(), 1);
    EXPECT_EQ(openedByClick(), own);

    // Viewers outlive the editor and the effect without ever being children left to reap.
    session.reset();
    stopAudio();
    plugin.reset();
    EXPECT_EQ(childrenNamed("xdg-open"), 0);
}

} // namespace
} // namespace orvane::guitest
