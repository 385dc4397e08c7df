// SPDX-License-Identifier: GPL-3.0-or-later
// The validator against a plug-in of our own: clean it passes every group; with each planted
// fault the group made for it fails, and the validator's exit status says so.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

Outcome validate(const std::string& fault, const std::string& arguments) {
    const std::string command = "ORVANE_FAULT=" + fault + " " ORVANE_VALIDATE + std::string(" ") +
                                arguments + " " ORVANE_FAULTY_PLUGIN " 2>&1";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe))
        run.output += line;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Validator, CleanPluginPassesEveryGroup) {
    const Outcome run = validate("", "--strictness 1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("FAIL"), std::string::npos) << run.output;
    // The real-time checks ran with the interposer, not skipped.
    EXPECT_NE(run.output.find("PASS realtime: processReplacing"), std::string::npos) << run.output;
}

struct Planted {
    const char* fault;
    const char* group;
    const char* failure; // part of the line that must report it
};

void PrintTo(const Planted& planted, std::ostream* out) {
    *out << planted.fault;
}

class PlantedFault : public ::testing::TestWithParam<Planted> {};

TEST_P(PlantedFault, IsCaughtByItsGroup) {
    const Planted& planted = GetParam();
    const Outcome run =
        validate(planted.fault, std::string("--strictness 1 --group ") + planted.group);
    EXPECT_EQ(run.status, 1) << run.output;
    // The group's failing line carries the expected text.
    const std::string failing = std::string("FAIL ") + planted.group + ": ";
    bool found = false;
    for (size_t at = run.output.find(failing); at != std::string::npos && !found;
         at = run.output.find(failing, at + 1))
        found = run.output.substr(at, run.output.find('\n', at) - at).find(planted.failure) !=
                std::string::npos;
    EXPECT_TRUE(found) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PlantedFault,
    ::testing::Values(
        Planted{"null-pointer", "entry", "opcode 50 effVendorSpecific: crashed"},
        Planted{"long-text", "parameters", "names, labels and display texts"},
        Planted{"chunk", "state", "two fresh instances give identical chunks"},
        Planted{"non-finite", "processing", "NaN in"},
        Planted{"out-of-bounds", "processing",
                "nothing read or written outside the buffers: crashed"},
        Planted{"block-size", "processing", "random block sizes"},
        Planted{"allocation", "realtime", "processReplacing: "},
        Planted{"lock", "realtime", "processReplacing: 0 allocations, "},
        Planted{"file", "realtime", "file and 0 other system calls"},
        Planted{"race", "concurrency", "processing while parameters"},
        Planted{"shared-state", "instances", "instances processing together"},
        Planted{"leak", "instances", "leave no threads, files or memory behind: the heap grew"},
        Planted{"thread", "instances", "leave no threads, files or memory behind: 3 threads"}),
    [](const ::testing::TestParamInfo<Planted>& info) {
        std::string name = info.param.fault;
        for (char& c : name)
            if (c == '-') c = '_';
        return name;
    });

} // namespace
