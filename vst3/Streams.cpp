// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/Streams.h"

#include "adapter/StateForm.h"
#include "vst3/ComObject.h"

namespace orvane::vst3 {

bool readFully(v3_bstream** stream, unsigned char* data, std::size_t size) {
    return stream && adapter::moveFully(data, size, [&](unsigned char* at, std::size_t left) {
               int32_t moved = 0;
               const v3_result result =
                   api(stream)->read(stream, at, static_cast<int32_t>(left), &moved);
               return result == V3_OK ? static_cast<long long>(moved) : -1LL;
           });
}

bool writeFully(v3_bstream** stream, unsigned char* data, std::size_t size) {
    return stream && adapter::moveFully(data, size, [&](unsigned char* at, std::size_t left) {
               int32_t moved = 0;
               const v3_result result =
                   api(stream)->write(stream, at, static_cast<int32_t>(left), &moved);
               return result == V3_OK ? static_cast<long long>(moved) : -1LL;
           });
}

} // namespace orvane::vst3
