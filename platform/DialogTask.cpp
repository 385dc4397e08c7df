// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DialogTask.h"

#include "platform/DesktopDialogs.h"

DialogTask::~DialogTask() {
    cancel();
}

bool DialogTask::start(std::function<void()> operation, unsigned long ownerWindow) {
    if (worker.joinable() || !operation) return false;
    finished.store(false, std::memory_order_relaxed);
    stop.clear();
    worker = std::thread([this, operation = std::move(operation), ownerWindow] {
        const ChildStopWatch watch(stop);
        setDialogOwnerWindow(ownerWindow);
        operation();
        finished.store(true, std::memory_order_release);
    });
    return true;
}

bool DialogTask::collect() {
    if (!worker.joinable() || !finished.load(std::memory_order_acquire)) return false;
    worker.join();
    return true;
}

void DialogTask::cancel() {
    if (!worker.joinable()) return;
    stop.request();
    worker.join();
}
