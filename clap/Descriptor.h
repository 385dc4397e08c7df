// SPDX-License-Identifier: GPL-3.0-or-later
// The one plug-in this module holds.
#pragma once

#include <clap/plugin.h>

namespace orvane::clap {

extern const clap_plugin_descriptor_t kDescriptor;

} // namespace orvane::clap
