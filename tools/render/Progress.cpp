// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/Progress.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kBarWidth = 30;
constexpr int kLineWidth = kBarWidth + 40;
} // namespace

Progress::Progress(long totalFrames, size_t files, bool enabled)
    : total(std::max(1L, totalFrames)), fileCount(files), shown(enabled) {}

void Progress::update(long framesDone, size_t filesDone) {
    if (!shown) return;
    const double fraction = std::min(1.0, static_cast<double>(framesDone) / total);
    const int filled = static_cast<int>(fraction * kBarWidth);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = 0;
    const int elapsed =
        static_cast<int>(std::chrono::duration<double>(Clock::now() - start).count());
    std::fprintf(stderr, "\r[%s] %3d%%  %d:%02d", bar, static_cast<int>(fraction * 100.0),
                 elapsed / 60, elapsed % 60);
    if (fileCount > 1) std::fprintf(stderr, "  %zu/%zu files", filesDone, fileCount);
    std::fflush(stderr);
    drawn = true;
}

void Progress::clear() {
    if (!drawn) return;
    std::fprintf(stderr, "\r%*s\r", kLineWidth, "");
    std::fflush(stderr);
    drawn = false;
}
