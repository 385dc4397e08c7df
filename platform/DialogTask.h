// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one dialog operation on a thread of its own, so that the thread that started it returns
// to the host at once (a host whose event loop waits on a dialog stops drawing and is called
// "not responding"). The starter polls for the end from its own loop, and can end the
// operation's dialog at once when it goes away.
#pragma once

#include "platform/ChildProcess.h"

#include <atomic>
#include <functional>
#include <thread>

class DialogTask {
public:
    DialogTask() = default;
    // Cancels: the operation may use objects its owner is about to free.
    ~DialogTask();
    DialogTask(const DialogTask&) = delete;
    DialogTask& operator=(const DialogTask&) = delete;

    // False (and nothing runs) while an earlier operation has not been collected. Its dialogs
    // stay above ownerWindow (an X window id; 0: none) where the dialog program allows.
    bool start(std::function<void()> operation, unsigned long ownerWindow = 0);
    // Started and not yet collected.
    bool busy() const { return worker.joinable(); }
    // True once per operation, at the first call after it ended; never waits.
    bool collect();
    // Ends the running operation's dialog as if cancelled (an answer given meanwhile is dropped)
    // and waits for the operation to return, well within a second.
    void cancel();

private:
    std::thread worker;
    std::atomic<bool> finished{false};
    ChildStop stop;
};
