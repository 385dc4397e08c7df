// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/BitmapCache.h"

#include "toolkit/CBitmap.h"

#include <map>
#include <mutex>

namespace {

class BitmapCache {
public:
    ~BitmapCache() {
        for (auto& entry : bitmaps)
            if (entry.second) entry.second->forget();
    }

    orvgui::CBitmap* get(int number) {
        // Editors of different instances may open on different threads.
        std::lock_guard<std::mutex> lock(mutex);
        auto found = bitmaps.find(number);
        if (found == bitmaps.end()) {
            auto* bitmap = new orvgui::CBitmap(number);
            if (!bitmap->isLoaded()) {
                bitmap->forget();
                bitmap = nullptr;
            }
            found = bitmaps.emplace(number, bitmap).first;
        }
        if (found->second) found->second->remember();
        return found->second;
    }

private:
    std::mutex mutex;
    std::map<int, orvgui::CBitmap*> bitmaps;
};

BitmapCache cache;

} // namespace

orvgui::CBitmap* sharedBitmap(int resourceNumber) {
    return cache.get(resourceNumber);
}
