// SPDX-License-Identifier: GPL-3.0-or-later
// The module's plug-in factory: the component and the controller class.
#pragma once

#include "travesty/factory.h"

namespace orvane::vst3 {

// The one factory of the module (static; references do not end it).
v3_plugin_factory** pluginFactory();

} // namespace orvane::vst3
