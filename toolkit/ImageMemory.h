// SPDX-License-Identifier: GPL-3.0-or-later
// ARGB32 images whose pixels have pages of their own, so that rows about to be written can be
// mapped in one system call: touched one page at a time, a fresh 4 MB image costs about a
// thousand page faults, which on some virtual machines take longer than drawing it.
#pragma once

#include <cstddef>

typedef struct _cairo_surface cairo_surface_t;

namespace orvgui {

// A cleared image; its memory is taken from the system only as rows are written or prepared.
// Null when it cannot be made.
cairo_surface_t* createPagedImage(int width, int height);

// As createPagedImage, in a System V shared memory segment that an X server on this machine
// can read straight (MIT-SHM). Null when it cannot be made.
cairo_surface_t* createSharedImage(int width, int height);
// The shared memory segment of an image from createSharedImage; -1 for any other image.
int sharedMemoryId(cairo_surface_t* image);

// Maps in the memory of rows [top, bottom) of an image from either for writing,
// without changing the pixels; rows already mapped are left alone.
void prepareRows(cairo_surface_t* image, int top, int bottom);

// As prepareRows for all of an image that is about to be written whole,
// in large pages where the system offers them.
void prepareWhole(cairo_surface_t* image);

} // namespace orvgui
