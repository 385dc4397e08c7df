// SPDX-License-Identifier: GPL-3.0-or-later
// The interface of the real-time-safety interposer (liborvane_rtcheck.so, loaded with
// LD_PRELOAD): a thread arms it, makes the calls under test, and reads back what those calls
// did that a processing thread must never do.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

struct OrvaneRtCounts {
    unsigned allocations; // malloc, free and relatives (operator new and delete end here)
    unsigned locks;       // mutex, read-write and spin locks
    unsigned waits;       // condition variables, semaphores, joins, sleeps, yields, polls
    unsigned files;       // file and stream input and output
    unsigned systemCalls; // other calls into the kernel: syscall, ioctl, mmap, thread creation
    char first[48];       // the name of the first such function called, empty when none
};

// Starts counting the calls of the calling thread (and only that thread).
void orvane_rtcheck_begin(void);
// Stops counting and hands back what was counted since orvane_rtcheck_begin.
void orvane_rtcheck_end(struct OrvaneRtCounts* counts);

#ifdef __cplusplus
}
#endif
