// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/Check.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane::validate {

namespace {

void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0 && errno != EINTR) return;
        if (n > 0) done += static_cast<size_t>(n);
    }
}

// Reads what the child reports until it closes its end or the time is up.
bool readUntil(int fd, std::string& text, std::chrono::steady_clock::time_point deadline) {
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        text.append(chunk, static_cast<size_t>(n));
    }
}

Outcome runIsolated(const std::function<Outcome()>& check, int timeoutSeconds) {
    int channel[2];
    if (pipe(channel) != 0) return fail("cannot create a pipe");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return fail("cannot fork");
    if (child == 0) {
        close(channel[0]);
        const Outcome outcome = check();
        writeAll(channel[1],
                 std::string(1, static_cast<char>('0' + outcome.kind)) + outcome.detail);
        close(channel[1]);
        // Leave without running the plug-in's or anyone's exit handlers: the check is over.
        _exit(0);
    }
    close(channel[1]);
    std::string text;
    const bool finished = readUntil(
        channel[0], text, std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds));
    close(channel[0]);
    if (!finished) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished) return fail("did not finish within " + std::to_string(timeoutSeconds) + " s");
    if (WIFSIGNALED(status)) return fail(std::string("crashed: ") + strsignal(WTERMSIG(status)));
    if (text.empty())
        return fail("the plug-in ended the process (exit status " +
                    std::to_string(WEXITSTATUS(status)) + ")");
    return {static_cast<Outcome::Kind>(text[0] - '0'), text.substr(1)};
}

} // namespace

void Report::run(const std::string& group, const std::string& name,
                 const std::function<Outcome()>& check, int timeoutSeconds) {
    const Outcome outcome = runIsolated(check, timeoutSeconds);
    static const char* const kWords[] = {"PASS", "FAIL", "SKIP"};
    std::printf("%s %s: %s%s%s\n", kWords[outcome.kind], group.c_str(), name.c_str(),
                outcome.detail.empty() ? "" : ": ", outcome.detail.c_str());
    std::fflush(stdout);
    switch (outcome.kind) {
    case Outcome::kPass:
        ++passes;
        break;
    case Outcome::kFail:
        ++failures;
        break;
    case Outcome::kSkip:
        ++skips;
        break;
    }
}

} // namespace orvane::validate
