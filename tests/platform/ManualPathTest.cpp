// The manual is found wherever it was installed, in the documented order.
#include "platform/ManualPath.h"

#include <filesystem>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

class ManualPath : public ::testing::Test {
protected:
    void SetUp() override {
        gchar* made = g_dir_make_tmp("orvane-manual-XXXXXX", nullptr);
        ASSERT_NE(made, nullptr);
        root = made;
        g_free(made);
        const char* home = std::getenv("HOME");
        savedHome = home ? home : "";
        setenv("HOME", (root + "/home").c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        unsetenv("ORVANE_MANUAL_PATH");
    }
    void TearDown() override {
        fs::remove_all(root);
        setenv("HOME", savedHome.c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        unsetenv("ORVANE_MANUAL_PATH");
    }

    std::string place(const std::string& relative) const {
        const fs::path path = fs::path(root) / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "%PDF-1.7\n";
        return path.string();
    }

    std::string found(size_t capacity = 1024) const {
        std::string out(capacity, 'x');
        findManual(package.c_str(), out.data(), capacity);
        return out.c_str();
    }

    std::string root;
    std::string savedHome;
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
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    EXPECT_EQ(found(), xdg);

    // The variable wins only when it names a readable file.
    setenv("ORVANE_MANUAL_PATH", (root + "/home").c_str(), 1);
    EXPECT_EQ(found(), xdg) << "a folder is no manual";
    setenv("ORVANE_MANUAL_PATH", (root + "/missing.pdf").c_str(), 1);
    EXPECT_EQ(found(), xdg);
    const std::string own = place("own manual.pdf");
    setenv("ORVANE_MANUAL_PATH", own.c_str(), 1);
    EXPECT_EQ(found(), own);

    // A path the buffer would cut names another file: the result is only ever terminated.
    EXPECT_EQ(found(8), package.substr(0, 7));
    EXPECT_EQ(found(1), "");
}

} // namespace
