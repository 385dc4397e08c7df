// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/Interruption.h"

#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace {

// One partial file per render at once, and --jobs allows at most 256.
constexpr int kSlots = 256;

std::atomic<bool> stopRequested{false};
std::atomic<bool> interruptedOnce{false};
std::atomic<const char*> partialFiles[kSlots];
static_assert(std::atomic<const char*>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);

// Only async-signal-safe calls here. A broken pipe never escalates: every later write to the
// closed pipe raises it again.
void onSignal(int signal) {
    if (signal != SIGPIPE && interruptedOnce.exchange(true)) {
        for (std::atomic<const char*>& file : partialFiles)
            if (const char* path = file.load()) unlink(path);
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigaction(signal, &fallback, nullptr);
        raise(signal); // delivered, and fatal, as this handler returns
        return;
    }
    stopRequested = true;
}

} // namespace

const std::atomic<bool>& stopOnSignals() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    // Restarted system calls: a signal must not turn into a failed read or write.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaction(signal, &action, nullptr);
    return stopRequested;
}

int rememberPartialFile(const char* path) {
    for (int slot = 0; slot < kSlots; ++slot) {
        const char* free = nullptr;
        if (partialFiles[slot].compare_exchange_strong(free, path)) return slot;
    }
    return -1;
}

void forgetPartialFile(int slot) {
    if (slot >= 0) partialFiles[slot] = nullptr;
}
