// SPDX-License-Identifier: GPL-3.0-or-later
// The host's state streams, which may move fewer bytes per call than asked.
#pragma once

#include "travesty/bstream.h"

#include <cstddef>

namespace orvane::vst3 {

bool readFully(v3_bstream** stream, unsigned char* data, std::size_t size);
bool writeFully(v3_bstream** stream, unsigned char* data, std::size_t size);

} // namespace orvane::vst3
