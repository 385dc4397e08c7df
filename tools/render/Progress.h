// SPDX-License-Identifier: GPL-3.0-or-later
// A progress line on standard error while rendering to a terminal: percent, elapsed time and,
// for a batch, the files done.
#pragma once

#include <chrono>
#include <cstddef>

class Progress {
public:
    Progress(long totalFrames, size_t files, bool enabled);
    void update(long framesDone, size_t filesDone);
    void clear(); // before other output; the next update draws the line again

private:
    using Clock = std::chrono::steady_clock;
    long total;
    size_t fileCount;
    bool shown;
    bool drawn = false;
    Clock::time_point start = Clock::now();
};
