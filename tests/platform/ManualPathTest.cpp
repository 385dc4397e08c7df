// SPDX-License-Identifier: GPL-3.0-or-later
// The manual is found wherever it was installed, in the documented order.
#include "platform/ManualPath.h"

#include "tests/prefs/TempConfig.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class ManualPath : public TempConfig {
protected:
    void SetUp() override {
        TempConfig::SetUp();
        setenv("HOME", (directory + "/home").c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        unsetenv("ORVANE_MANUAL_PATH");
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        unsetenv("ORVANE_MANUAL_PATH");
        TempConfig::TearDown();
    }

    std::string place(const std::string& relative) const {
        const fs::path path = fs::path(directory) / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "%PDF-1.7\n";
        return path.string();
    }

    std::string found(size_t capacity = 1024) const {
        std::string out(capacity, 'x');
        findManual(package.c_str(), out.data(), capacity);
        return out.c_str();
    }

    std::string package = "/nonexistent/share/orvane/HK_Orvane_Manual.pdf";
};

TEST_F(ManualPath, FirstReadableOfVariablePerUserAndPackage) {
    EXPECT_EQ(found(), package) << "nothing installed: the package path, which opens nothing";

    package = place("usr/share/orvane/HK_Orvane_Manual.pdf");
    EXPECT_EQ(found(), package);

    const std::string perUser = place("home/.local/share/doc/orvane/HK_Orvane_Manual.pdf");
    EXPECT_EQ(found(), perUser);
    setenv("XDG_DATA_HOME", "relative/data", 1); // invalid by the XDG rules: ignored
    EXPECT_EQ(found(), perUser);
    const std::string xdg = place("data/doc/orvane/HK_Orvane_Manual.pdf");
    setenv("XDG_DATA_HOME", (directory + "/data").c_str(), 1);
    EXPECT_EQ(found(), xdg);

    // The variable wins only when it names a readable file.
    setenv("ORVANE_MANUAL_PATH", (directory + "/home").c_str(), 1);
    EXPECT_EQ(found(), xdg) << "a folder is no manual";
    setenv("ORVANE_MANUAL_PATH", (directory + "/missing.pdf").c_str(), 1);
    EXPECT_EQ(found(), xdg);
    const std::string own = place("own manual.pdf");
    setenv("ORVANE_MANUAL_PATH", own.c_str(), 1);
    EXPECT_EQ(found(), own);

    // A path the buffer would cut names another file: the result is only ever terminated.
    EXPECT_EQ(found(8), package.substr(0, 7));
    EXPECT_EQ(found(1), "");
}

} // namespace
