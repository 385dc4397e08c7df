// SPDX-License-Identifier: GPL-3.0-or-later
// The real Orvane.so in a fake host on Xvfb: its own preferences folder, the editor opened into
// a host window, and a second thread processing audio the whole time, as in a running host.
#pragma once

#include "tests/gui/XHarness.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

namespace orvane::guitest {

// Skips the test when there is no display or tool to run it with.
#define ORVANE_REQUIRE_DISPLAY()                                                                   \
    if (!::orvane::guitest::testDisplay())                                                         \
    GTEST_SKIP() << "needs " << ::orvane::guitest::missingTool()

// Processes of ours, running or unreaped, whose program is called name.
inline int childrenNamed(const std::string& name) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string line;
        std::getline(std::ifstream(entry.path() / "stat"), line);
        const std::size_t close = line.rfind(')');
        long parent = 0;
        if (close == std::string::npos ||
            std::sscanf(line.c_str() + close + 1, " %*c %ld", &parent) != 1)
            continue;
        count += parent == getpid() && line.find("(" + name + ")") != std::string::npos;
    }
    return count;
}

// The last value the plug-in reported for a parameter, if any.
inline std::optional<float> lastReport(testhost::Plugin& plugin, int index) {
    const auto& automate = plugin.log().automate;
    for (auto it = automate.rbegin(); it != automate.rend(); ++it)
        if (it->first == index) return it->second;
    return std::nullopt;
}

inline int reportCount(testhost::Plugin& plugin, int index) {
    int count = 0;
    for (const auto& entry : plugin.log().automate)
        count += entry.first == index;
    return count;
}

class EditorWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ORVANE_REQUIRE_DISPLAY();
        gchar* made = g_dir_make_tmp("orvane-editor-XXXXXX", nullptr);
        ASSERT_NE(made, nullptr);
        configDir = made;
        g_free(made);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        // The desktop's dialog program: it answers with the text of the answer file once that
        // exists, so a test can hold a dialog open for as long as it needs.
        const std::string bin = configDir + "/bin";
        std::filesystem::create_directory(bin);
        answerFile = configDir + "/answer";
        std::ofstream(bin + "/zenity") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << configDir
                                       << "/args'\nfor i in $(seq 200); do\n"
                                       << "  [ -e '" << answerFile << "' ] && exec cat '"
                                       << answerFile << "'\n  sleep 0.05\ndone\n";
        answer("3");
        std::filesystem::permissions(bin + "/zenity", std::filesystem::perms::owner_all);
        savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
    }

    void TearDown() override {
        session.reset();
        stopAudio();
        plugin.reset();
        if (!configDir.empty()) std::filesystem::remove_all(configDir);
        unsetenv("XDG_CONFIG_HOME");
        if (!savedPath.empty()) setenv("PATH", savedPath.c_str(), 1);
    }

    // Stored before the effect is created, as a user's earlier session would have left them.
    void setPref(const std::string& key, const std::string& value) {
        GKeyFile* file = g_key_file_new();
        g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr);
        g_key_file_set_string(file, "String", key.c_str(), value.c_str());
        g_key_file_save_to_file(file, prefsPath().c_str(), nullptr);
        g_key_file_free(file);
    }
    void setIntPref(const std::string& key, int value) {
        GKeyFile* file = g_key_file_new();
        g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr);
        g_key_file_set_integer(file, "Integer", key.c_str(), value);
        g_key_file_save_to_file(file, prefsPath().c_str(), nullptr);
        g_key_file_free(file);
    }
    int intPref(const std::string& key) {
        GKeyFile* file = g_key_file_new();
        g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr);
        const int value = g_key_file_get_integer(file, "Integer", key.c_str(), nullptr);
        g_key_file_free(file);
        return value;
    }
    std::string pref(const std::string& key) {
        GKeyFile* file = g_key_file_new();
        g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr);
        gchar* value = g_key_file_get_string(file, "String", key.c_str(), nullptr);
        std::string text = value ? value : "";
        g_free(value);
        g_key_file_free(file);
        return text;
    }
    // What the next dialog answers; an empty text holds dialogs open.
    void answer(const std::string& text) {
        if (text.empty())
            std::filesystem::remove(answerFile);
        else
            std::ofstream(answerFile) << text << "\n";
    }
    std::string prefsPath() const { return configDir + "/com.HKZX.Orvane"; }

    // Loads the module, starts processing on its own thread and opens the editor.
    void openEditor() {
        std::string error;
        plugin = testhost::Plugin::load(testhost::builtPluginPath(), {}, &error);
        ASSERT_TRUE(plugin) << error;
        plugin->start();
        startAudio();
        session = std::make_unique<EditorSession>(*plugin, 0, 0, 3);
        ASSERT_TRUE(session->isOpen());
        idleFor(100);
    }

    void startAudio() {
        running = true;
        audio = std::thread([this] {
            std::vector<float> in(512), out(512);
            for (int i = 0; i < 512; ++i)
                in[i] = 0.5f * static_cast<float>(std::sin(i * 0.05));
            float* ins[2] = {in.data(), in.data()};
            float* outs[2] = {out.data(), out.data()};
            while (running) {
                // Events come on the processing thread, right before the block they belong to.
                const int message = controllerMessage.exchange(-1);
                if (message >= 0) {
                    VstMidiEvent cc{};
                    cc.type = kVstMidiType;
                    cc.byteSize = sizeof cc;
                    cc.midiData[0] = char(0xB0);
                    cc.midiData[1] = char(message >> 8);
                    cc.midiData[2] = char(message & 0x7f);
                    plugin->sendEvents({cc});
                }
                plugin->process(ins, outs, 512);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    // A control change on channel 1, delivered with the next processed block.
    void sendController(int controller, int value) {
        controllerMessage = controller << 8 | value;
        while (controllerMessage >= 0)
            session->idle();
    }
    void stopAudio() {
        running = false;
        if (audio.joinable()) audio.join();
    }

    // Idles for about ms milliseconds (the editor acts at most every 40 ms).
    void idleFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end)
            session->idle();
    }

    Screenshot shot(const std::string& name) {
        idleFor(100);
        auto picture = Screenshot::of(session->window().children().at(0), name);
        EXPECT_TRUE(picture);
        return picture ? *picture : Screenshot();
    }

    // Editor coordinates of a 100 % layout position at the open size.
    int at(int v) const { return static_cast<int>(v * scale); }
    void clickAt(int x, int y, int button = 1) {
        session->click(at(x), at(y), button);
        idleFor(120);
    }
    // Keys as the host passes them on (effEditKeyDown): moves through an open menu.
    void hostKey(int virt, int times = 1) {
        for (int i = 0; i < times; ++i)
            plugin->dispatch(effEditKeyDown, 0, virt);
        idleFor(60);
    }
    // Opens a menu with a click and picks the entry reached by downs steps of the down arrow;
    // with a name, photographs the open menu first.
    void chooseInMenu(int x, int y, int downs, int button = 1, const char* picture = nullptr) {
        clickAt(x, y, button);
        hostKey(VKEY_DOWN, downs);
        if (picture) shot(picture);
        hostKey(VKEY_RETURN);
        idleFor(80);
    }

    std::string configDir;
    std::string savedPath;
    std::string answerFile;
    std::unique_ptr<testhost::Plugin> plugin;
    std::unique_ptr<EditorSession> session;
    std::thread audio;
    std::atomic<bool> running{false};
    std::atomic<int> controllerMessage{-1};
    float scale = 1.0f;
};

} // namespace orvane::guitest
