// The editor's bitmap sets, decoded once per process and shared by every editor of every
// instance; released when the module unloads.
#pragma once

#include <vector>

namespace orvgui {
class CBitmap;
}

// Resource number n with one reference for the caller; null when the image is missing or
// cannot be decoded.
orvgui::CBitmap* sharedBitmap(int resourceNumber);
// Starts decoding these bitmaps on a thread of the cache's own, so that the first editor to
// open finds them ready (the 200 % films take a few hundred milliseconds). Numbers already
// requested are skipped.
void preloadBitmaps(const std::vector<int>& resourceNumbers);
