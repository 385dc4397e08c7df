// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "platform/Dialogs.h"
#include "tests/platform/FakeDialogProgram.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Args = std::vector<std::string>;

class Zenity : public FakeDialogProgram {
protected:
    void SetUp() override {
        FakeDialogProgram::SetUp();
        install("zenity");
    }
};

TEST_F(Zenity, EntryAndMessageGetEachValueAsOneArgumentWithoutAShell) {
    answer("5\n", 0);
    char text[256] = "$(touch pwned) 'q\" `x` *";
    inputBox("MIDI CC : Main_Volume \\n", "MIDI CC (0 - 127)", text, sizeof text);
    EXPECT_EQ(recordedArgs(), (Args{"--entry", "--title=MIDI CC (0 - 127) - Orvane",
                                    "--text=MIDI CC : Main__Volume \\\\n",
                                    "--entry-text=$(touch pwned) 'q\" `x` *"}));
    EXPECT_STREQ(text, "5");
    answer("", 1); // cancel
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    EXPECT_STREQ(text, "");
    messageBox("Problem with ECS File", 2);
    EXPECT_EQ(recordedArgs(),
              (Args{"--info", "--no-markup", "--title=Orvane", "--text=Problem with ECS File"}));
}

TEST_F(Zenity, FileDialogsOfferFilterOrNameAndReturnTheChosenFile) {
    answer("/a/b/c.ecs\n", 0);
    char folder[kDialogPathCapacity] = "";
    char path[kDialogPathCapacity] = "";
    fileSelectLoadDir("ECS Loader", "/home/u/ECS", "Load", "*.ecs", "", folder, path);
    EXPECT_EQ(recordedArgs(), (Args{"--file-selection", "--title=ECS Loader - Orvane",
                                    "--filename=/home/u/ECS/", "--file-filter=ecs | *.ecs"}));
    EXPECT_STREQ(path, "/a/b/c.ecs");
    EXPECT_STREQ(folder, "/a/b");

    answer("/home/u/ECS/Orvane.ecs\n", 0);
    fileSelectSaveDir("ECS Save", "/home/u/ECS/", "Save", "Orvane.ecs", folder, path);
    EXPECT_EQ(recordedArgs(), (Args{"--file-selection", "--title=ECS Save - Orvane", "--save",
                                    "--confirm-overwrite", "--filename=/home/u/ECS/Orvane.ecs"}));
    EXPECT_STREQ(path, "/home/u/ECS/Orvane.ecs");
    EXPECT_STREQ(folder, "/home/u/ECS");

    answer("", 1); // cancel
    fileSelectLoadDir("ECS Loader", "", "Load", "*.ecs", "", folder, path);
    fileSelectSaveDir("ECS Save", "", "Save", "Orvane.ecs", folder, path);
    EXPECT_STREQ(path, "/home/u/ECS/Orvane.ecs");
    EXPECT_STREQ(folder, "/home/u/ECS");
}

TEST_F(Zenity, AnswerSurvivesAHostThatIgnoresSigchld) {
    // With SIGCHLD ignored the child is reaped by the kernel and its exit status is lost.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    sigaction(SIGCHLD, &ignore, &previous);
    answer("42\n", 0);
    char text[256] = "";
    inputBox("MIDI CC : Air", "MIDI CC (0 - 127)", text, sizeof text);
    answer("", 1);
    char cancelled[256] = "1";
    inputBox("MIDI CC : Air", "MIDI CC (0 - 127)", cancelled, sizeof cancelled);
    sigaction(SIGCHLD, &previous, nullptr);
    EXPECT_STREQ(text, "42");
    EXPECT_STREQ(cancelled, "");
}

TEST_F(FakeDialogProgram, KdialogIsUsedWhenZenityIsMissing) {
    install("kdialog");
    answer("-4.5\n", 0);
    char text[512] = "-4.5";
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    EXPECT_EQ(recordedArgs(),
              (Args{"--title=Main Volume - Orvane", "--inputbox=-20 to 20 db", "--", "-4.5"}));
    EXPECT_STREQ(text, "-4.5");

    answer("/e/f.ecs\n", 0);
    char folder[kDialogPathCapacity] = "";
    char path[kDialogPathCapacity] = "";
    fileSelectLoadDir("ECS Loader", "/e", "Load", "*.ecs", "", folder, path);
    EXPECT_EQ(recordedArgs(),
              (Args{"--title=ECS Loader - Orvane", "--getopenfilename", "--", "/e", "*.ecs|ecs"}));
    EXPECT_STREQ(folder, "/e");
}

TEST_F(FakeDialogProgram, HostLoaderSettingsStayBehindAndAProgramThatFailsAtOnceCountsAsMissing) {
    // A bundled host's library path whose C library cannot load stops any program started with it.
    std::filesystem::create_directory(root / "poison");
    std::ofstream(root / "poison" / "libc.so.6") << "not a library";
    setenv("LD_LIBRARY_PATH", (root / "poison").c_str(), 1);
    setenv("LD_PRELOAD", (root / "poison" / "libc.so.6").c_str(), 1);
    install("zenity");
    answer("42\n", 0);
    char text[256] = "";
    inputBox("MIDI CC : Air", "MIDI CC (0 - 127)", text, sizeof text);
    EXPECT_STREQ(text, "42");

    install("zenity", "exit 1\n"); // as when it cannot open the display
    install("kdialog");
    answer("7\n", 0);
    inputBox("MIDI CC : Air", "MIDI CC (0 - 127)", text, sizeof text);
    EXPECT_STREQ(text, "7");
    EXPECT_EQ(recordedArgs().at(0), "--title=MIDI CC (0 - 127) - Orvane");

    install("kdialog", "kill -9 $$\n");
    testing::internal::CaptureStderr();
    messageBox("Problem with ECS File", 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Orvane: Problem with ECS File\n");
}

class WithoutDialogProgram : public FakeDialogProgram {
protected:
    void expectMessageOnStderrAndQuestionsCancelled() {
        testing::internal::CaptureStderr();
        messageBox("Problem with ECS File", 2);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Orvane: Problem with ECS File\n");

        char text[256] = "12";
        inputBox("MIDI CC : Air", "MIDI CC (0 - 127)", text, sizeof text);
        EXPECT_STREQ(text, "");

        char folder[kDialogPathCapacity] = "keep";
        char path[kDialogPathCapacity] = "keep";
        fileSelectLoadDir("ECS Loader", "", "Load", "*.ecs", "", folder, path);
        EXPECT_STREQ(path, "keep");
        EXPECT_STREQ(folder, "keep");
    }
};

TEST_F(WithoutDialogProgram, NeitherProgramOnPathOrNoDisplayToShowOn) {
    expectMessageOnStderrAndQuestionsCancelled();
    install("zenity");
    unsetenv("DISPLAY");
    expectMessageOnStderrAndQuestionsCancelled();
    EXPECT_FALSE(std::filesystem::exists(argsFile())) << "dialog program started without display";
}

class ChildProcess : public FakeDialogProgram {};

TEST_F(ChildProcess, LongOutputIsDrainedAndBoundedAndAMissingProgramDoesNotStart) {
    install("talker", "/usr/bin/yes 0123456789 | /usr/bin/head -c 1000000\n");
    const ChildResult result = runChild({"talker"}, 100);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, "0123456789\n0123456789\n0123456789\n0123456789\n0123456789\n"
                             "0123456789\n0123456789\n0123456789\n0123456789\n0");
    EXPECT_FALSE(runChild({"no-such-dialog-program"}, 100).started);
    EXPECT_FALSE(runChild({}, 100).started);
}

TEST_F(ChildProcess, ReturnsWhenTheChildExitsThoughAGrandchildHoldsThePipe) {
    install("forker", "/bin/sleep 60 &\necho $! > \"$FAKE_ARGS.pid\"\n");
    answer("7", 3);
    const ChildResult result = runChild({"forker"}, 100);
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.output, "7");
    pid_t grandchild = 0;
    std::ifstream(argsFile().string() + ".pid") >> grandchild;
    if (grandchild > 0) kill(grandchild, SIGKILL);
}

TEST_F(ChildProcess, LeavesNoZombieAndNoDescriptorBehindAndPassesNoneOn) {
    const int hostFd = open("/dev/null", O_RDONLY); // deliberately without O_CLOEXEC
    ASSERT_GE(hostFd, 3);
    install("zenity",
            "if [ -e /proc/$$/fd/" + std::to_string(hostFd) + " ]; then FAKE_ANSWER=leaked; fi\n");
    const auto openDescriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const auto before = openDescriptors();
    answer("", 0);
    messageBox("hello", 2);
    answer("closed\n", 0);
    char text[256] = "";
    runInputWindow("t", "l", text, sizeof text);
    EXPECT_STREQ(text, "closed");
    EXPECT_EQ(openDescriptors(), before);
    close(hostFd);
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD) << "a dialog process was left unreaped";
}

} // namespace
