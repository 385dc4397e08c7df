// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitPollMs = 100;
// Once the output is closed the exit follows within moments.
constexpr int kClosedOutputPollMs = 10;
// A dialog cannot be answered this fast: an unsuccessful end without output this soon after
// the start means the program could not run.
constexpr auto kAtOnce = std::chrono::milliseconds(500);
// How long a stopped child may take to end on SIGTERM before it is killed.
constexpr auto kStopGrace = std::chrono::milliseconds(300);

thread_local const ChildStop* watchedStop = nullptr;

class SpawnSetup {
public:
    explicit SpawnSetup(int outputFd) {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (outputFd >= 0)
            posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
        else
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        // The host's own descriptors must not leak into the dialog program.
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);

        // The host may block or ignore signals; the child starts with a clean slate.
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &all);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

void appendBounded(std::string& output, const char* data, std::size_t size, std::size_t limit) {
    if (output.size() < limit) output.append(data, std::min(size, limit - output.size()));
}

// Reads one chunk; false at end of file or on error.
bool readChunk(int fd, std::string& output, std::size_t limit) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            appendBounded(output, buffer, static_cast<std::size_t>(n), limit);
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

void drainAvailable(int fd, std::string& output, std::size_t limit) {
    pollfd ready{fd, POLLIN, 0};
    while (poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN) && readChunk(fd, output, limit)) {
    }
}

// Records the exit status when the child has finished. A host that reaps every child itself
// (or ignores SIGCHLD) leaves nothing to wait for: that also means the child is gone.
bool reapIfExited(pid_t pid, int options, int& exitStatus) {
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid, &status, options);
    } while (result < 0 && errno == EINTR);
    if (result == 0) return false;
    exitStatus = (result > 0 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    return true;
}

std::vector<char*> argumentVector(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    return args;
}

// The host's loader settings are for the host: a bundled host's libraries can keep a system
// program from starting at all.
bool isLoaderSetting(const char* entry) {
    for (const char* name : {"LD_PRELOAD=", "LD_LIBRARY_PATH="})
        if (std::strncmp(entry, name, std::strlen(name)) == 0) return true;
    return false;
}

std::vector<char*> childEnvironment() {
    std::vector<char*> env;
    for (char** entry = environ; entry && *entry; ++entry)
        if (!isLoaderSetting(*entry)) env.push_back(*entry);
    env.push_back(nullptr);
    return env;
}

int spawn(const std::vector<std::string>& argv, int outputFd, pid_t& pid) {
    std::vector<char*> args = argumentVector(argv);
    std::vector<char*> env = childEnvironment();
    SpawnSetup setup(outputFd);
    return posix_spawnp(&pid, args[0], &setup.actions, &setup.attributes, args.data(), env.data());
}

// Through the process's descriptor where the kernel offers one: a host that reaps every child
// itself may have let the pid go to another process.
void sendSignal(pid_t pid, int process, int signal) {
    if (process >= 0)
        syscall(SYS_pidfd_send_signal, process, signal, nullptr, 0);
    else
        kill(pid, signal);
}

// SIGTERM first, so that the program can take its window down; SIGKILL after the grace.
void terminate(pid_t pid, int process, int& exitStatus) {
    sendSignal(pid, process, SIGTERM);
    const auto deadline = Clock::now() + kStopGrace;
    while (!reapIfExited(pid, WNOHANG, exitStatus)) {
        if (Clock::now() >= deadline) {
            sendSignal(pid, process, SIGKILL);
            reapIfExited(pid, 0, exitStatus);
            return;
        }
        usleep(5000);
    }
}

} // namespace

ChildStop::ChildStop() : wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ChildStop::~ChildStop() {
    if (wake >= 0) close(wake);
}

void ChildStop::request() {
    flag.store(true, std::memory_order_release);
    if (wake >= 0) eventfd_write(wake, 1);
}

void ChildStop::clear() {
    flag.store(false, std::memory_order_release);
    eventfd_t drained;
    if (wake >= 0) eventfd_read(wake, &drained);
}

ChildStopWatch::ChildStopWatch(const ChildStop& stop) : previous(watchedStop) {
    watchedStop = &stop;
}

ChildStopWatch::~ChildStopWatch() {
    watchedStop = previous;
}

bool startDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    std::vector<std::string> detached{"setsid", "--fork"};
    detached.insert(detached.end(), argv.begin(), argv.end());
    pid_t pid = 0;
    if (spawn(detached, -1, pid) != 0) return false;
    // setsid forks the program off and exits at once.
    int exitStatus = -1;
    reapIfExited(pid, 0, exitStatus);
    return true;
}

ChildResult runChild(const std::vector<std::string>& argv, std::size_t outputLimit) {
    ChildResult result;
    const ChildStop* stop = watchedStop;
    if (stop && stop->requested()) {
        result.stopped = true;
        return result;
    }
    if (argv.empty()) return result;

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    int readFd = pipeFds[0];
    const int writeFd = pipeFds[1];

    pid_t pid = 0;
    const int spawnError = spawn(argv, writeFd, pid);
    close(writeFd);
    if (spawnError != 0) {
        close(readFd);
        return result;
    }
    result.started = true;
    const auto startTime = Clock::now();
    // Called directly: this C library's declarations of the pidfd calls lack C linkage for C++.
    const int process = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));

    for (;;) {
        // The process's descriptor becomes readable at its exit; the timeout covers kernels
        // without one.
        pollfd watch[3] = {{readFd, POLLIN, 0},
                           {stop ? stop->wakeDescriptor() : -1, POLLIN, 0},
                           {process, POLLIN, 0}};
        const int ready = poll(watch, 3, readFd >= 0 ? kExitPollMs : kClosedOutputPollMs);
        if (ready < 0 && errno != EINTR) {
            reapIfExited(pid, 0, result.exitStatus);
            break;
        }
        if (stop && stop->requested()) {
            terminate(pid, process, result.exitStatus);
            result.stopped = true;
            result.output.clear();
            break;
        }
        if (ready > 0 && watch[0].revents) {
            if (!readChunk(readFd, result.output, outputLimit)) {
                close(readFd);
                readFd = -1;
            }
            continue;
        }
        if (reapIfExited(pid, WNOHANG, result.exitStatus)) {
            if (readFd >= 0) drainAvailable(readFd, result.output, outputLimit);
            result.failedAtOnce = result.exitStatus != 0 && result.output.empty() &&
                                  Clock::now() - startTime < kAtOnce;
            break;
        }
    }
    if (readFd >= 0) close(readFd);
    if (process >= 0) close(process);
    return result;
}
