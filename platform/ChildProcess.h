// Runs helper programs without a shell: waiting and collecting what they write to standard
// output, or started and left to run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct ChildResult {
    bool started = false; // false when the program could not be executed (e.g. not on PATH)
    int exitStatus = -1;  // exit code; -1 when killed by a signal or already reaped by someone else
    std::string output;   // the first outputLimit bytes of standard output
};

// Starts argv[0] (searched on PATH) with stdin and stderr on /dev/null and only the output pipe
// open, waits for it and reaps it. Output beyond outputLimit is read and discarded so the child
// never blocks on a full pipe. Returns once the child has exited, even if a grandchild still
// holds the pipe open.
ChildResult runChild(const std::vector<std::string>& argv, std::size_t outputLimit);

// Starts argv[0] (searched on PATH) with every standard stream on /dev/null and returns at once:
// its process id, or -1 when it could not be started. Reap it with childHasExited.
int startChild(const std::vector<std::string>& argv);
// Reaps the child without waiting; true once it has exited (or is no child of ours).
bool childHasExited(int pid);
