// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping renders on a signal. The first interrupt, hang-up, termination or broken pipe asks
// every render to stop; each then removes its partial file and commits nothing. A second
// interrupt, hang-up or termination removes the partial files at once and ends the process by
// that signal, for a user who will not wait.
#pragma once

#include <atomic>

// Installs the handlers; the flag they set.
const std::atomic<bool>& stopOnSignals();

// A partial file the second signal removes; the path must stay valid until it is forgotten.
// The slot to forget it by, or -1 when too many are held at once (that file is then left).
int rememberPartialFile(const char* path);
void forgetPartialFile(int slot);
