// SPDX-License-Identifier: GPL-3.0-or-later
// Hands blocks from one render stage's thread to the next. Its capacity is fixed when made, so
// passing a block never allocates; the stages pass the same few preallocated blocks round.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

template <typename T> class BlockQueue {
public:
    // A taker that ran dry sleeps until wakeBatch blocks are there: on a busy machine every
    // wake-up of a file thread can cost the effect's thread its turn on the processor.
    BlockQueue(size_t capacity, size_t wakeBatch) : slots(capacity), batch(wakeBatch) {}

    // Never blocks: the queue is made as large as the number of blocks that exist.
    void push(T item) {
        bool wake;
        {
            std::lock_guard<std::mutex> lock(mutex);
            slots[(first + count) % slots.size()] = item;
            ++count;
            wake = count == batch;
        }
        if (wake) ready.notify_one();
    }

    // The next block; false once the queue is closed and empty. One taker only.
    bool pop(T& item) {
        std::unique_lock<std::mutex> lock(mutex);
        if (count == 0) ready.wait(lock, [this] { return count >= batch || closed; });
        if (count == 0) return false;
        item = slots[first];
        first = (first + 1) % slots.size();
        --count;
        return true;
    }

    // No more blocks will come; the taker gets those left, then false.
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
    const size_t batch;
    size_t first = 0, count = 0;
    bool closed = false;
};
