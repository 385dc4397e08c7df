// SPDX-License-Identifier: GPL-3.0-or-later
// Runs helper programs without a shell, with the host's loader settings (LD_PRELOAD,
// LD_LIBRARY_PATH) removed from their environment: waiting and collecting what they write to
// standard output, or handed off to run on their own.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

struct ChildResult {
    bool started = false; // false when the program could not be executed (e.g. not on PATH)
    bool stopped = false; // ended through a ChildStop; output is then empty
    // Ended within a moment of starting, neither successfully nor with any output: a program
    // that could not run here (loader failure, no display, killed at start).
    bool failedAtOnce = false;
    int exitStatus = -1; // exit code; -1 when killed by a signal or already reaped by someone else
    std::string output;  // the first outputLimit bytes of standard output
};

// Lets another thread end the child that runChild waits for on the threads watching it.
class ChildStop {
public:
    ChildStop();
    ~ChildStop();
    ChildStop(const ChildStop&) = delete;
    ChildStop& operator=(const ChildStop&) = delete;

    // Any thread: the child being waited for is terminated and reaped, later ones do not start.
    void request();
    // Ready for the next use; only while no thread is watching.
    void clear();
    bool requested() const { return flag.load(std::memory_order_acquire); }
    int wakeDescriptor() const { return wake; }

private:
    int wake;
    std::atomic<bool> flag{false};
};

// While alive, runChild on the constructing thread answers to stop.
class ChildStopWatch {
public:
    explicit ChildStopWatch(const ChildStop& stop);
    ~ChildStopWatch();
    ChildStopWatch(const ChildStopWatch&) = delete;
    ChildStopWatch& operator=(const ChildStopWatch&) = delete;

private:
    const ChildStop* previous;
};

// Starts argv[0] (searched on PATH) with stdin and stderr on /dev/null and only the output pipe
// open, waits for it and reaps it. Output beyond outputLimit is read and discarded so the child
// never blocks on a full pipe. Returns once the child has exited, even if a grandchild still
// holds the pipe open, or once a watched ChildStop has ended it.
ChildResult runChild(const std::vector<std::string>& argv, std::size_t outputLimit);

// Starts argv[0] (searched on PATH) in a session of its own, with every standard stream on
// /dev/null, and returns at once. It is never our child, so nothing is left to reap when it
// outlives its starter. False when it could not be started.
bool startDetached(const std::vector<std::string>& argv);
