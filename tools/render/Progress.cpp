#include "tools/render/Progress.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
} // namespace

Progress::Progress(long totalFrames, int sampleRate, bool enabled)
    : total(std::max(1L, totalFrames)), rate(sampleRate), shown(enabled) {}

double Progress::elapsedSeconds() const {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Progress::update(long framesDone) {
    if (!shown) return;
    const auto now = Clock::now();
    if (now - lastDrawn < kRedrawInterval) return;
    lastDrawn = now;
    const double fraction = std::min(1.0, static_cast<double>(framesDone) / total);
    const int filled = static_cast<int>(fraction * kBarWidth);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = 0;
    const double elapsed = elapsedSeconds();
    const double speed = elapsed > 0.0 ? framesDone / static_cast<double>(rate) / elapsed : 0.0;
    std::fprintf(stderr, "\r[%s] %3d%%  %d:%02d  %.0fx real time ", bar,
                 static_cast<int>(fraction * 100.0), static_cast<int>(elapsed) / 60,
                 static_cast<int>(elapsed) % 60, speed);
    std::fflush(stderr);
}

void Progress::finish() {
    if (!shown) return;
    std::fprintf(stderr, "\r%*s\r", kBarWidth + 40, "");
    std::fflush(stderr);
}
