// SPDX-License-Identifier: GPL-3.0-or-later
// Which Orvane.so orvane-render loads when --plugin is not given.
#pragma once

#include <string>

// The first existing of: Orvane.so beside the program (a build tree), the package's module
// (bin/../lib/vst), the per-user install's ($VST_PATH's first folder, then ~/.vst). When none
// exists, the module this tool was built with, so the error names a concrete path.
std::string defaultModulePath();
