// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/ClassIds.h"

namespace orvane::vst3 {

// "VST" / "VSE", the unique id "HKOV", then "orvane" padded with zeros to nine bytes.
const v3_tuid kComponentClass = {'V', 'S', 'T', 'H', 'K', 'O', 'V', 'o',
                                 'r', 'v', 'a', 'n', 'e', 0,   0,   0};
const v3_tuid kControllerClass = {'V', 'S', 'E', 'H', 'K', 'O', 'V', 'o',
                                  'r', 'v', 'a', 'n', 'e', 0,   0,   0};

} // namespace orvane::vst3
