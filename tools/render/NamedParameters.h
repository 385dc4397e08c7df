// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's sound parameters by the names and texts a host shows: --set and --list-params.
// Everything goes through the module's own entry points; the tool knows no conversions.
#pragma once

#include "tools/render/RenderOptions.h"
#include "tools/testhost/TestHost.h"

#include <string>

// Applies one --set, throwing UsageError for an unknown name or a value the parameter cannot take.
void applySetting(orvane::testhost::Plugin& plugin, const std::string& name,
                  const std::string& value);
// One line per sound parameter: name, range and current readout.
std::string parameterList(orvane::testhost::Plugin& plugin);
