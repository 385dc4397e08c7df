// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's bitmaps, shared by every editor of every instance; released when the module
// unloads. A bitmap unpacks its rows as they are first drawn, so nothing is prepared ahead.
#pragma once

namespace orvgui {
class CBitmap;
}

// Resource number n with one reference for the caller; null when the image is missing or
// malformed.
orvgui::CBitmap* sharedBitmap(int resourceNumber);
