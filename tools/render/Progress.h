// A progress line on standard error while rendering to a terminal: percent, elapsed time and
// speed in times real time.
#pragma once

#include <chrono>

class Progress {
public:
    Progress(long totalFrames, int sampleRate, bool enabled);
    void update(long framesDone);
    void finish(); // clears the line
    double elapsedSeconds() const;

private:
    using Clock = std::chrono::steady_clock;
    long total;
    int rate;
    bool shown;
    Clock::time_point start = Clock::now();
    Clock::time_point lastDrawn{};
};
