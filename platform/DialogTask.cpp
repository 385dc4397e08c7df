#include "platform/DialogTask.h"

DialogTask::~DialogTask() {
    if (worker.joinable()) worker.join();
}

bool DialogTask::start(std::function<void()> operation) {
    if (worker.joinable() || !operation) return false;
    finished.store(false, std::memory_order_relaxed);
    worker = std::thread([this, operation = std::move(operation)] {
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
