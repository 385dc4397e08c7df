// Hands blocks from one render stage's thread to the next. Its capacity is fixed when made, so
// passing a block never allocates; the stages pass the same few preallocated blocks round.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

template <typename T> class BlockQueue {
public:
    explicit BlockQueue(size_t capacity) : slots(capacity) {}

    // Never blocks: the queue is made as large as the number of blocks that exist.
    void push(T item) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            slots[(first + count) % slots.size()] = item;
            ++count;
        }
        ready.notify_one();
    }

    // Waits for the next block; false once the queue is closed and empty.
    bool pop(T& item) {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [this] { return count > 0 || closed; });
        if (count == 0) return false;
        item = slots[first];
        first = (first + 1) % slots.size();
        --count;
        return true;
    }

    // No more blocks will come; waiting takers return once the queue is empty.
    void close() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            closed = true;
        }
        ready.notify_all();
    }

    // Stops the stages at once: blocks still queued are dropped.
    void abandon() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            closed = true;
            count = 0;
        }
        ready.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable ready;
    std::vector<T> slots;
    size_t first = 0, count = 0;
    bool closed = false;
};
