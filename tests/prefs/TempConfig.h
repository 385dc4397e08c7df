// SPDX-License-Identifier: GPL-3.0-or-later
// Points $XDG_CONFIG_HOME at a fresh temporary folder for one test so that no test touches a
// real user's settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

class TempConfig : public ::testing::Test {
protected:
    void SetUp() override {
        gchar* made = g_dir_make_tmp("orvane-prefs-XXXXXX", nullptr);
        ASSERT_NE(made, nullptr);
        directory = made;
        g_free(made);
        setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
        const char* home = std::getenv("HOME");
        savedHome = home ? home : "";
    }
    void TearDown() override {
        std::filesystem::remove_all(directory);
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", savedHome.c_str(), 1);
    }

    std::string prefsPath() const { return directory + "/com.HKZX.Orvane"; }

    std::string fileText(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void writeFile(const std::string& path, const std::string& text) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    // The stored file parsed independently of the store.
    bool onDisk(const char* group, const char* key, std::string* value = nullptr) const {
        GKeyFile* file = g_key_file_new();
        bool found = false;
        if (g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr)) {
            gchar* raw = g_key_file_get_value(file, group, key, nullptr);
            found = raw != nullptr;
            if (raw && value) *value = raw;
            g_free(raw);
        }
        g_key_file_free(file);
        return found;
    }

    std::string directory;
    std::string savedHome;
};
