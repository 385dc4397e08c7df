// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the kShapes table the adapter core is built with.
#pragma once

#include "adapter/describe/EffectDescription.h"

#include <string>

namespace orvane::adapter {

bool writeShapes(const EffectDescription& description, const std::string& path);

} // namespace orvane::adapter
