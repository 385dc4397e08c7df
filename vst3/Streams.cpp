// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/Streams.h"

#include "adapter/StateForm.h"
#include "vst3/ComObject.h"

namespace orvane::vst3 {

namespace {

using Transfer = decltype(v3_bstream::read);

// Through the stream's read or write, which may move fewer bytes a call than asked.
bool transferFully(v3_bstream** stream, Transfer v3_bstream::*transfer, unsigned char* data,
                   std::size_t size) {
    return stream && adapter::moveFully(data, size, [&](unsigned char* at, std::size_t left) {
               int32_t moved = 0;
               const v3_result result =
                   (api(stream)->*transfer)(stream, at, static_cast<int32_t>(left), &moved);
               return result == V3_OK ? static_cast<long long>(moved) : -1LL;
           });
}

} // namespace

bool readFully(v3_bstream** stream, unsigned char* data, std::size_t size) {
    return transferFully(stream, &v3_bstream::read, data, size);
}

bool writeFully(v3_bstream** stream, unsigned char* data, std::size_t size) {
    return transferFully(stream, &v3_bstream::write, data, size);
}

} // namespace orvane::vst3
