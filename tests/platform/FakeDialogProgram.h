// SPDX-License-Identifier: GPL-3.0-or-later
// Puts stand-ins for zenity and kdialog on a private PATH. Each records its arguments, one a
// line, prints $FAKE_ANSWER and exits with $FAKE_STATUS.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

class FakeDialogProgram : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kChanged)
            if (const char* value = std::getenv(name)) saved[name] = value;
        char pattern[] = "/tmp/orvane-dialogs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        std::filesystem::create_directory(root / "bin");
        setenv("PATH", (root / "bin").c_str(), 1);
        setenv("DISPLAY", ":orvane-test", 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("FAKE_ARGS", argsFile().c_str(), 1);
        answer("", 0);
    }
    void TearDown() override {
        std::filesystem::remove_all(root);
        for (const char* name : kChanged) {
            const auto value = saved.find(name);
            if (value == saved.end())
                unsetenv(name);
            else
                setenv(name, value->second.c_str(), 1);
        }
    }

    void install(const std::string& program, const std::string& extraLines = "") {
        const std::filesystem::path file = root / "bin" / program;
        std::ofstream(file) << "#!/bin/sh\n"
                               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$FAKE_ARGS\"\n"
                            << extraLines
                            << "printf '%s' \"$FAKE_ANSWER\"\n"
                               "exit \"$FAKE_STATUS\"\n";
        chmod(file.c_str(), 0755);
    }

    void answer(const std::string& output, int status) {
        setenv("FAKE_ANSWER", output.c_str(), 1);
        setenv("FAKE_STATUS", std::to_string(status).c_str(), 1);
    }

    std::filesystem::path argsFile() const { return root / "args"; }

    // The arguments after the program's name; empty when the program did not run.
    std::vector<std::string> recordedArgs() const {
        std::vector<std::string> args;
        std::ifstream in(argsFile());
        for (std::string line; std::getline(in, line);)
            args.push_back(line);
        return args;
    }

    std::filesystem::path root;

private:
    static constexpr const char* kChanged[] = {"PATH",       "DISPLAY",        "WAYLAND_DISPLAY",
                                               "FAKE_ARGS",  "FAKE_ANSWER",    "FAKE_STATUS",
                                               "LD_PRELOAD", "LD_LIBRARY_PATH"};
    std::map<std::string, std::string> saved;
};
