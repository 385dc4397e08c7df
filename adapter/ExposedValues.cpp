// SPDX-License-Identifier: GPL-3.0-or-later
// The conversions with this build's shapes (generated from the effect).
#include "adapter/ExposedParameters.h"

namespace orvane::adapter {

float toPlain(std::size_t exposed, float normalised) {
    return exposed < kExposedCount ? toPlain(kExposed[exposed].kind, kShapes[exposed], normalised)
                                   : 0.0f;
}

float toNormalised(std::size_t exposed, float plain) {
    return exposed < kExposedCount ? toNormalised(kExposed[exposed].kind, kShapes[exposed], plain)
                                   : 0.0f;
}

int stepCount(std::size_t exposed) {
    if (exposed >= kExposedCount) return 0;
    switch (kExposed[exposed].kind) {
    case ValueKind::Toggle:
        return 1;
    case ValueKind::List:
        return kShapes[exposed].entryCount - 1;
    default:
        return 0;
    }
}

} // namespace orvane::adapter
