// The editor's bitmap sets, decoded once per process and shared by every editor of every
// instance; released when the module unloads.
#pragma once

namespace orvgui {
class CBitmap;
}

// Resource number n with one reference for the caller; null when the image is missing or
// cannot be decoded.
orvgui::CBitmap* sharedBitmap(int resourceNumber);
