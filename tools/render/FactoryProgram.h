// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting a factory program the way a host restoring parameters does: the program's name in
// the name slots, then a program change.
#pragma once

#include "tools/testhost/TestHost.h"

#include <optional>
#include <string>

// The factory program a --program argument names: its number or its name, in any case.
std::optional<int> factoryProgramFromArgument(const std::string& argument);
std::string factoryProgramName(int program);
// Loads the program into the effect; false when the effect reports another one.
bool selectFactoryProgram(orvane::testhost::Plugin& plugin, int program);
