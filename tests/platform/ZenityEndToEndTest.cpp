// Answers a real zenity entry dialog on a private Xvfb display with xdotool.
#include "platform/ChildProcess.h"
#include "platform/Dialogs.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Xvfb on the first free display; it reports the number through -displayfd.
class XvfbServer {
public:
    XvfbServer() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        char* args[] = {const_cast<char*>("Xvfb"),
                        const_cast<char*>("-displayfd"),
                        const_cast<char*>("3"),
                        const_cast<char*>("-nolisten"),
                        const_cast<char*>("tcp"),
                        const_cast<char*>("-screen"),
                        const_cast<char*>("0"),
                        const_cast<char*>("1024x768x24"),
                        nullptr};
        const bool started = posix_spawnp(&pid, "Xvfb", &actions, nullptr, args, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (started) display = readDisplayNumber(fds[0]);
        close(fds[0]);
    }
    ~XvfbServer() { stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    void stop() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = 0;
    }

    std::optional<std::string> display;

private:
    static std::optional<std::string> readDisplayNumber(int fd) {
        std::string number;
        pollfd ready{fd, POLLIN, 0};
        while (poll(&ready, 1, 10000) > 0) {
            char c;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return ":" + number;
            number += c;
        }
        return std::nullopt;
    }

    pid_t pid = 0;
};

TEST(ZenityEndToEnd, TypedAnswerReachesTheCaller) {
    for (const char* program : {"Xvfb", "zenity", "xdotool", "timeout"})
        if (!onPath(program)) GTEST_SKIP() << program << " is not installed";

    XvfbServer server;
    if (!server.display) GTEST_SKIP() << "Xvfb did not start";
    setenv("DISPLAY", server.display->c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");

    // Types into the dialog once it is mapped. Should the dialog not close, stopping the server
    // ends it, so the test fails instead of hanging.
    std::promise<void> answered;
    std::thread user([&server, closed = answered.get_future()] {
        // "type" takes every later argument as text, so Return goes in a second call.
        const ChildResult typing =
            runChild({"timeout", "30", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                      "Orvane", "windowfocus", "--sync", "sleep", "0.3", "key", "ctrl+a", "type",
                      "--delay", "30", "12.5"},
                     0);
        const ChildResult confirming = runChild({"timeout", "30", "xdotool", "key", "Return"}, 0);
        if (typing.exitStatus != 0 || confirming.exitStatus != 0 ||
            closed.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            server.stop();
    });
    char text[512] = "0.0";
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    answered.set_value();
    user.join();

    EXPECT_STREQ(text, "12.5");
}

} // namespace
