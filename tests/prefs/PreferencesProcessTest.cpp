// SPDX-License-Identifier: GPL-3.0-or-later
// Several host processes share one settings file.
#include "platform/Preferences.h"
#include "tests/prefs/TempConfig.h"

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using SharedPreferencesTest = TempConfig;

constexpr int KEYS_PER_PROCESS = 60;

// Runs body in a child process; returns its pid.
template <typename Body> pid_t spawn(Body body) {
    pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    return pid;
}

bool exitedCleanly(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SharedPreferencesTest, TwoProcessesWritingDifferentKeysAtOnceLoseNothing) {
    saveStringToPrefs("ECSDir", "/kept/");
    std::vector<pid_t> writers;
    for (const char* prefix : {"a", "b"}) {
        writers.push_back(spawn([prefix] {
            for (int i = 0; i < KEYS_PER_PROCESS; ++i)
                saveIntToPrefs((prefix + std::to_string(i)).c_str(), i + 1);
        }));
    }
    for (pid_t pid : writers)
        ASSERT_TRUE(exitedCleanly(pid));
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < KEYS_PER_PROCESS; ++i)
            EXPECT_EQ(loadIntFromPrefs((prefix + std::to_string(i)).c_str()), i + 1) << prefix << i;
    char value[32];
    loadStringFromPrefs("ECSDir", value, sizeof value);
    EXPECT_STREQ(value, "/kept/");
}

TEST_F(SharedPreferencesTest, AWriterKilledAtAnyMomentLeavesACompleteFile) {
    for (int round = 0; round < 8; ++round) {
        saveIntToPrefs("Midi Channel", round);
        pid_t writer = spawn([] {
            for (int i = 0;; ++i)
                saveStringToPrefs(("k" + std::to_string(i % 40)).c_str(),
                                  std::string(200 + i % 50, 'x').c_str());
        });
        usleep(5000 + round * 3000);
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        std::string value;
        EXPECT_TRUE(onDisk("Integer", "Midi Channel", &value)) << "round " << round;
        EXPECT_EQ(value, std::to_string(round));
    }
}

TEST_F(SharedPreferencesTest, ABindingWrittenByAnotherProcessIsSeenByTheNextRead) {
    EXPECT_EQ(getMidiCC(20), 0);
    ASSERT_TRUE(exitedCleanly(spawn([] { setMidiCC(20, 11); })));
    EXPECT_EQ(getMidiCC(20), 11);
}

} // namespace
