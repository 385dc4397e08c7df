#include "editor/BitmapCache.h"

#include "toolkit/CBitmap.h"

#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace {

class BitmapCache {
public:
    // At unload: a preload still running stops after the bitmap it is decoding.
    ~BitmapCache() {
        {
            std::lock_guard<std::mutex> lock(queueMutex);
            stopping = true;
        }
        if (worker.joinable()) worker.join();
        for (auto& entry : bitmaps)
            if (entry.second) entry.second->forget();
    }

    orvgui::CBitmap* get(int number) {
        // Editors of different instances may open on different threads, beside the preload.
        std::lock_guard<std::mutex> lock(mutex);
        auto found = bitmaps.find(number);
        if (found == bitmaps.end()) {
            auto* decoded = new orvgui::CBitmap(number);
            if (!decoded->isLoaded()) {
                decoded->forget();
                decoded = nullptr;
            }
            found = bitmaps.emplace(number, decoded).first;
        }
        if (found->second) found->second->remember();
        return found->second;
    }

    void preload(const std::vector<int>& numbers) {
        std::lock_guard<std::mutex> lock(queueMutex);
        for (int number : numbers)
            if (requested.insert(number).second) pending.push_back(number);
        if (running || pending.empty() || stopping) return;
        if (worker.joinable()) worker.join(); // an earlier run that has ended
        running = true;
        worker = std::thread([this] { run(); });
    }

private:
    void run() {
        for (;;) {
            int number;
            {
                std::lock_guard<std::mutex> lock(queueMutex);
                if (pending.empty() || stopping) {
                    running = false;
                    return;
                }
                number = pending.front();
                pending.pop_front();
            }
            if (orvgui::CBitmap* bitmap = get(number)) bitmap->forget();
        }
    }

    std::mutex mutex;
    std::map<int, orvgui::CBitmap*> bitmaps;

    std::mutex queueMutex;
    std::set<int> requested;
    std::deque<int> pending;
    std::thread worker;
    bool running = false;
    bool stopping = false;
};

BitmapCache cache;

} // namespace

orvgui::CBitmap* sharedBitmap(int resourceNumber) {
    return cache.get(resourceNumber);
}

void preloadBitmaps(const std::vector<int>& resourceNumbers) {
    cache.preload(resourceNumbers);
}
