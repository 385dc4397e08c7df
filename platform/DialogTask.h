// Runs one blocking dialog operation on a thread of its own, so that the thread that started it
// returns to the host at once (a host whose event loop waits on a dialog stops drawing and is
// called "not responding"). The starter polls for the end from its own loop.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

class DialogTask {
public:
    DialogTask() = default;
    // Waits for an operation still running: it may use objects its owner is about to free.
    ~DialogTask();
    DialogTask(const DialogTask&) = delete;
    DialogTask& operator=(const DialogTask&) = delete;

    // False (and nothing runs) while an earlier operation has not been collected.
    bool start(std::function<void()> operation);
    // Started and not yet collected.
    bool busy() const { return worker.joinable(); }
    // True once per operation, at the first call after it ended; never waits.
    bool collect();

private:
    std::thread worker;
    std::atomic<bool> finished{false};
};
