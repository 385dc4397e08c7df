// SPDX-License-Identifier: GPL-3.0-or-later
// Where the user manual is: the plug-in may be installed by the package or per user.
#pragma once

#include <cstddef>

constexpr const char* kManualFileName = "HK_Orvane_Manual.pdf";

// Writes the first readable file of: $ORVANE_MANUAL_PATH, the per-user install's
// $XDG_DATA_HOME/doc/orvane/ (default ~/.local/share), then packagePath. When none is readable,
// writes packagePath, so the manual button quietly finds nothing. out is always terminated.
void findManual(const char* packagePath, char* out, std::size_t capacity);
