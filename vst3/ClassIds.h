// SPDX-License-Identifier: GPL-3.0-or-later
// The two classes the module offers. The component's id follows the convention hosts use to
// find the VST3 successor of a VST 2 plug-in ("VST", the VST 2 unique id, the lower-case
// name; "VSE" for the controller), so such hosts can replace a saved VST 2.4 instance.
#pragma once

#include "travesty/base.h"

namespace orvane::vst3 {

extern const v3_tuid kComponentClass;
extern const v3_tuid kControllerClass;

} // namespace orvane::vst3
