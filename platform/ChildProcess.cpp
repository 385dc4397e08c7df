#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kExitPollMs = 100;

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

} // namespace

int startChild(const std::vector<std::string>& argv) {
    if (argv.empty()) return -1;
    std::vector<char*> args = argumentVector(argv);
    pid_t pid = 0;
    SpawnSetup setup(-1);
    if (posix_spawnp(&pid, args[0], &setup.actions, &setup.attributes, args.data(), environ) != 0)
        return -1;
    return pid;
}

bool childHasExited(int pid) {
    int exitStatus = 0;
    return pid <= 0 || reapIfExited(pid, WNOHANG, exitStatus);
}

ChildResult runChild(const std::vector<std::string>& argv, std::size_t outputLimit) {
    ChildResult result;
    if (argv.empty()) return result;

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    const int readFd = pipeFds[0];
    const int writeFd = pipeFds[1];

    std::vector<char*> args = argumentVector(argv);
    pid_t pid = 0;
    int spawnError;
    {
        SpawnSetup setup(writeFd);
        spawnError =
            posix_spawnp(&pid, args[0], &setup.actions, &setup.attributes, args.data(), environ);
    }
    close(writeFd);
    if (spawnError != 0) {
        close(readFd);
        return result;
    }
    result.started = true;

    bool reaped = false;
    pollfd watch{readFd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&watch, 1, kExitPollMs);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready > 0) {
            if (!readChunk(readFd, result.output, outputLimit)) break;
            continue;
        }
        if (reapIfExited(pid, WNOHANG, result.exitStatus)) {
            reaped = true;
            drainAvailable(readFd, result.output, outputLimit);
            break;
        }
    }
    close(readFd);
    if (!reaped) reapIfExited(pid, 0, result.exitStatus);
    return result;
}
