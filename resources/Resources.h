// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>

namespace orvane {

struct Resource {
    const unsigned char* data;
    std::size_t size;
};

// The packed bitmap (resources/PackedBitmap.h) "bmp%05d" number; {nullptr, 0} if absent.
Resource findResource(int number);

} // namespace orvane
